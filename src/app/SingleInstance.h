#pragma once

#include <QString>

// Keeps a second copy of the program from running: the first copy holds a lock named after the
// program for its whole life (a named mutex on Windows, a file lock in the user's runtime folder
// elsewhere), and any later copy fails to take it.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this copy holds the lock; false when another copy holds it.
    bool acquire();
    void release();

    // Where the lock lives on this system (the lock file outside Windows).
    QString lockPath() const { return m_path; }

private:
    QString m_name;
    QString m_path;
#ifdef _WIN32
    void *m_mutex = nullptr;
#else
    int m_fd = -1;
#endif
};
