#pragma once

// The one list of the reader library's functions, in the order the program looks them up.
// Everything that names a reader function is generated from it: the program's table of bound
// entry points and its binder, the simulated reader's exported symbols (whose types are checked
// against these signatures when the simulator is compiled), the recording fake of the tests.
// Adding a function is one line here plus its implementations.
//
// X(ordinal, name, presence, (parameters)): a function the program calls, named as the log
//   shows it; every function returns an int32_t status, 0 for success.
// P(ordinal, presence): an ordinal that is bound but never called; its signature is unknown,
//   so an implementation exports it as int32_t(void).
// presence: Required (start-up refuses a library without it) or Optional.
//
// Only <cstdint> types appear, so that the simulator can include this file without Qt.

#include <cstdint>

// Entry points of the reader library use the platform's exported-function convention.
#ifdef _WIN32
#define ZENTRAVA_CALL __stdcall
#else
#define ZENTRAVA_CALL
#endif

// How many ordinals the program binds.
inline constexpr int ReaderOrdinalCount = 103;

#define ZENTRAVA_READER_FUNCTIONS(X, P) \
    X(1, lib_ver, Required, (uint32_t *version)) \
    X(2, des_encrypt, Required, (uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key, int32_t keyLen)) \
    X(3, des_decrypt, Required, (uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key, int32_t keyLen)) \
    X(4, rf_init_com, Required, (int32_t port, int32_t baud)) \
    X(5, rf_init_device_number, Required, (uint16_t deviceNumber)) \
    X(6, rf_get_device_number, Required, (uint8_t *deviceNumber)) \
    X(7, rf_get_model, Required, (uint16_t icdev, uint8_t *text, uint8_t *len)) \
    P(8, Optional) \
    X(9, rf_beep, Required, (uint16_t icdev, uint8_t tensOfMs)) \
    X(10, rf_init_sam, Required, (uint16_t icdev, uint8_t baudCode)) \
    X(11, rf_sam_rst, Required, (uint16_t icdev, uint8_t *answer, uint8_t *len)) \
    X(12, rf_sam_cos, Required, (uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len)) \
    X(13, rf_init_type, Required, (uint16_t icdev, uint8_t type)) \
    X(14, rf_antenna_sta, Required, (uint16_t icdev, uint8_t on)) \
    X(15, rf_request, Required, (uint16_t icdev, uint8_t mode, uint8_t *tagType)) \
    X(16, rf_anticoll, Required, (uint16_t icdev, uint8_t bitCount, uint8_t *serial, uint8_t *len)) \
    X(17, rf_select, Required, (uint16_t icdev, const uint8_t *serial, uint8_t serialLen, uint8_t *size)) \
    X(18, rf_halt, Required, (uint16_t icdev)) \
    P(19, Required) \
    P(20, Required) \
    X(21, rf_M1_authentication2, Required, (uint16_t icdev, uint8_t mode, uint8_t block, const uint8_t *key)) \
    X(22, rf_M1_read, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)) \
    X(23, rf_M1_write, Required, (uint16_t icdev, uint8_t block, const uint8_t *data)) \
    X(24, rf_M1_initval, Required, (uint16_t icdev, uint8_t block, int32_t value)) \
    X(25, rf_M1_readval, Required, (uint16_t icdev, uint8_t block, int32_t *value)) \
    X(26, rf_M1_decrement, Required, (uint16_t icdev, uint8_t block, int32_t amount)) \
    X(27, rf_M1_increment, Required, (uint16_t icdev, uint8_t block, int32_t amount)) \
    P(28, Required) \
    P(29, Required) \
    X(30, rf_typea_rst, Required, (uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)) \
    X(31, rf_cos_command, Required, (uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len)) \
    X(32, rf_atqb, Required, (uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)) \
    P(33, Required) \
    P(34, Required) \
    P(35, Required) \
    X(36, rf_at020_check, Required, (uint16_t icdev, const uint8_t *password)) \
    X(37, rf_at020_read, Required, (uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len)) \
    X(38, rf_at020_write, Required, (uint16_t icdev, uint8_t page, const uint8_t *data)) \
    X(39, rf_at020_lock, Required, (uint16_t icdev, const uint8_t *lockBytes)) \
    X(40, rf_at020_count, Required, (uint16_t icdev, const uint8_t *signature)) \
    X(41, rf_at020_deselect, Required, (uint16_t icdev)) \
    X(42, rf_light, Required, (uint16_t icdev, uint8_t colour)) \
    X(43, rf_cl_deselect, Required, (uint16_t icdev)) \
    P(44, Required) \
    X(45, rf_close_com, Required, ()) \
    P(46, Required) \
    X(47, rf_st_select, Required, (uint16_t icdev, uint8_t *chipId)) \
    P(48, Required) \
    X(49, rf_sr176_readblock, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)) \
    X(50, rf_sr176_writeblock, Required, (uint16_t icdev, uint8_t block, const uint8_t *data)) \
    X(51, rf_sr176_protectblock, Required, (uint16_t icdev, uint8_t lockRegister)) \
    X(52, rf_srix4k_readblock, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)) \
    X(53, rf_srix4k_writeblock, Required, (uint16_t icdev, uint8_t block, const uint8_t *data)) \
    P(54, Required) \
    X(55, rf_srix4k_getuid, Required, (uint16_t icdev, uint8_t *uid, uint8_t *len)) \
    X(56, rf_ul_select, Required, (uint16_t icdev, uint8_t *serial, uint8_t *len)) \
    X(57, rf_ul_write, Required, (uint16_t icdev, uint8_t page, const uint8_t *data)) \
    X(58, rf_srix4k_writelockreg, Required, (uint16_t icdev, uint8_t lockRegister)) \
    P(59, Required) \
    P(60, Required) \
    P(61, Required) \
    P(62, Required) \
    X(63, ISO15693_Read, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data, uint8_t *len)) \
    X(64, ISO15693_Write, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data)) \
    X(65, ISO15693_Lock_Block, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block)) \
    X(66, ISO15693_Write_AFI, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t afi)) \
    X(67, ISO15693_Lock_AFI, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid)) \
    X(68, ISO15693_Write_DSFID, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t dsfid)) \
    X(69, ISO15693_Lock_DSFID, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid)) \
    X(70, ISO15693_Get_System_Information, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t *data, uint8_t *len)) \
    X(71, ISO15693_Get_Block_Security, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data, uint8_t *len)) \
    X(72, smartcard_rst, Required, (uint16_t icdev, uint8_t *answer, uint8_t *len)) \
    X(73, smartcard_cos, Required, (uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len)) \
    X(74, AT24_read, Required, (uint16_t icdev, int32_t address, int32_t count, uint8_t *data)) \
    X(75, AT24_write, Required, (uint16_t icdev, int32_t address, int32_t count, const uint8_t *data)) \
    X(76, AT1608_Rst, Required, (uint16_t icdev, uint8_t *answer)) \
    X(77, AT1608_Authenticate, Required, (uint16_t icdev, const uint8_t *q0AndResponse, const uint8_t *response)) \
    X(78, AT1608_VerifyPassword, Required, (uint16_t icdev, uint8_t index, const uint8_t *password)) \
    X(79, AT1608_Read, Required, (uint16_t icdev, uint8_t address, int32_t count, int32_t zone, uint8_t *data)) \
    X(80, AT1608_Write, Required, (uint16_t icdev, uint8_t address, int32_t zone, const uint8_t *data, int32_t count)) \
    X(81, AT1608_ReadFuse1, Required, (uint16_t icdev, uint8_t *fuse)) \
    X(82, AT1608_WriteFuse1, Required, (uint16_t icdev)) \
    X(100, OpenCard, Required, (uint16_t icdev)) \
    P(101, Required) \
    X(360, rf_Shc1102_Auth, Required, (uint16_t icdev, const uint8_t *password)) \
    X(361, rf_Shc1102_Read, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)) \
    X(362, rf_Shc1102_Write, Required, (uint16_t icdev, uint8_t block, const uint8_t *data)) \
    X(381, ReadTime, Required, (uint16_t icdev, uint8_t *clock, uint8_t *len)) \
    X(382, WriteTime, Required, (uint16_t icdev, const uint8_t *clock)) \
    P(380, Optional) \
    P(383, Optional) \
    X(400, ISO15693_Inventorys, Required, (uint16_t icdev, uint8_t *records, uint8_t *len)) \
    X(401, Srf55vp_Read, Required, (uint16_t icdev, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len)) \
    P(402, Required) \
    P(403, Required) \
    X(404, Srf55vp_Write_Reread, Required, (uint16_t icdev, const uint8_t *uid, uint8_t page, const uint8_t *data, uint8_t *readBack, uint8_t *len)) \
    X(410, rf_DESFire_rst, Optional, (uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)) \
    P(420, Required) \
    X(421, rf_transceive1, Optional, (uint16_t icdev, const uint8_t *data, int32_t count, uint8_t *answer, uint8_t *len)) \
    P(422, Optional) \
    X(430, rf_thr1064_read, Required, (uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len)) \
    X(431, rf_thr1064_write, Required, (uint16_t icdev, uint8_t page, const uint8_t *data, uint8_t count)) \
    X(432, rf_thr1064_check, Required, (uint16_t icdev, const uint8_t *key))
