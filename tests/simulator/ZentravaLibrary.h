#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>

// The entries the tests call: name, ordinal and type, declared and bound from this one list.
#define ZENTRAVA_ENTRIES(X) \
    X(lib_ver, 1, int32_t(uint32_t *)) \
    X(rf_init_com, 4, int32_t(int32_t, int32_t)) \
    X(rf_init_device_number, 5, int32_t(uint16_t)) \
    X(rf_get_device_number, 6, int32_t(uint8_t *)) \
    X(rf_get_model, 7, int32_t(uint16_t, uint8_t *, uint8_t *)) \
    X(rf_beep, 9, int32_t(uint16_t, uint8_t)) \
    X(rf_init_type, 13, int32_t(uint16_t, uint8_t)) \
    X(rf_antenna_sta, 14, int32_t(uint16_t, uint8_t)) \
    X(rf_request, 15, int32_t(uint16_t, uint8_t, uint8_t *)) \
    X(rf_anticoll, 16, int32_t(uint16_t, uint8_t, uint8_t *, uint8_t *)) \
    X(rf_select, 17, int32_t(uint16_t, const uint8_t *, uint8_t, uint8_t *)) \
    X(rf_halt, 18, int32_t(uint16_t)) \
    X(rf_M1_authentication2, 21, int32_t(uint16_t, uint8_t, uint8_t, const uint8_t *)) \
    X(rf_M1_read, 22, int32_t(uint16_t, uint8_t, uint8_t *, uint8_t *)) \
    X(rf_M1_write, 23, int32_t(uint16_t, uint8_t, const uint8_t *)) \
    X(rf_M1_initval, 24, int32_t(uint16_t, uint8_t, int32_t)) \
    X(rf_M1_readval, 25, int32_t(uint16_t, uint8_t, int32_t *)) \
    X(rf_M1_decrement, 26, int32_t(uint16_t, uint8_t, int32_t)) \
    X(rf_M1_increment, 27, int32_t(uint16_t, uint8_t, int32_t)) \
    X(rf_typea_rst, 30, int32_t(uint16_t, uint8_t, uint8_t *, uint8_t *)) \
    X(rf_cos_command, 31, int32_t(uint16_t, const uint8_t *, int32_t, uint8_t *, uint8_t *)) \
    X(rf_light, 42, int32_t(uint16_t, uint8_t)) \
    X(rf_cl_deselect, 43, int32_t(uint16_t)) \
    X(rf_close_com, 45, int32_t()) \
    X(rf_ul_select, 56, int32_t(uint16_t, uint8_t *, uint8_t *)) \
    X(rf_ul_write, 57, int32_t(uint16_t, uint8_t, const uint8_t *)) \
    X(rf_Shc1102_Auth, 360, int32_t(uint16_t, const uint8_t *)) \
    X(rf_Shc1102_Read, 361, int32_t(uint16_t, uint8_t, uint8_t *, uint8_t *)) \
    X(rf_Shc1102_Write, 362, int32_t(uint16_t, uint8_t, const uint8_t *)) \
    X(ReadTime, 381, int32_t(uint16_t, uint8_t *, uint8_t *)) \
    X(WriteTime, 382, int32_t(uint16_t, const uint8_t *)) \
    X(rf_DESFire_rst, 410, int32_t(uint16_t, uint8_t, uint8_t *, uint8_t *))

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

#define ZENTRAVA_DECLARE(name, ordinal, type) std::add_pointer_t<type> name = nullptr;
    ZENTRAVA_ENTRIES(ZENTRAVA_DECLARE)
#undef ZENTRAVA_DECLARE

private:
    ZentravaLibrary() : m_handle(dlopen(path().c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle)
            throw std::runtime_error(std::string("cannot load libZentrava.so: ") + dlerror());
#define ZENTRAVA_BIND(name, ordinal, type) bind(name, ordinal);
        ZENTRAVA_ENTRIES(ZENTRAVA_BIND)
#undef ZENTRAVA_BIND
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
