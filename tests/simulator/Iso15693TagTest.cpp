#include "ReaderFixture.h"

constexpr uint8_t Addressed = 2;
constexpr uint8_t AddressedWithOption = 6;

const char *const TwoTagsAndTwoMemories = R"([
    {"type": "icode-sli", "Card": {"UID": "E004010000000001"}, "DSFID": "11", "AFI": "22",
     "blocks": {"3": "CAFEF00D"}, "LockedBlocks": [5]},
    {"type": "tag-it", "Card": {"UID": "E007000000000002"}},
    {"type": "mifare-1k", "Card": {"UID": "0A0B0C0D"}},
    {"type": "srf55v02p", "Card": {"UID": "E005000000000003"}, "blocks": {"31": "0102030405060708"}},
    {"type": "srf55v10p", "Card": {"UID": "E005000000000004"}}
])";

// The tags through the exported entry points, in the ISO 15693 radio mode the pages choose.
class Iso15693TagTest : public ReaderFixture {
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        useField(TwoTagsAndTwoMemories);
        ASSERT_EQ(api.rf_init_type(0, 0x31), status::Ok);
    }

    std::pair<int32_t, Bytes> read(const char *uid, uint8_t first, uint8_t count, uint8_t mode = Addressed)
    {
        return answer(api.ISO15693_Read, mode, hex(uid).data(), first, count);
    }
    Bytes security(const char *uid, uint8_t first, uint8_t count)
    {
        return answer(api.ISO15693_Get_Block_Security, Addressed, hex(uid).data(), first, count).second;
    }
    Bytes information(const char *uid) { return answer(api.ISO15693_Get_System_Information, Addressed, hex(uid).data()).second; }
    int32_t write(const char *uid, uint8_t block, const char *data)
    {
        return api.ISO15693_Write(0, AddressedWithOption, hex(uid).data(), block, hex(data).data());
    }
};

constexpr const char *Sli = "E004010000000001";
constexpr const char *TagIt = "E007000000000002";
constexpr const char *Srf02 = "E005000000000003";

// The pass-through console's raw frames: flags, command, the UID least significant byte first
// when addressed, parameters; the answer's first byte is 00 or 01 and an error code.
TEST_F(Iso15693TagTest, RawFramesReachTheTagsThroughThePassThrough)
{
    const std::string sliOnAir = "01000000000104E0", tagItOnAir = "02000000000007E0";
    const std::tuple<std::string, int32_t, std::string> dialogue[] = {
        {"260100", status::Ok, "0011" + sliOnAir},                       // inventory, one slot
        {"022003", status::Ok, "00CAFEF00D"},                            // read single, first tag
        {"422005", status::Ok, "000100000000"},                          // with its security status
        {"2220" + tagItOnAir + "00", status::Ok, "0000000000"},          // addressed to the Tag-it
        {"2220FFFFFFFFFFFF07E000", status::NoCard, ""},                   // nobody has that UID
        {"02210511223344", status::Ok, "0112"},                          // block 5 is locked
        {"022106AABBCCDD", status::Ok, "00"},
        {"02230501", status::Ok, "0000000000AABBCCDD"},                  // read multiple: 5 and 6
        {"022B", status::Ok, "000F" + sliOnAir + "1122"},                // system information (start)
        {"02AA", status::Ok, "0101"},                                    // not supported
        {"0221", status::Ok, "0102"},                                    // no block number
    };
    for (const auto &[frame, expected, reply] : dialogue) {
        const auto [result, text] = exchange(api.rf_transceive1, frame.c_str());
        EXPECT_EQ(result, expected) << frame;
        EXPECT_EQ(text.substr(0, reply.size()), reply) << frame;
    }
    radio('A');
    EXPECT_EQ(exchange(api.rf_transceive1, "260100").first, status::NoCard) << "type A mode";
}

