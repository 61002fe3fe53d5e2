#include "reader/ReaderLibrary.h"

#include "base/ProgramDirectory.h"

#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

bool BindReaderApi(const OrdinalResolver &resolve, ReaderApiTable &table)
{
    bool complete = true;
    for (const ReaderEntryBinding &entry : ReaderEntryBindings) {
        void *address = resolve(entry.ordinal);
        entry.store(table, address);
        if (entry.required && address == nullptr)
            complete = false;
    }
    return complete;
}

ReaderLibrary::~ReaderLibrary()
{
    free();
}

QString ReaderLibrary::fileName()
{
#ifdef _WIN32
    return QStringLiteral("Zentrava.dll");
#else
    return QStringLiteral("libZentrava.so");
#endif
}

QString ReaderLibrary::defaultPath()
{
    return ProgramFilePath(fileName());
}

QString ReaderLibrary::pathFor(const QString &choice)
{
    if (choice.isEmpty())
        return {};
    if (choice == QLatin1String("simulated"))
        return defaultPath();
    if (choice == QLatin1String("pcsc"))
        return ProgramFilePath(QStringLiteral("readers/pcsc/") + fileName());
    return QFileInfo(choice).absoluteFilePath();
}

bool ReaderLibrary::load(const QString &fullPath)
{
    free();
    // Only a regular file: loading a pipe of that name would wait for a writer forever.
    if (!QFileInfo(fullPath).isFile())
        return false;
#ifdef _WIN32
    // A full path keeps the loader off the search path; the altered search order makes the
    // library's own dependencies resolve from its folder too.
    const std::wstring path = fullPath.toStdWString();
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr)
        return false;
    m_handle = module;
    const OrdinalResolver resolve = [module](int ordinal) -> void * {
        return reinterpret_cast<void *>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal)));
    };
#else
    // dlopen() with a slash in the name never consults LD_LIBRARY_PATH or the system paths.
    const QByteArray path = QFile::encodeName(fullPath);
    if (!path.contains('/'))
        return false;
    void *handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return false;
    m_handle = handle;
    const OrdinalResolver resolve = [handle](int ordinal) -> void * {
        const QByteArray symbol = "Zentrava_" + QByteArray::number(ordinal);
        return dlsym(handle, symbol.constData());
    };
#endif
    ReaderApiTable bound;
    const bool complete = BindReaderApi(resolve, bound);
    ReaderApi = bound;
    return complete;
}

void ReaderLibrary::free()
{
    if (m_handle == nullptr)
        return;
    ReaderApi = ReaderApiTable{};
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(m_handle));
#else
    dlclose(m_handle);
#endif
    m_handle = nullptr;
}
