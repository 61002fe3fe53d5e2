#pragma once

#include <cstdint>

// The statuses of the PC/SC reader library besides the two families it passes through unchanged:
// PC/SC errors (0x8010xxxx, as the resource manager returns them) and the status word of a failed
// class-FF command (0x6300 wrong key, 0x6982 not authenticated, ...). These small values collide
// with neither; where a meaning is the simulated reader's too, so is the number.
namespace pcscstatus {

inline constexpr int32_t Ok = 0x00;
// No card of the kind the call needs: none found by a request yet, a card of another family in
// the field, or not the serial number asked for.
inline constexpr int32_t NoCard = 0x01;
// rf_M1_readval on a block that does not hold the value-block layout.
inline constexpr int32_t NotValueBlock = 0x05;
// A null buffer, a key type other than 0x60/0x61, a command longer than a short APDU.
inline constexpr int32_t WrongParameter = 0x07;
// No rf_init_com yet, or rf_close_com since.
inline constexpr int32_t PortNotOpen = 0x08;
// No reader at that position, or none whose name holds the part asked for.
inline constexpr int32_t NoSuchReader = 0x09;
// Not supported by this reader: a function a generic PC/SC reader cannot carry out.
inline constexpr int32_t NotSupported = 0x0A;
// The reader answered success with fewer than the two bytes of a status word.
inline constexpr int32_t NoStatusWord = 0x0C;
// The card's UID is not as long as the function answers (4 bytes for rf_anticoll and
// rf_typea_rst, 7 for rf_DESFire_rst): a cut UID would be another card's.
inline constexpr int32_t UidLengthDiffers = 0x0D;
// An answer longer than a one-byte length can say (255 bytes).
inline constexpr int32_t AnswerTooLong = 0x0E;
// An unexpected failure inside the library (out of memory); never a normal answer.
inline constexpr int32_t InternalError = 0x0F;

} // namespace pcscstatus
