#pragma once

#include <cstdint>

// The codes the ISO 14443 type A pages pass to the reader.
inline constexpr uint8_t RequestAll = 0x52;  // every card in the field, halted ones too
inline constexpr uint8_t RequestIdle = 0x26; // only cards that are not halted
inline constexpr uint8_t TypeA = 'A';        // rf_init_type: the type A radio mode
