#include "ReaderFixture.h"

namespace {

// The AT88RF020 and the ST tags, through the entry points, as their pages drive them. The page
// tests read, write, lock and count; here the chips' rules at their edges.
class TypeBTagsTest : public ReaderFixture {
protected:
    void radio(uint8_t mode)
    {
        ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
        ASSERT_EQ(api.rf_init_type(0, mode), status::Ok);
        ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
    }
    std::pair<int32_t, Bytes> requestB(uint8_t mode = 0) { return answer(api.rf_atqb, mode); }
    std::pair<int32_t, Bytes> readPage(uint8_t page) { return answer(api.rf_at020_read, page); }
    int32_t check(const char *password = "FFFFFFFFFFFFFFFF") { return api.rf_at020_check(0, hex(password).data()); }
    int32_t writePage(uint8_t page, const char *data) { return api.rf_at020_write(0, page, hex(data).data()); }
    std::pair<int32_t, uint8_t> stSelect()
    {
        uint8_t chipId = 0;
        const int32_t result = api.rf_st_select(0, &chipId);
        return {result, chipId};
    }
    std::pair<int32_t, Bytes> readSrix4k(uint8_t block) { return answer(api.rf_srix4k_readblock, block); }
};

TEST_F(TypeBTagsTest, EachTagAnswersOnlyInItsOwnRadioMode)
{
    // Type A mode (the fixture's): neither kind answers.
    EXPECT_EQ(requestB().first, status::NoCard);
    EXPECT_EQ(stSelect().first, status::NoCard);
    radio(0x73);
    EXPECT_EQ(requestB().first, status::NoCard);
    EXPECT_EQ(stSelect(), std::make_pair(status::Ok, uint8_t(0x76))) << "the SR176 lies above the SRIX4K";
    radio(0x72);
    EXPECT_EQ(stSelect().first, status::NoCard);
    EXPECT_EQ(requestB(), std::make_pair(status::Ok, hex("50A020000100000000007171")));
    EXPECT_EQ(requestB(0x05).first, status::WrongParameter);
}

TEST_F(TypeBTagsTest, At88rf020PasswordLockBitsCounterAndDeselect)
{
    radio(0x72);
    ASSERT_EQ(requestB().first, status::Ok);
    EXPECT_EQ(readPage(3).first, status::AccessDenied) << "the password never reads out";
    ASSERT_EQ(requestB().first, status::Ok);
    EXPECT_EQ(writePage(5, "0102030405060708"), status::NotAuthenticated);
    ASSERT_EQ(requestB().first, status::Ok);
    EXPECT_EQ(check("0000000000000000"), status::AuthFailed);
    EXPECT_EQ(readPage(4).first, status::NoCard) << "a refused tag must be requested again";

    // The serial number, the lock bits and the counter are not written as pages.
    for (const auto &[page, expected] : {std::pair{0, status::AccessDenied}, {2, status::AccessDenied}, {32, status::WrongParameter}}) {
        ASSERT_EQ(requestB().first, status::Ok);
        ASSERT_EQ(check(), status::Ok);
        EXPECT_EQ(writePage(uint8_t(page), "0102030405060708"), expected) << page;
    }
    // Lock bits only add up.
    ASSERT_EQ(requestB().first, status::Ok);
    ASSERT_EQ(check(), status::Ok);
    ASSERT_EQ(api.rf_at020_lock(0, hex("20000000").data()), status::Ok);
    ASSERT_EQ(api.rf_at020_lock(0, hex("00000080").data()), status::Ok);
    EXPECT_EQ(readPage(0), std::make_pair(status::Ok, hex("A020000120000080")));
    // The counter advances with each signature, high byte first.
    ASSERT_EQ(api.rf_at020_count(0, hex("A1A2A3A4A5A6").data()), status::Ok);
    ASSERT_EQ(api.rf_at020_count(0, hex("B1B2B3B4B5B6").data()), status::Ok);
    EXPECT_EQ(readPage(2), std::make_pair(status::Ok, hex("B1B2B3B4B5B60002")));

    ASSERT_EQ(api.rf_at020_deselect(0), status::Ok);
    EXPECT_EQ(requestB().first, status::NoCard) << "request B leaves a deselected tag alone";
    EXPECT_EQ(requestB(0x08).first, status::Ok) << "wake-up B brings it back";
}

TEST_F(TypeBTagsTest, Sr176SerialNumberLockRegisterAndBlockPairs)
{
    radio(0x73);
    ASSERT_EQ(stSelect().first, status::Ok);
    EXPECT_EQ(answer(api.rf_sr176_readblock, 16).first, status::WrongParameter);
    for (const uint8_t block : {3, 15}) {
        ASSERT_EQ(stSelect().first, status::Ok);
        EXPECT_EQ(api.rf_sr176_writeblock(0, block, hex("1234").data()), status::AccessDenied) << int(block);
    }
    // Bit 2 protects blocks 4 and 5, for good.
    ASSERT_EQ(stSelect().first, status::Ok);
    ASSERT_EQ(api.rf_sr176_protectblock(0, 0x04), status::Ok);
    ASSERT_EQ(api.rf_sr176_protectblock(0, 0x00), status::Ok);
    EXPECT_EQ(answer(api.rf_sr176_readblock, 15), std::make_pair(status::Ok, hex("7604")));
    EXPECT_EQ(api.rf_sr176_writeblock(0, 5, hex("5678").data()), status::AccessDenied);
}

TEST_F(TypeBTagsTest, Srix4kCountersOneTimeBitsAndLockRegister)
{
    radio(0x73);
    ASSERT_EQ(stSelect().first, status::Ok);
    const auto write = [this](uint8_t block, const char *data) {
        const int32_t result = api.rf_srix4k_writeblock(0, block, hex(data).data());
        if (result != status::Ok) {
            EXPECT_EQ(stSelect().first, status::Ok);
        }
        return result;
    };
    const struct {
        uint8_t block;
        const char *data;
        int32_t expected;
        const char *after;
    } cases[] = {
        {5, "10000000", status::Ok, "10000000"},            // a counter goes down
        {5, "11000000", status::AccessDenied, "10000000"},  // never up
        {6, "FFFFFFFF", status::Ok, "FFFFFFFF"},            // staying is allowed
        {0, "F0F0F0F0", status::Ok, "F0F0F0F0"},            // one-time bits clear
        {0, "0F0F0F0F", status::Ok, "00000000"},            // and never come back
        {127, "CAFEBABE", status::Ok, "CAFEBABE"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(write(c.block, c.data), c.expected) << int(c.block) << ' ' << c.data;
        EXPECT_EQ(readSrix4k(c.block), std::make_pair(status::Ok, hex(c.after))) << int(c.block);
    }
    EXPECT_EQ(readSrix4k(128).first, status::WrongParameter);

    // Bit 0 protects blocks 7 and 8, bit 1 block 9; blocks 10 on stay free.
    ASSERT_EQ(stSelect().first, status::Ok);
    ASSERT_EQ(api.rf_srix4k_writelockreg(0, 0x01), status::Ok);
    for (uint8_t block : {7, 8})
        EXPECT_EQ(write(block, "01020304"), status::AccessDenied) << int(block);
    EXPECT_EQ(write(9, "01020304"), status::Ok);
}

TEST_F(TypeBTagsTest, TheTagsComeFromTheScenarioAndAreWrittenBack)
{
    useField(R"([{"type": "srix4k", "Card": {"UID": "D002000000000011"}, "ChipID": "22", "LockRegister": "01"},
                 {"type": "at88rf020", "Card": {"UID": "01020304"}, "Password": "0011223344556677"},
                 {"type": "sr176", "Card": {"UID": "D002000000000033"}}])");
    radio(0x73);
    EXPECT_EQ(stSelect(), std::make_pair(status::Ok, uint8_t(0x22)));
    EXPECT_EQ(api.rf_srix4k_writeblock(0, 7, hex("01020304").data()), status::AccessDenied);
    ASSERT_EQ(stSelect().first, status::Ok);
    EXPECT_EQ(api.rf_sr176_writeblock(0, 4, hex("ABCD").data()), status::Ok);
    radio(0x72);
    ASSERT_EQ(requestB().first, status::Ok);
    ASSERT_EQ(check("0011223344556677"), status::Ok);
    EXPECT_EQ(readPage(0), std::make_pair(status::Ok, hex("0102030400000000")));

    const std::string saved = sandbox.readScenario();
    for (const char *expected : {"\"ABCD\"", "\"LockRegister\": \"01\"", "\"Password\": \"0011223344556677\""})
        EXPECT_NE(saved.find(expected), std::string::npos) << expected;
}

} // namespace
