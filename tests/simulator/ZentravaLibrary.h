#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>

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

    int32_t (*lib_ver)(uint32_t *);
    int32_t (*rf_init_com)(int32_t, int32_t);
    int32_t (*rf_init_device_number)(uint16_t);
    int32_t (*rf_get_device_number)(uint8_t *);
    int32_t (*rf_get_model)(uint16_t, uint8_t *, uint8_t *);
    int32_t (*rf_beep)(uint16_t, uint8_t);
    int32_t (*rf_init_type)(uint16_t, uint8_t);
    int32_t (*rf_antenna_sta)(uint16_t, uint8_t);
    int32_t (*rf_request)(uint16_t, uint8_t, uint8_t *);
    int32_t (*rf_anticoll)(uint16_t, uint8_t, uint8_t *, uint8_t *);
    int32_t (*rf_select)(uint16_t, const uint8_t *, uint8_t, uint8_t *);
    int32_t (*rf_halt)(uint16_t);
    int32_t (*rf_M1_authentication2)(uint16_t, uint8_t, uint8_t, const uint8_t *);
    int32_t (*rf_M1_read)(uint16_t, uint8_t, uint8_t *, uint8_t *);
    int32_t (*rf_M1_write)(uint16_t, uint8_t, const uint8_t *);
    int32_t (*rf_M1_initval)(uint16_t, uint8_t, int32_t);
    int32_t (*rf_M1_readval)(uint16_t, uint8_t, int32_t *);
    int32_t (*rf_M1_decrement)(uint16_t, uint8_t, int32_t);
    int32_t (*rf_M1_increment)(uint16_t, uint8_t, int32_t);
    int32_t (*rf_typea_rst)(uint16_t, uint8_t, uint8_t *, uint8_t *);
    int32_t (*rf_cos_command)(uint16_t, const uint8_t *, int32_t, uint8_t *, uint8_t *);
    int32_t (*rf_light)(uint16_t, uint8_t);
    int32_t (*rf_cl_deselect)(uint16_t);
    int32_t (*rf_close_com)();
    int32_t (*rf_ul_select)(uint16_t, uint8_t *, uint8_t *);
    int32_t (*rf_ul_write)(uint16_t, uint8_t, const uint8_t *);
    int32_t (*rf_Shc1102_Auth)(uint16_t, const uint8_t *);
    int32_t (*rf_Shc1102_Read)(uint16_t, uint8_t, uint8_t *, uint8_t *);
    int32_t (*rf_Shc1102_Write)(uint16_t, uint8_t, const uint8_t *);
    int32_t (*ReadTime)(uint16_t, uint8_t *, uint8_t *);
    int32_t (*WriteTime)(uint16_t, const uint8_t *);
    int32_t (*rf_DESFire_rst)(uint16_t, uint8_t, uint8_t *, uint8_t *);

private:
    ZentravaLibrary() : m_handle(dlopen(path().c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle)
            throw std::runtime_error(std::string("cannot load libZentrava.so: ") + dlerror());
        bind(lib_ver, 1);
        bind(rf_init_com, 4);
        bind(rf_init_device_number, 5);
        bind(rf_get_device_number, 6);
        bind(rf_get_model, 7);
        bind(rf_beep, 9);
        bind(rf_init_type, 13);
        bind(rf_antenna_sta, 14);
        bind(rf_request, 15);
        bind(rf_anticoll, 16);
        bind(rf_select, 17);
        bind(rf_halt, 18);
        bind(rf_M1_authentication2, 21);
        bind(rf_M1_read, 22);
        bind(rf_M1_write, 23);
        bind(rf_M1_initval, 24);
        bind(rf_M1_readval, 25);
        bind(rf_M1_decrement, 26);
        bind(rf_M1_increment, 27);
        bind(rf_typea_rst, 30);
        bind(rf_cos_command, 31);
        bind(rf_light, 42);
        bind(rf_cl_deselect, 43);
        bind(rf_close_com, 45);
        bind(rf_ul_select, 56);
        bind(rf_ul_write, 57);
        bind(rf_Shc1102_Auth, 360);
        bind(rf_Shc1102_Read, 361);
        bind(rf_Shc1102_Write, 362);
        bind(ReadTime, 381);
        bind(WriteTime, 382);
        bind(rf_DESFire_rst, 410);
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
