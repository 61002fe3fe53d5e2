#pragma once

#include <cstdint>
#include <optional>

namespace zentrava {

// The radio modes that rf_init_type switches between; a card answers only in its own mode.
enum class RadioMode : uint8_t {
    Iso14443A = 0x41, // 'A'
    Iso14443B = 0x42, // 'B'
    Iso15693 = 0x31,  // '1'
    At88rf020 = 0x72, // 'r'
    StMicro = 0x73,   // 's': SR176 and SRIX4K
    // Not radio modes: the reader's contact slot and SAM slot. rf_init_type never selects them,
    // so their cards answer no request, and the field's resets leave them alone.
    ContactSlot = 0xC0,
    SamSlot = 0xC1,
};

inline bool isSlot(RadioMode mode)
{
    return mode == RadioMode::ContactSlot || mode == RadioMode::SamSlot;
}

inline std::optional<RadioMode> radioModeFromByte(uint8_t value)
{
    switch (value) {
    case 0x41:
    case 0x42:
    case 0x31:
    case 0x72:
    case 0x73:
        return static_cast<RadioMode>(value);
    default:
        return std::nullopt;
    }
}

} // namespace zentrava
