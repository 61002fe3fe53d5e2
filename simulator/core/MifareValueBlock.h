#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zentrava {

// The standard value-block format of Mifare Standard cards: the value (4 bytes, least
// significant first), its inverse, the value again, then the address byte, its inverse, the
// address and its inverse. Increment, decrement and restore work only on blocks in this format.
class MifareValueBlock {
public:
    static std::array<uint8_t, 16> encode(int32_t value, uint8_t address);
    // Nothing when the block is not in value format.
    static std::optional<int32_t> decode(const uint8_t *block);
    // The address byte of a block in value format.
    static uint8_t address(const uint8_t *block) { return block[12]; }
};

} // namespace zentrava
