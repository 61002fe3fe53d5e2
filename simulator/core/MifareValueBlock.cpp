#include "MifareValueBlock.h"

namespace zentrava {

std::array<uint8_t, 16> MifareValueBlock::encode(int32_t value, uint8_t address)
{
    const auto raw = static_cast<uint32_t>(value);
    std::array<uint8_t, 16> block{};
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<uint8_t>(raw >> (8 * i));
        block[static_cast<std::size_t>(i)] = byte;
        block[static_cast<std::size_t>(i + 4)] = static_cast<uint8_t>(~byte);
        block[static_cast<std::size_t>(i + 8)] = byte;
    }
    block[12] = address;
    block[13] = static_cast<uint8_t>(~address);
    block[14] = address;
    block[15] = static_cast<uint8_t>(~address);
    return block;
}

std::optional<int32_t> MifareValueBlock::decode(const uint8_t *block)
{
    for (int i = 0; i < 4; ++i) {
        if (block[i] != block[i + 8] || block[i] != static_cast<uint8_t>(~block[i + 4]))
            return std::nullopt;
    }
    if (block[12] != block[14] || block[13] != block[15] || block[12] != static_cast<uint8_t>(~block[13]))
        return std::nullopt;
    const uint32_t raw = static_cast<uint32_t>(block[0]) | static_cast<uint32_t>(block[1]) << 8 |
                         static_cast<uint32_t>(block[2]) << 16 | static_cast<uint32_t>(block[3]) << 24;
    return static_cast<int32_t>(raw);
}

} // namespace zentrava
