#include "MemoryDump.h"
#include "MifareAccessConditions.h"
#include "MifareValueBlock.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using zentrava::MemoryDump;
using zentrava::MifareAccessConditions;
using zentrava::MifareValueBlock;

TEST(MifareAccessBits, EveryCombinationRoundTripsAndCorruptionIsDetected)
{
    for (int combination = 0; combination < 8 * 8 * 8 * 8; ++combination) {
        const std::array<uint8_t, 4> groups = {static_cast<uint8_t>(combination & 7), static_cast<uint8_t>(combination >> 3 & 7),
                                               static_cast<uint8_t>(combination >> 6 & 7), static_cast<uint8_t>(combination >> 9 & 7)};
        auto bytes = MifareAccessConditions::encode(groups);
        const auto decoded = MifareAccessConditions::decode(bytes.data());
        ASSERT_TRUE(decoded) << combination;
        for (int g = 0; g < 4; ++g)
            EXPECT_EQ(decoded->group(g), groups[static_cast<std::size_t>(g)]);
        bytes[combination % 3] ^= static_cast<uint8_t>(1 << (combination % 8));
        EXPECT_FALSE(MifareAccessConditions::decode(bytes.data())) << combination;
    }
}

TEST(MifareValueBlockFormat, RoundTripsAndRefusesAnyCorruptedByte)
{
    for (int32_t value : {0, 1, -1, 100, 2147483647, -2147483647 - 1}) {
        const auto block = MifareValueBlock::encode(value, 0x2A);
        EXPECT_EQ(MifareValueBlock::decode(block.data()), value);
        for (std::size_t i = 0; i < block.size(); ++i) {
            auto corrupted = block;
            corrupted[i] ^= 0x10;
            EXPECT_FALSE(MifareValueBlock::decode(corrupted.data())) << value << " byte " << i;
        }
    }
}

// The tool imports an edited text dump; here a damaged one names its line.
TEST(MemoryDumps, EmlTextIsOneBlockPerLineAndAShortLineIsNamed)
{
    EXPECT_EQ(MemoryDump::fromEml("00112233\r\n\n  44556677  \n", 4), (zentrava::Bytes{0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}));
    try {
        MemoryDump::fromEml("00112233\n001122\n", 4);
        ADD_FAILURE() << "a short line was accepted";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
}

} // namespace
