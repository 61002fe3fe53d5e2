#include "ReaderFixture.h"

// The AT88RF020, the ST tags, the TRH1064 and the SHC1102, through the entry points, as their
// pages drive them. The page tests read, write, lock and count; here the chips' rules at their edges.
class TypeBTagsTest : public ReaderFixture {
protected:
    // A refusal sends the tag back to idle: each call on a fresh request B.
    int32_t requested(const std::function<int32_t()> &call)
    {
        EXPECT_EQ(requestB(), status::Ok);
        return call();
    }
    std::pair<int32_t, Bytes> readPage(uint8_t page) { return answer(api.rf_at020_read, page); }
    int32_t check(const char *password = "FFFFFFFFFFFFFFFF") { return api.rf_at020_check(0, hex(password).data()); }
    int32_t writePage(uint8_t page) { return api.rf_at020_write(0, page, hex("0102030405060708").data()); }
    std::pair<int32_t, uint8_t> stSelect()
    {
        uint8_t chipId = 0;
        return {api.rf_st_select(0, &chipId), chipId};
    }
    // An ST tag's write; a refusal deselects the tag, so it is selected again.
    int32_t stWritten(int32_t result)
    {
        if (result != status::Ok) {
            EXPECT_EQ(stSelect().first, status::Ok);
        }
        return result;
    }
    int32_t writeSrix4k(uint8_t block, const char *data) { return stWritten(api.rf_srix4k_writeblock(0, block, hex(data).data())); }
    int32_t writeSr176(uint8_t block, const char *data) { return stWritten(api.rf_sr176_writeblock(0, block, hex(data).data())); }

    // A TRH1064 with the given configuration byte, the key 0102030405060708 and 5 in its counter.
    void layTrh1064(uint8_t configuration)
    {
        useField(R"([{"type": "trh1064", "Card": {"UID": "1064000000000001"}, "Key": "0102030405060708", "blocks": {"0": "00000000000000)" +
                 zentrava::toHex(&configuration, 1) + R"(", "7": "0000000000000005"}}])");
    }
    // The TRH1064 page's search: type B mode, request B; then the key when asked.
    int32_t wakeTrh1064(bool withKey = false, const char *key = "0102030405060708")
    {
        EXPECT_EQ(api.rf_init_type(0, 'B'), status::Ok);
        const int32_t result = requestB();
        return result != status::Ok || !withKey ? result : api.rf_thr1064_check(0, hex(key).data());
    }
    std::pair<int32_t, Bytes> readTrh1064(uint8_t page) { return answer(api.rf_thr1064_read, page); }
    int32_t writeTrh1064(uint8_t page, const Bytes &data) { return api.rf_thr1064_write(0, page, data.data(), uint8_t(data.size())); }
};

TEST_F(TypeBTagsTest, At88rf020PasswordLockBitsCounterAndDeselect)
{
    radio(0x72);
    EXPECT_EQ(requestB(5), status::WrongParameter);
    EXPECT_EQ(requested([&] { return readPage(3).first; }), status::AccessDenied) << "the password never reads out";
    EXPECT_EQ(requested([&] { return writePage(5); }), status::NotAuthenticated);
    EXPECT_EQ(requested([&] { return check("0000000000000000"); }), status::AuthFailed);
    EXPECT_EQ(readPage(4).first, status::NoCard) << "a refused tag must be requested again";

    // The serial number, the lock bits and the counter are not written as pages.
    for (const auto &[page, expected] : {std::pair{0, status::AccessDenied}, {2, status::AccessDenied}, {32, status::WrongParameter}}) {
        ASSERT_EQ(requested([&] { return check(); }), status::Ok);
        EXPECT_EQ(writePage(uint8_t(page)), expected) << page;
    }
    // Lock bits only add up; the counter advances with each signature, high byte first.
    ASSERT_EQ(requested([&] { return check(); }), status::Ok);
    for (const char *bits : {"20000000", "00000080"})
        ASSERT_EQ(api.rf_at020_lock(0, hex(bits).data()), status::Ok);
    EXPECT_EQ(readPage(0), std::make_pair(status::Ok, hex("A020000120000080")));
    for (const char *signature : {"A1A2A3A4A5A6", "B1B2B3B4B5B6"})
        ASSERT_EQ(api.rf_at020_count(0, hex(signature).data()), status::Ok);
    EXPECT_EQ(readPage(2), std::make_pair(status::Ok, hex("B1B2B3B4B5B60002")));

    ASSERT_EQ(api.rf_at020_deselect(0), status::Ok);
    EXPECT_EQ(requestB(), status::NoCard) << "request B leaves a deselected tag alone";
    EXPECT_EQ(requestB(0x08), status::Ok) << "wake-up B brings it back";
    ASSERT_EQ(check(), status::Ok);
    EXPECT_EQ(writePage(5), status::AccessDenied) << "lock bit 5 holds page 5";
}

