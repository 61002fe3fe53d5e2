#include "MifareAccessConditions.h"
#include "MifareValueBlock.h"
#include "ReaderFixture.h"

using zentrava::MifareAccessConditions;
using zentrava::MifareValueBlock;

TEST(MifareAccessBits, EveryCombinationRoundTripsAndCorruptionIsDetected)
{
    for (int combination = 0; combination < 8 * 8 * 8 * 8; ++combination) {
        const std::array<uint8_t, 4> groups = {uint8_t(combination & 7), uint8_t(combination >> 3 & 7),
                                               uint8_t(combination >> 6 & 7), uint8_t(combination >> 9 & 7)};
        auto bytes = MifareAccessConditions::encode(groups);
        const auto decoded = MifareAccessConditions::decode(bytes.data());
        ASSERT_TRUE(decoded) << combination;
        for (int g = 0; g < 4; ++g)
            EXPECT_EQ(decoded->group(g), groups[std::size_t(g)]);
        bytes[combination % 3] ^= uint8_t(1 << (combination % 8));
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

class MifareClassicTest : public ReaderFixture {
protected:
    // A trailer with the given keys and C1C2C3 of data groups 0 to 2 and of the trailer.
    static Bytes trailer(const Bytes &keyA, std::array<uint8_t, 4> groups, const Bytes &keyB)
    {
        Bytes block = keyA;
        const auto access = MifareAccessConditions::encode(groups);
        block.insert(block.end(), access.begin(), access.end());
        block.push_back(0x69);
        block.insert(block.end(), keyB.begin(), keyB.end());
        return block;
    }

    const Bytes factoryKey = Bytes(6, 0xFF);
    const Bytes keyB = hex("B0B1B2B3B4B5");
};

// Each size answers the request, the selection and block 0 as its chip does and ends where its
// memory ends; a 4K card's large sectors hold sixteen blocks under one authentication.
TEST_F(MifareClassicTest, EachSizeAnswersAsItsChipAndEndsWithItsMemory)
{
    // The type, ATQA, SAK, block 0 (serial number, its check byte, SAK, ATQA, the manufacturer's data), the last block.
    const std::tuple<const char *, const char *, uint8_t, const char *, uint8_t> cards[] = {
        {"mifare-1k", "0400", 0x08, "01020304040804006263646566676869", 63},
        {"mifare-4k", "0200", 0x18, "01020304041802006263646566676869", 255}};
    uint8_t size = 0;
    for (const auto &[type, atqa, sak, block0, lastBlock] : cards) {
        SCOPED_TRACE(type);
        useField(std::string(R"([{"type": ")") + type + R"(", "Card": {"UID": "01020304"}}])");
        ASSERT_EQ((std::tuple{request(), zentrava::toHex(tagType, 2), api.rf_select(0, hex("01020304").data(), 4, &size), size}),
                  (std::tuple{status::Ok, std::string(atqa), status::Ok, sak}));
        ASSERT_EQ(authenticate(0), status::Ok);
        EXPECT_EQ(readBlock(0).second, hex(block0));
        if (lastBlock < 255) {
            EXPECT_EQ(authenticate(uint8_t(lastBlock + 1)), status::WrongParameter);
        }
        ASSERT_EQ(reselectAndAuthenticate(lastBlock), status::Ok) << "any block names its sector";
        EXPECT_EQ(readBlock(lastBlock), std::make_pair(status::Ok, hex("000000000000FF078069FFFFFFFFFFFF")))
            << "key A never reads back; in the transport configuration key B does";
    }
    ASSERT_EQ(reselectAndAuthenticate(128), status::Ok);
    EXPECT_EQ(api.rf_M1_write(0, 142, Bytes(16, 0x42).data()), status::Ok);
    EXPECT_EQ(readBlock(143).first, status::Ok);
    EXPECT_EQ(readBlock(144).first, status::NotAuthenticated);
}

TEST_F(MifareClassicTest, WrongKeyFailsAndTheCardMustBeSelectedAgain)
{
    EXPECT_EQ(reselectAndAuthenticate(4, KeyA, hex("FFFFFFFFFFFE")), status::AuthFailed) << "every byte of the key counts";
    EXPECT_EQ(readBlock(4).first, status::NoCard);
    // Transport configuration: key B is readable data, so everything under key B is refused.
    ASSERT_EQ(reselectAndAuthenticate(4, KeyB, factoryKey), status::Ok);
    EXPECT_EQ(readBlock(4).first, status::AccessDenied);
}

// Each sector gets a trailer (written under the transport configuration); then every operation
// runs on a fresh selection and authentication with the named key.
TEST_F(MifareClassicTest, AccessBitsGrantExactlyTheOperationsTheyName)
{
    enum Operation { Read, Write, Increment, Decrement };
    using Check = std::tuple<uint8_t, uint8_t, Operation, int32_t>; // block, key, operation, status
    const std::tuple<const char *, uint8_t, std::array<uint8_t, 4>, std::vector<Check>> sectors[] = {
        {"manufacturer block", 0, {0, 0, 0, 1}, {{0, KeyA, Write, status::AccessDenied}}},
        {"block 4 read-only (010), 5 and 6 free", 1, {2, 0, 0, 1},
         {{4, KeyA, Write, status::AccessDenied}, {4, KeyA, Read, status::Ok}, {5, KeyA, Write, status::Ok}}},
        {"data written with key B only (100), keys and access bits too (011)", 2, {4, 4, 4, 3},
         {{8, KeyA, Write, status::AccessDenied}, {8, KeyB, Write, status::Ok}, {8, KeyA, Read, status::Ok},
          {11, KeyA, Write, status::AccessDenied}}},
        {"block 20 decrement only (001), 21 value block (110)", 5, {1, 6, 0, 3},
         {{20, KeyA, Increment, status::AccessDenied}, {20, KeyA, Decrement, status::Ok},
          {20, KeyA, Write, status::AccessDenied}, {21, KeyA, Increment, status::AccessDenied},
          {21, KeyB, Increment, status::Ok}}},
    };
    for (const auto &[conditions, sector, groups, checks] : sectors) {
        SCOPED_TRACE(conditions);
        const uint8_t first = uint8_t(sector * 4);
        ASSERT_EQ(reselectAndAuthenticate(first), status::Ok);
        for (uint8_t block = first; block < first + 3 && block > 0; ++block)
            ASSERT_EQ(api.rf_M1_initval(0, block, 50), status::Ok);
        ASSERT_EQ(api.rf_M1_write(0, first + 3, trailer(factoryKey, groups, keyB).data()), status::Ok);
        for (const auto &[block, key, operation, expected] : checks) {
            ASSERT_EQ(reselectAndAuthenticate(block, key, key == KeyA ? factoryKey : keyB), status::Ok);
            const Bytes data(16, 0x5A);
            const int32_t result = operation == Read        ? readBlock(block).first
                                   : operation == Write     ? api.rf_M1_write(0, block, data.data())
                                   : operation == Increment ? api.rf_M1_increment(0, block, 1)
                                                            : api.rf_M1_decrement(0, block, 1);
            EXPECT_EQ(result, expected) << int(block) << " operation " << operation;
        }
    }
    // A key-B-only trailer hides key B; malformed access bits block the whole sector.
    ASSERT_EQ(reselectAndAuthenticate(8), status::Ok);
    EXPECT_EQ(readBlock(11).second, Bytes(trailer(Bytes(6, 0), {4, 4, 4, 3}, Bytes(6, 0))));
    ASSERT_EQ(reselectAndAuthenticate(16), status::Ok);
    ASSERT_EQ(api.rf_M1_write(0, 19, hex("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF").data()), status::Ok);
    ASSERT_EQ(reselectAndAuthenticate(16), status::Ok);
    EXPECT_EQ(readBlock(16).first, status::AccessDenied);
}

TEST_F(MifareClassicTest, TrailerWriteChangesOnlyThePartsTheConditionsAllow)
{
    ASSERT_EQ(reselectAndAuthenticate(12), status::Ok);
    // Trailer 100: keys written with key B, access bits never.
    ASSERT_EQ(api.rf_M1_write(0, 15, trailer(factoryKey, {0, 0, 0, 4}, keyB).data()), status::Ok);
    ASSERT_EQ(reselectAndAuthenticate(12, KeyB, keyB), status::Ok);
    const Bytes newKeyA = hex("A0A1A2A3A4A5");
    ASSERT_EQ(api.rf_M1_write(0, 15, trailer(newKeyA, {0, 0, 0, 1}, keyB).data()), status::Ok);
    ASSERT_EQ(reselectAndAuthenticate(12, KeyA, newKeyA), status::Ok);
    EXPECT_EQ(readBlock(15).second, trailer(Bytes(6, 0), {0, 0, 0, 4}, Bytes(6, 0)))
        << "the access bits stayed as they were";
}

// The page tests run the purse itself; here what it must refuse and the block it leaves.
TEST_F(MifareClassicTest, ValueBlocksKeepTheirFormatAndRefuseWhatAPurseMustNotDo)
{
    ASSERT_EQ(reselectAndAuthenticate(0), status::Ok);
    ASSERT_EQ(api.rf_M1_decrement(0, 1, 175), status::Ok);
    const auto expected = MifareValueBlock::encode(-75, 1);
    EXPECT_EQ(readBlock(1).second, Bytes(expected.begin(), expected.end())) << "100 - 175, address byte kept";
    ASSERT_EQ(api.rf_M1_initval(0, 1, std::numeric_limits<int32_t>::max()), status::Ok);
    EXPECT_EQ(api.rf_M1_increment(0, 1, 1), status::ValueOverflow);
    ASSERT_EQ(reselectAndAuthenticate(0), status::Ok);
    EXPECT_EQ(api.rf_M1_increment(0, 1, -5), status::WrongParameter);
    ASSERT_EQ(reselectAndAuthenticate(0), status::Ok);
    EXPECT_EQ(api.rf_M1_initval(0, 3, 1), status::AccessDenied) << "a trailer is no purse";
    ASSERT_EQ(reselectAndAuthenticate(0), status::Ok);
    int32_t value = 0;
    EXPECT_EQ((std::pair{api.rf_M1_readval(0, 1, &value), value}), std::pair(status::Ok, std::numeric_limits<int32_t>::max()))
        << "a refused operation changes nothing";
    ASSERT_EQ(reselectAndAuthenticate(4), status::Ok);
    EXPECT_EQ(api.rf_M1_increment(0, 4, 1), status::NotValueBlock) << "block 4 holds data";
}

TEST_F(MifareClassicTest, CardChangesAreWrittenBackOnlyWhenAScenarioFileExists)
{
    ASSERT_EQ(reselectAndAuthenticate(4), status::Ok);
    ASSERT_EQ(api.rf_M1_write(0, 4, Bytes(16, 0x5A).data()), status::Ok);
    EXPECT_FALSE(scenarioExists()) << "no file was asked for";
    useField(R"([{"type": "mifare-1k", "Card": {"UID": "01020304"}}])");
    ASSERT_EQ(reselectAndAuthenticate(4), status::Ok);
    ASSERT_EQ(api.rf_M1_write(0, 5, Bytes(16, 0xA5).data()), status::Ok);
    EXPECT_TRUE(saved(R"("5": "A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5A5")"));
}
