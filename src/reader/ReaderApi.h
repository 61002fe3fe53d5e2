#pragma once

#include <cstdint>

// Entry points of the reader library use the platform's exported-function convention.
#ifdef _WIN32
#define ZENTRAVA_CALL __stdcall
#else
#define ZENTRAVA_CALL
#endif

// The bound entry points of the reader library, one typed pointer per ordinal, named as the
// program logs them. A pointer is null while no library is bound, and for an optional ordinal
// that the library does not export. Status 0 is success; anything else is shown, never interpreted.
struct ReaderApiTable {
    int32_t(ZENTRAVA_CALL *lib_ver)(uint32_t *version) = nullptr; // 1
    int32_t(ZENTRAVA_CALL *des_encrypt)(uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key, int32_t keyLen) = nullptr; // 2
    int32_t(ZENTRAVA_CALL *des_decrypt)(uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key, int32_t keyLen) = nullptr; // 3
    int32_t(ZENTRAVA_CALL *rf_init_com)(int32_t port, int32_t baud) = nullptr; // 4
    int32_t(ZENTRAVA_CALL *rf_init_device_number)(uint16_t deviceNumber) = nullptr; // 5
    int32_t(ZENTRAVA_CALL *rf_get_device_number)(uint8_t *deviceNumber) = nullptr; // 6
    int32_t(ZENTRAVA_CALL *rf_get_model)(uint16_t icdev, uint8_t *text, uint8_t *len) = nullptr; // 7
    int32_t(ZENTRAVA_CALL *ordinal8)() = nullptr; // 8: bound, never called
    int32_t(ZENTRAVA_CALL *rf_beep)(uint16_t icdev, uint8_t tensOfMs) = nullptr; // 9
    int32_t(ZENTRAVA_CALL *rf_init_sam)(uint16_t icdev, uint8_t baudCode) = nullptr; // 10
    int32_t(ZENTRAVA_CALL *rf_sam_rst)(uint16_t icdev, uint8_t *answer, uint8_t *len) = nullptr; // 11
    int32_t(ZENTRAVA_CALL *rf_sam_cos)(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len) = nullptr; // 12
    int32_t(ZENTRAVA_CALL *rf_init_type)(uint16_t icdev, uint8_t type) = nullptr; // 13
    int32_t(ZENTRAVA_CALL *rf_antenna_sta)(uint16_t icdev, uint8_t on) = nullptr; // 14
    int32_t(ZENTRAVA_CALL *rf_request)(uint16_t icdev, uint8_t mode, uint8_t *tagType) = nullptr; // 15
    int32_t(ZENTRAVA_CALL *rf_anticoll)(uint16_t icdev, uint8_t bitCount, uint8_t *serial, uint8_t *len) = nullptr; // 16
    int32_t(ZENTRAVA_CALL *rf_select)(uint16_t icdev, const uint8_t *serial, uint8_t serialLen, uint8_t *size) = nullptr; // 17
    int32_t(ZENTRAVA_CALL *rf_halt)(uint16_t icdev) = nullptr; // 18
    int32_t(ZENTRAVA_CALL *ordinal19)() = nullptr; // 19: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal20)() = nullptr; // 20: bound, never called
    int32_t(ZENTRAVA_CALL *rf_M1_authentication2)(uint16_t icdev, uint8_t mode, uint8_t block, const uint8_t *key) = nullptr; // 21
    int32_t(ZENTRAVA_CALL *rf_M1_read)(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len) = nullptr; // 22
    int32_t(ZENTRAVA_CALL *rf_M1_write)(uint16_t icdev, uint8_t block, const uint8_t *data) = nullptr; // 23
    int32_t(ZENTRAVA_CALL *rf_M1_initval)(uint16_t icdev, uint8_t block, int32_t value) = nullptr; // 24
    int32_t(ZENTRAVA_CALL *rf_M1_readval)(uint16_t icdev, uint8_t block, int32_t *value) = nullptr; // 25
    int32_t(ZENTRAVA_CALL *rf_M1_decrement)(uint16_t icdev, uint8_t block, int32_t amount) = nullptr; // 26
    int32_t(ZENTRAVA_CALL *rf_M1_increment)(uint16_t icdev, uint8_t block, int32_t amount) = nullptr; // 27
    int32_t(ZENTRAVA_CALL *ordinal28)() = nullptr; // 28: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal29)() = nullptr; // 29: bound, never called
    int32_t(ZENTRAVA_CALL *rf_typea_rst)(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len) = nullptr; // 30
    int32_t(ZENTRAVA_CALL *rf_cos_command)(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len) = nullptr; // 31
    int32_t(ZENTRAVA_CALL *rf_atqb)(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len) = nullptr; // 32
    int32_t(ZENTRAVA_CALL *ordinal33)() = nullptr; // 33: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal34)() = nullptr; // 34: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal35)() = nullptr; // 35: bound, never called
    int32_t(ZENTRAVA_CALL *rf_at020_check)(uint16_t icdev, const uint8_t *password) = nullptr; // 36
    int32_t(ZENTRAVA_CALL *rf_at020_read)(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len) = nullptr; // 37
    int32_t(ZENTRAVA_CALL *rf_at020_write)(uint16_t icdev, uint8_t page, const uint8_t *data) = nullptr; // 38
    int32_t(ZENTRAVA_CALL *rf_at020_lock)(uint16_t icdev, const uint8_t *lockBytes) = nullptr; // 39
    int32_t(ZENTRAVA_CALL *rf_at020_count)(uint16_t icdev, const uint8_t *signature) = nullptr; // 40
    int32_t(ZENTRAVA_CALL *rf_at020_deselect)(uint16_t icdev) = nullptr; // 41
    int32_t(ZENTRAVA_CALL *rf_light)(uint16_t icdev, uint8_t colour) = nullptr; // 42
    int32_t(ZENTRAVA_CALL *rf_cl_deselect)(uint16_t icdev) = nullptr; // 43
    int32_t(ZENTRAVA_CALL *ordinal44)() = nullptr; // 44: bound, never called
    int32_t(ZENTRAVA_CALL *rf_close_com)(void) = nullptr; // 45
    int32_t(ZENTRAVA_CALL *ordinal46)() = nullptr; // 46: bound, never called
    int32_t(ZENTRAVA_CALL *rf_st_select)(uint16_t icdev, uint8_t *chipId) = nullptr; // 47
    int32_t(ZENTRAVA_CALL *ordinal48)() = nullptr; // 48: bound, never called
    int32_t(ZENTRAVA_CALL *rf_sr176_readblock)(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len) = nullptr; // 49
    int32_t(ZENTRAVA_CALL *rf_sr176_writeblock)(uint16_t icdev, uint8_t block, const uint8_t *data) = nullptr; // 50
    int32_t(ZENTRAVA_CALL *rf_sr176_protectblock)(uint16_t icdev, uint8_t lockRegister) = nullptr; // 51
    int32_t(ZENTRAVA_CALL *rf_srix4k_readblock)(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len) = nullptr; // 52
    int32_t(ZENTRAVA_CALL *rf_srix4k_writeblock)(uint16_t icdev, uint8_t block, const uint8_t *data) = nullptr; // 53
    int32_t(ZENTRAVA_CALL *ordinal54)() = nullptr; // 54: bound, never called
    int32_t(ZENTRAVA_CALL *rf_srix4k_getuid)(uint16_t icdev, uint8_t *uid, uint8_t *len) = nullptr; // 55
    int32_t(ZENTRAVA_CALL *rf_ul_select)(uint16_t icdev, uint8_t *serial, uint8_t *len) = nullptr; // 56
    int32_t(ZENTRAVA_CALL *rf_ul_write)(uint16_t icdev, uint8_t page, const uint8_t *data) = nullptr; // 57
    int32_t(ZENTRAVA_CALL *rf_srix4k_writelockreg)(uint16_t icdev, uint8_t lockRegister) = nullptr; // 58
    int32_t(ZENTRAVA_CALL *ordinal59)() = nullptr; // 59: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal60)() = nullptr; // 60: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal61)() = nullptr; // 61: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal62)() = nullptr; // 62: bound, never called
    int32_t(ZENTRAVA_CALL *ISO15693_Read)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data, uint8_t *len) = nullptr; // 63
    int32_t(ZENTRAVA_CALL *ISO15693_Write)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data) = nullptr; // 64
    int32_t(ZENTRAVA_CALL *ISO15693_Lock_Block)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block) = nullptr; // 65
    int32_t(ZENTRAVA_CALL *ISO15693_Write_AFI)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t afi) = nullptr; // 66
    int32_t(ZENTRAVA_CALL *ISO15693_Lock_AFI)(uint16_t icdev, uint8_t mode, const uint8_t *uid) = nullptr; // 67
    int32_t(ZENTRAVA_CALL *ISO15693_Write_DSFID)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t dsfid) = nullptr; // 68
    int32_t(ZENTRAVA_CALL *ISO15693_Lock_DSFID)(uint16_t icdev, uint8_t mode, const uint8_t *uid) = nullptr; // 69
    int32_t(ZENTRAVA_CALL *ISO15693_Get_System_Information)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t *data, uint8_t *len) = nullptr; // 70
    int32_t(ZENTRAVA_CALL *ISO15693_Get_Block_Security)(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data, uint8_t *len) = nullptr; // 71
    int32_t(ZENTRAVA_CALL *smartcard_rst)(uint16_t icdev, uint8_t *answer, uint8_t *len) = nullptr; // 72
    int32_t(ZENTRAVA_CALL *smartcard_cos)(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len) = nullptr; // 73
    int32_t(ZENTRAVA_CALL *AT24_read)(uint16_t icdev, int32_t address, int32_t count, uint8_t *data) = nullptr; // 74
    int32_t(ZENTRAVA_CALL *AT24_write)(uint16_t icdev, int32_t address, int32_t count, const uint8_t *data) = nullptr; // 75
    int32_t(ZENTRAVA_CALL *AT1608_Rst)(uint16_t icdev, uint8_t *answer) = nullptr; // 76
    int32_t(ZENTRAVA_CALL *AT1608_Authenticate)(uint16_t icdev, const uint8_t *q0AndResponse, const uint8_t *response) = nullptr; // 77
    int32_t(ZENTRAVA_CALL *AT1608_VerifyPassword)(uint16_t icdev, uint8_t index, const uint8_t *password) = nullptr; // 78
    int32_t(ZENTRAVA_CALL *AT1608_Read)(uint16_t icdev, uint8_t address, int32_t count, int32_t zone, uint8_t *data) = nullptr; // 79
    int32_t(ZENTRAVA_CALL *AT1608_Write)(uint16_t icdev, uint8_t address, int32_t zone, const uint8_t *data, int32_t count) = nullptr; // 80
    int32_t(ZENTRAVA_CALL *AT1608_ReadFuse1)(uint16_t icdev, uint8_t *fuse) = nullptr; // 81
    int32_t(ZENTRAVA_CALL *AT1608_WriteFuse1)(uint16_t icdev) = nullptr; // 82
    int32_t(ZENTRAVA_CALL *OpenCard)(uint16_t icdev) = nullptr; // 100
    int32_t(ZENTRAVA_CALL *ordinal101)() = nullptr; // 101: bound, never called
    int32_t(ZENTRAVA_CALL *rf_Shc1102_Auth)(uint16_t icdev, const uint8_t *password) = nullptr; // 360
    int32_t(ZENTRAVA_CALL *rf_Shc1102_Read)(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len) = nullptr; // 361
    int32_t(ZENTRAVA_CALL *rf_Shc1102_Write)(uint16_t icdev, uint8_t block, const uint8_t *data) = nullptr; // 362
    int32_t(ZENTRAVA_CALL *ReadTime)(uint16_t icdev, uint8_t *clock, uint8_t *len) = nullptr; // 381
    int32_t(ZENTRAVA_CALL *WriteTime)(uint16_t icdev, const uint8_t *clock) = nullptr; // 382
    int32_t(ZENTRAVA_CALL *ordinal380)() = nullptr; // 380: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal383)() = nullptr; // 383: bound, never called
    int32_t(ZENTRAVA_CALL *ISO15693_Inventorys)(uint16_t icdev, uint8_t *records, uint8_t *len) = nullptr; // 400
    int32_t(ZENTRAVA_CALL *Srf55vp_Read)(uint16_t icdev, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len) = nullptr; // 401
    int32_t(ZENTRAVA_CALL *ordinal402)() = nullptr; // 402: bound, never called
    int32_t(ZENTRAVA_CALL *ordinal403)() = nullptr; // 403: bound, never called
    int32_t(ZENTRAVA_CALL *Srf55vp_Write_Reread)(uint16_t icdev, const uint8_t *uid, uint8_t page, const uint8_t *data, uint8_t *readBack, uint8_t *len) = nullptr; // 404
    int32_t(ZENTRAVA_CALL *rf_DESFire_rst)(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len) = nullptr; // 410
    int32_t(ZENTRAVA_CALL *ordinal420)() = nullptr; // 420: bound, never called
    int32_t(ZENTRAVA_CALL *rf_transceive1)(uint16_t icdev, const uint8_t *data, int32_t count, uint8_t *answer, uint8_t *len) = nullptr; // 421
    int32_t(ZENTRAVA_CALL *ordinal422)() = nullptr; // 422: bound, never called
    int32_t(ZENTRAVA_CALL *rf_thr1064_read)(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len) = nullptr; // 430
    int32_t(ZENTRAVA_CALL *rf_thr1064_write)(uint16_t icdev, uint8_t page, const uint8_t *data, uint8_t count) = nullptr; // 431
    int32_t(ZENTRAVA_CALL *rf_thr1064_check)(uint16_t icdev, const uint8_t *key) = nullptr; // 432
};

// Process-wide table, set once by binding; tests may point entries at fakes.
extern ReaderApiTable ReaderApi;

// One row of the binding order: the ordinal, whether start-up requires it, and where it goes.
struct ReaderEntryBinding {
    int ordinal;
    bool required;
    void (*store)(ReaderApiTable &table, void *address);
};

// Every ordinal the program binds, in the order it looks them up.
extern const ReaderEntryBinding ReaderEntryBindings[103];