// Each write in turn, the tag selected again after a refusal; then the block as it reads.
TEST_F(TypeBTagsTest, StTagsSerialNumbersCountersOneTimeBitsAndLockRegisters)
{
    radio(0x73);
    ASSERT_EQ(stSelect().first, status::Ok);
    EXPECT_EQ(answer(api.rf_sr176_readblock, 16).first, status::WrongParameter);
    ASSERT_EQ(stSelect().first, status::Ok);
    for (const uint8_t block : {3, 15})
        EXPECT_EQ(writeSr176(block, "1234"), status::AccessDenied) << int(block);
    // SR176 lock bit 2 protects blocks 4 and 5, for good.
    ASSERT_EQ(api.rf_sr176_protectblock(0, 0x04), status::Ok);
    ASSERT_EQ(api.rf_sr176_protectblock(0, 0x00), status::Ok);
    EXPECT_EQ(answer(api.rf_sr176_readblock, 15), std::make_pair(status::Ok, hex("7604")));
    EXPECT_EQ(writeSr176(5, "5678"), status::AccessDenied);

    const std::tuple<uint8_t, const char *, int32_t, const char *> srix4k[] = {
        {5, "10000000", status::Ok, "10000000"},           // a counter goes down
        {5, "11000000", status::AccessDenied, "10000000"}, // never up
        {6, "FFFFFFFF", status::Ok, "FFFFFFFF"},           // staying is allowed
        {0, "F0F0F0F0", status::Ok, "F0F0F0F0"},           // one-time bits clear
        {0, "0F0F0F0F", status::Ok, "00000000"},           // and never come back
        {127, "CAFEBABE", status::Ok, "CAFEBABE"},
    };
    for (const auto &[block, data, expected, after] : srix4k) {
        EXPECT_EQ(writeSrix4k(block, data), expected) << int(block) << ' ' << data;
        EXPECT_EQ(answer(api.rf_srix4k_readblock, block), std::make_pair(status::Ok, hex(after))) << int(block);
    }
    EXPECT_EQ(answer(api.rf_srix4k_readblock, 128).first, status::WrongParameter);
    // SRIX4K lock bit 0 protects blocks 7 and 8, bit 1 block 9; block 10 has a bit of its own.
    ASSERT_EQ(stSelect().first, status::Ok);
    ASSERT_EQ(api.rf_srix4k_writelockreg(0, 0x01), status::Ok);
    EXPECT_EQ((std::array{writeSrix4k(7, "01020304"), writeSrix4k(8, "01020304"), writeSrix4k(9, "01020304")}),
              (std::array{status::AccessDenied, status::AccessDenied, status::Ok}));
    ASSERT_EQ(api.rf_srix4k_writelockreg(0, 0x02), status::Ok);
    EXPECT_EQ((std::array{writeSrix4k(9, "01020304"), writeSrix4k(10, "01020304")}), (std::array{status::AccessDenied, status::Ok}));
}

TEST_F(TypeBTagsTest, TheTagsComeFromTheScenarioAndAreWrittenBack)
{
    useField(R"([{"type": "srix4k", "Card": {"UID": "D002000000000011"}, "ChipID": "22", "LockRegister": "01"},
                 {"type": "at88rf020", "Card": {"UID": "01020304"}, "Password": "0011223344556677"},
                 {"type": "sr176", "Card": {"UID": "D002000000000033"}}])");
    radio(0x73);
    EXPECT_EQ(stSelect(), std::make_pair(status::Ok, uint8_t(0x22)));
    EXPECT_EQ(writeSrix4k(7, "01020304"), status::AccessDenied);
    EXPECT_EQ(writeSr176(4, "ABCD"), status::Ok);
    radio(0x72);
    ASSERT_EQ(requested([&] { return check("0011223344556677"); }), status::Ok);
    for (const char *expected : {"\"ABCD\"", "\"LockRegister\": \"01\"", "\"Password\": \"0011223344556677\""})
        EXPECT_TRUE(saved(expected)) << expected;
}

