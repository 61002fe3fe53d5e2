#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "reader/ReaderFunctions.h"

// libZentrava.so loaded from the directory of the running executable and bound by ordinal,
// the way the program binds it; the entries carry the names the program logs.
class ZentravaLibrary {
public:
    static ZentravaLibrary &instance()
    {
        static ZentravaLibrary library;
        return library;
    }

    static std::string programDirectory()
    {
        char path[4096];
        const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        if (length <= 0)
            throw std::runtime_error("cannot find the running executable");
        std::string directory(path, static_cast<std::size_t>(length));
        return directory.substr(0, directory.find_last_of('/'));
    }

    void *symbol(int ordinal) const { return dlsym(m_handle, ("Zentrava_" + std::to_string(ordinal)).c_str()); }
    void *handle() const { return m_handle; }
    std::string path() const { return programDirectory() + "/libZentrava.so"; }

    // Every function of the one list, by the name the program logs.
#define ZENTRAVA_DECLARE(ordinal, name, presence, params, args, buffers) int32_t(ZENTRAVA_CALL *name) params = nullptr;
#define ZENTRAVA_NO_ENTRY(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_DECLARE, ZENTRAVA_NO_ENTRY)
#undef ZENTRAVA_DECLARE

private:
    ZentravaLibrary() : m_handle(dlopen(path().c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle)
            throw std::runtime_error(std::string("cannot load libZentrava.so: ") + dlerror());
#define ZENTRAVA_BIND(ordinal, name, presence, params, args, buffers) bind(name, ordinal);
        ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_BIND, ZENTRAVA_NO_ENTRY)
#undef ZENTRAVA_BIND
#undef ZENTRAVA_NO_ENTRY
    }

    template <class Function> void bind(Function &entry, int ordinal)
    {
        void *address = symbol(ordinal);
        if (!address)
            throw std::runtime_error("libZentrava.so lacks ordinal " + std::to_string(ordinal));
        entry = reinterpret_cast<Function>(address);
    }

    void *m_handle;
};
