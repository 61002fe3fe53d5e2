#include "app/SingleInstance.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

SingleInstance::SingleInstance(const QString &name)
    : m_name(name)
{
#ifdef _WIN32
    m_path = name;
#else
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(runtime).exists())
        runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    m_path = QDir(runtime).filePath(name + QStringLiteral(".lock"));
#endif
}

SingleInstance::~SingleInstance()
{
    release();
}

#ifdef _WIN32

bool SingleInstance::acquire()
{
    if (m_mutex != nullptr)
        return true;
    const std::wstring name = m_name.toStdWString();
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    // Without a mutex the program cannot tell; it runs rather than refusing to start.
    m_mutex = mutex;
    return true;
}

void SingleInstance::release()
{
    if (m_mutex != nullptr) {
        ReleaseMutex(static_cast<HANDLE>(m_mutex));
        CloseHandle(static_cast<HANDLE>(m_mutex));
        m_mutex = nullptr;
    }
}

#else

bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    // The kernel drops the lock when the process ends, however it ends: no stale lock survives.
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // an unusable runtime folder must not keep the program from starting
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    m_fd = fd;
    return true;
}

void SingleInstance::release()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

#endif
