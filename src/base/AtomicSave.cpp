#include "base/AtomicSave.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool fail(QString *errorText, const QString &reason)
{
    if (errorText != nullptr)
        *errorText = reason;
    return false;
}

#ifndef _WIN32
// The rename is only durable once the folder's entry is on the disk too.
void syncFolder(const QString &path)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}
#endif

} // namespace

bool SaveFileAtomically(const QString &path, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(errorText, file.errorString());
    // QSaveFile buffers small writes and its commit() does not notice when flushing that buffer
    // fails (a full disk, the file-size limit): it would rename a cut file over the old one.
    // Flush here and give up on any error; an uncommitted QSaveFile discards its temporary file.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        // The device's own text for a failed flush is "Unknown error"; the system's reason
        // ("No space left on device") is what the operator needs.
        const QString reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
        file.cancelWriting();
        return fail(errorText, reason);
    }
    if (!file.commit())
        return fail(errorText, file.errorString());
#ifndef _WIN32
    syncFolder(path);
#endif
    return true;
}