TEST_F(TypeBTagsTest, Trh1064ConfigurationByteRulesReadsAndWrites)
{
    constexpr int32_t Ok = status::Ok, Denied = status::AccessDenied, NoKey = status::NotAuthenticated;
    const std::tuple<uint8_t, uint8_t, bool, int32_t, int32_t> cases[] = {
        // configuration, page, with the key, read, write
        {0x00, 0, false, Ok, Ok}, {0x00, 1, false, Ok, Ok}, {0x00, 2, false, Ok, Ok}, {0x00, 3, false, Ok, Ok},
        {0x01, 0, false, Ok, Denied}, {0x02, 1, false, Ok, Denied}, {0x04, 2, false, Ok, Denied}, {0x08, 3, false, Ok, Denied},
        {0x10, 2, true, Denied, Denied}, {0x10, 3, false, Ok, NoKey}, {0x10, 3, true, Ok, Ok}, {0x18, 3, false, NoKey, NoKey},
        {0x18, 3, true, Ok, Ok}, {0x14, 3, true, Ok, Denied}, {0x1C, 3, true, Ok, Denied},
    };
    for (const auto &[configuration, page, withKey, read, write] : cases) {
        SCOPED_TRACE("configuration " + std::to_string(configuration) + " page " + std::to_string(page));
        layTrh1064(configuration);
        ASSERT_EQ(wakeTrh1064(withKey), status::Ok);
        EXPECT_EQ(readTrh1064(page).first, read);
        // A refusal sends the tag back to idle: wake it again.
        ASSERT_EQ(wakeTrh1064(withKey), status::Ok);
        const Bytes zeros(page == 1 ? 40 : 8, 0);
        EXPECT_EQ(writeTrh1064(page, zeros), write);
        if (write == status::Ok && read == status::Ok) {
            EXPECT_EQ(readTrh1064(page), std::make_pair(status::Ok, zeros));
        }
    }
}

TEST_F(TypeBTagsTest, Trh1064PagesKeyLengthsAndTheDecrementOnlyCounter)
{
    layTrh1064(0x30);
    EXPECT_EQ(wakeTrh1064(true, "FFFFFFFFFFFFFFFF"), status::AuthFailed);
    EXPECT_EQ(readTrh1064(0).first, status::NoCard) << "a wrong key sends the tag back to idle";
    ASSERT_EQ(wakeTrh1064(true), status::Ok);
    EXPECT_EQ(readTrh1064(4).first, status::WrongParameter);
    ASSERT_EQ(wakeTrh1064(true), status::Ok);
    EXPECT_EQ(writeTrh1064(3, hex("00000000000004")), status::WrongParameter) << "7 bytes";
    ASSERT_EQ(wakeTrh1064(true), status::Ok);
    EXPECT_EQ(writeTrh1064(3, hex("0000000000000004")), status::Ok);
    EXPECT_EQ(writeTrh1064(3, hex("0000000000000100")), status::AccessDenied) << "the counter only goes down";
    ASSERT_EQ(wakeTrh1064(), status::Ok);
    EXPECT_EQ(writeTrh1064(3, hex("0000000000000003")), status::NotAuthenticated) << "a new request ends the key";
    ASSERT_EQ(wakeTrh1064(true), status::Ok);
    EXPECT_EQ(readTrh1064(3), std::make_pair(status::Ok, hex("0000000000000004")));
    ASSERT_EQ(api.rf_init_type(0, 'A'), status::Ok);
    EXPECT_EQ(readTrh1064(0).first, status::NoCard) << "silent in type A mode";
}

// Each operation on the SHC1102 starts with its page's request, which ends the authentication:
// a password to present first (or none), a block to read or write, the status.
TEST_F(TypeBTagsTest, Shc1102ARequestEndsThePasswordAndBlock8ChangesIt)
{
    useField(R"([{"type": "shc1102", "Card": {"UID": "1102000000000001"}, "Password": "FFFFFFFF"}])");
    EXPECT_EQ(answer(api.rf_Shc1102_Read, 0).first, status::NoCard) << "not woken by a request yet";
    const std::tuple<const char *, uint8_t, const char *, int32_t> steps[] = {
        {nullptr, 7, nullptr, status::Ok}, // blocks up to 7 read freely
        {nullptr, 8, nullptr, status::NotAuthenticated}, // the password
        {nullptr, 9, nullptr, status::NotAuthenticated},
        {nullptr, 2, "12000000", status::NotAuthenticated},
        {"FFFFFFFF", 1, "00000000", status::AccessDenied}, // the serial number is fixed
        {nullptr, 16, nullptr, status::WrongParameter},
        {nullptr, 15, nullptr, status::NotAuthenticated},  // the last request ended the authentication
        {"FFFFFFFF", 8, "C0DEC0DE", status::Ok},            // a new password
        {"C0DEC0DE", 1, nullptr, status::Ok},
    };
    for (const auto &[password, block, data, expected] : steps) {
        ASSERT_EQ(request(), status::Ok);
        if (password) {
            ASSERT_EQ(api.rf_Shc1102_Auth(0, hex(password).data()), status::Ok) << password;
        }
        EXPECT_EQ(data ? api.rf_Shc1102_Write(0, block, hex(data).data()) : answer(api.rf_Shc1102_Read, block).first, expected)
            << int(block);
    }
    EXPECT_EQ(answer(api.rf_Shc1102_Read, 1).second, hex("00000001"));
    ASSERT_EQ(request(), status::Ok);
    EXPECT_EQ(api.rf_Shc1102_Auth(0, hex("FFFFFFFF").data()), status::AuthFailed) << "the old password";
}
