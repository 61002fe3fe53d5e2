#include "ReaderFixture.h"

#include <string>
#include <tuple>

namespace {

constexpr uint8_t TypeB = 'B';
constexpr const char *Key = "0102030405060708";

class Trh1064Test : public ReaderFixture {
protected:
    // A tag with the given configuration byte, the key above and 0000000000000005 in page 3.
    void layTag(uint8_t configuration)
    {
        useField(std::string(R"([{"type": "trh1064", "Card": {"UID": "1064000000000001"}, "Key": ")") + Key +
                 R"(", "blocks": {"0": "00000000000000)" + zentrava::toHex(&configuration, 1) + R"(", "7": "0000000000000005"}}])");
    }
    // The page's search: type B mode, field on, request B; then the key when asked.
    int32_t wake(bool withKey = false, const char *key = Key)
    {
        EXPECT_EQ(api.rf_init_type(0, TypeB), status::Ok);
        EXPECT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
        int32_t result;
        std::tie(result, atqb) = answer(api.rf_atqb, 0);
        if (result != status::Ok || !withKey)
            return result;
        return api.rf_thr1064_check(0, hex(key).data());
    }
    std::pair<int32_t, Bytes> readPage(uint8_t page) { return answer(api.rf_thr1064_read, page); }
    int32_t writePage(uint8_t page, const Bytes &data) { return api.rf_thr1064_write(0, page, data.data(), uint8_t(data.size())); }
    static Bytes zeros(uint8_t page) { return Bytes(page == 1 ? 40 : 8, 0); }

    Bytes atqb;
};

TEST_F(Trh1064Test, AnswersTheTypeBRequestOnlyInTypeBMode)
{
    layTag(0x00);
    EXPECT_EQ(readPage(0).first, status::NoCard) << "not woken yet";
    EXPECT_EQ(answer(api.rf_atqb, 0).first, status::NoCard) << "type A mode";
    ASSERT_EQ(wake(), status::Ok);
    EXPECT_EQ(atqb.size(), 12u);
    EXPECT_EQ(readPage(1).second.size(), 40u);
    EXPECT_EQ(readPage(4).first, status::WrongParameter);
    // The field's type A cards stay silent in type B mode, and the tag in type A mode.
    EXPECT_EQ(request(), status::NoCard);
    ASSERT_EQ(api.rf_init_type(0, 'A'), status::Ok);
    EXPECT_EQ(readPage(0).first, status::NoCard);
}

TEST_F(Trh1064Test, TheConfigurationByteRulesReadsAndWrites)
{
    struct Case {
        uint8_t configuration;
        uint8_t page;
        bool withKey;
        int32_t read;
        int32_t write;
    };
    const Case cases[] = {
        {0x00, 0, false, status::Ok, status::Ok},
        {0x00, 1, false, status::Ok, status::Ok},
        {0x00, 2, false, status::Ok, status::Ok},
        {0x00, 3, false, status::Ok, status::Ok},
        {0x01, 0, false, status::Ok, status::AccessDenied},
        {0x02, 1, false, status::Ok, status::AccessDenied},
        {0x04, 2, false, status::Ok, status::AccessDenied},
        {0x08, 3, false, status::Ok, status::AccessDenied},
        {0x10, 2, true, status::AccessDenied, status::AccessDenied},
        {0x10, 3, false, status::Ok, status::NotAuthenticated},
        {0x10, 3, true, status::Ok, status::Ok},
        {0x18, 3, false, status::NotAuthenticated, status::NotAuthenticated},
        {0x18, 3, true, status::Ok, status::Ok},
        {0x14, 3, true, status::Ok, status::AccessDenied},
        {0x1C, 3, true, status::Ok, status::AccessDenied},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("configuration " + std::to_string(c.configuration) + " page " + std::to_string(c.page));
        layTag(c.configuration);
        ASSERT_EQ(wake(c.withKey), status::Ok);
        EXPECT_EQ(readPage(c.page).first, c.read);
        // A refusal sends the tag back to idle: wake it again.
        ASSERT_EQ(wake(c.withKey), status::Ok);
        EXPECT_EQ(writePage(c.page, zeros(c.page)), c.write);
        if (c.write == status::Ok && c.read == status::Ok) {
            EXPECT_EQ(readPage(c.page), std::make_pair(status::Ok, zeros(c.page)));
        }
    }
}

TEST_F(Trh1064Test, KeyLengthsAndTheDecrementOnlyCounter)
{
    layTag(0x30);
    EXPECT_EQ(wake(true, "FFFFFFFFFFFFFFFF"), status::AuthFailed);
    EXPECT_EQ(readPage(0).first, status::NoCard) << "a wrong key sends the tag back to idle";
    ASSERT_EQ(wake(true), status::Ok);
    EXPECT_EQ(writePage(3, hex("00000000000004")), status::WrongParameter) << "7 bytes";
    ASSERT_EQ(wake(true), status::Ok);
    EXPECT_EQ(writePage(3, hex("0000000000000004")), status::Ok);
    EXPECT_EQ(writePage(3, hex("0000000000000100")), status::AccessDenied) << "the counter only goes down";
    ASSERT_EQ(wake(), status::Ok);
    EXPECT_EQ(writePage(3, hex("0000000000000003")), status::NotAuthenticated) << "a new request ends the key";
    ASSERT_EQ(wake(true), status::Ok);
    EXPECT_EQ(readPage(3), std::make_pair(status::Ok, hex("0000000000000004")));
}

} // namespace