TEST_F(Iso15693TagTest, SystemInformationBlocksSecurityAndSrf55vPagesFollowTheChip)
{
    EXPECT_EQ(answer(api.ISO15693_Inventorys),
              std::make_pair(status::Ok, hex("00E004010000000001" "00E007000000000002" "00E005000000000003" "00E005000000000004")));
    EXPECT_EQ(information(Sli), hex("0FE004010000000001" "11" "22" "1B03" "01"));
    EXPECT_EQ(information(TagIt).at(11), 63) << "Tag-it: 64 blocks";
    EXPECT_EQ(read(Sli, 14, 14).second.size(), 56u);
    EXPECT_EQ(read(Sli, 28, 14).first, status::WrongParameter) << "the I.CODE SLI ends at block 27";
    EXPECT_EQ(read(TagIt, 56, 8).second.size(), 32u);
    EXPECT_EQ(security(Sli, 0, 28), [] { Bytes s(28, 0); s[5] = 1; return s; }());
    for (const auto &[mode, expected] : {std::pair{2, status::Ok}, {6, status::Ok}, {0, status::WrongParameter}, {0x22, status::WrongParameter}})
        EXPECT_EQ(read(Sli, 0, 1, uint8_t(mode)).first, expected) << mode;
    EXPECT_EQ(read(Srf02, 0, 1).first, status::NoCard) << "the SRF55V answers its own page commands";

    // The page test reads and writes the SRF55V02P; here the two sizes and the read-back's length.
    const Bytes uid = hex(Srf02);
    EXPECT_EQ(answer(api.Srf55vp_Read, uid.data(), 32).first, status::WrongParameter) << "32 pages";
    EXPECT_EQ(answer(api.Srf55vp_Read, hex("E005000000000004").data(), 127).first, status::Ok) << "128 pages";
    EXPECT_EQ(answer(api.Srf55vp_Read, hex(Sli).data(), 0).first, status::NoCard);
    uint8_t readBack[1024] = {};
    uint8_t len = 4;
    EXPECT_EQ(api.Srf55vp_Write_Reread(0, uid.data(), 7, hex("A1A2A3A4A5A6A7A8").data(), readBack, &len), status::WrongParameter);
}

TEST_F(Iso15693TagTest, LocksAreForGoodAndPersist)
{
    EXPECT_EQ(write(Sli, 28, "01020304"), status::WrongParameter);
    ASSERT_EQ(write(Sli, 4, "01020304"), status::Ok);
    const Bytes uid = hex(Sli);
    const uint8_t *const id = uid.data();
    EXPECT_EQ((std::array{api.ISO15693_Lock_Block(0, Addressed, id, 4), api.ISO15693_Lock_Block(0, Addressed, id, 4), write(Sli, 4, "FFFFFFFF")}),
              (std::array{status::Ok, status::AccessDenied, status::AccessDenied}));
    EXPECT_EQ(security(Sli, 4, 2), hex("0101"));
    // AFI and DSFID written, locked, then refused.
    EXPECT_EQ((std::array{api.ISO15693_Write_AFI(0, Addressed, id, 0x33), api.ISO15693_Write_DSFID(0, Addressed, id, 0x44),
                          api.ISO15693_Lock_AFI(0, Addressed, id), api.ISO15693_Lock_DSFID(0, AddressedWithOption, id),
                          api.ISO15693_Write_AFI(0, Addressed, id, 0x55), api.ISO15693_Write_DSFID(0, Addressed, id, 0x55),
                          api.ISO15693_Lock_AFI(0, Addressed, id)}),
              (std::array{status::Ok, status::Ok, status::Ok, status::Ok, status::AccessDenied, status::AccessDenied, status::AccessDenied}));
    EXPECT_EQ(information(Sli), hex("0FE004010000000001" "44" "33" "1B03" "01"));

    // Written back to the scenario: the locks hold after the file is read again.
    for (const char *expected : {"\"AFILocked\": true", "\"DSFIDLocked\": true", "\"AFI\": \"33\"", "\"4\": \"01020304\""})
        EXPECT_TRUE(saved(expected)) << expected;
    writeScenario(readScenario());
    EXPECT_EQ(write(Sli, 4, "00000000"), status::AccessDenied);
}
