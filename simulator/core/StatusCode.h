#pragma once

#include <cstdint>

// The statuses the simulated reader answers. The program shows any non-zero status in hexadecimal
// and never interprets it; the values are ours and are listed in simulator/README.md.
namespace zentrava::status {

inline constexpr int32_t Ok = 0x00;
// No card answers: none in the field, antenna off, another radio mode, card halted or not selected.
inline constexpr int32_t NoCard = 0x01;
// Wrong key or password.
inline constexpr int32_t AuthFailed = 0x02;
// The block or sector needs an authentication first.
inline constexpr int32_t NotAuthenticated = 0x03;
// Access conditions, lock bits or a read-only block forbid the operation.
inline constexpr int32_t AccessDenied = 0x04;
// A value operation on a block that is not in value-block format.
inline constexpr int32_t NotValueBlock = 0x05;
// A value operation whose result would leave the signed 32-bit range.
inline constexpr int32_t ValueOverflow = 0x06;
// Wrong length or parameter: block out of range, bad mode, null buffer, invalid clock.
inline constexpr int32_t WrongParameter = 0x07;
inline constexpr int32_t PortNotOpen = 0x08;
// rf_init_com: the reader is not attached to that port, or the rate is not one it speaks.
inline constexpr int32_t PortUnavailable = 0x09;
// An entry point with no function in this reader.
inline constexpr int32_t NotSupported = 0x0A;
// The reader did not answer the host in time (the operator's time-out fault).
inline constexpr int32_t TimedOut = 0x0B;
// An unexpected failure inside the library (out of memory); never a normal answer.
inline constexpr int32_t InternalError = 0x0F;

} // namespace zentrava::status
