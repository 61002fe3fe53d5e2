#include "base/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

QString &programDirectoryOverride()
{
    static QString folder;
    return folder;
}

} // namespace

void SetProgramDirectoryOverride(const QString &folder)
{
    programDirectoryOverride() = folder;
}

QString ProgramDirectory()
{
    if (!programDirectoryOverride().isEmpty())
        return programDirectoryOverride();
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
#ifdef _WIN32
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return QFileInfo(QString::fromWCharArray(path, int(length))).absolutePath();
#else
    // Before the application object exists, ask the kernel for the executable's path.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
#endif
}

QString ProgramFilePath(const QString &fileName)
{
    return QDir(ProgramDirectory()).filePath(fileName);
}

QString ProgramDataFilePath(const QString &fileName)
{
    const QString besideProgram = ProgramFilePath(fileName);
    if (QFileInfo(ProgramDirectory()).isWritable())
        return besideProgram;
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const QDir folder(data.filePath(QStringLiteral("Vornex")));
    folder.mkpath(QStringLiteral("."));
    const QString userCopy = folder.filePath(fileName);
    if (!QFileInfo::exists(userCopy) && QFileInfo(besideProgram).isFile() && QFile::copy(besideProgram, userCopy))
        QFile::setPermissions(userCopy, QFile::permissions(userCopy) | QFile::WriteOwner);
    return userCopy;
}
