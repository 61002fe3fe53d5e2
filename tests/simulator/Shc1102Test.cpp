#include "ReaderFixture.h"

namespace {

// The page test reads the open blocks, the rest behind the password and writes after it; here
// what ends the password and what it never allows.
class Shc1102Test : public ReaderFixture {
protected:
    // The SHC1102 page's request sequence, which starts every operation.
    void requestTag()
    {
        ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
        ASSERT_EQ(api.rf_init_type(0, 0x41), status::Ok);
        ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
        ASSERT_EQ(request(), status::Ok);
    }
    std::pair<int32_t, Bytes> readTagBlock(uint8_t block) { return answer(api.rf_Shc1102_Read, block); }
    int32_t authenticate(const char *password) { return api.rf_Shc1102_Auth(0, hex(password).data()); }
    int32_t writeTagBlock(uint8_t block, const char *data) { return api.rf_Shc1102_Write(0, block, hex(data).data()); }
};

TEST_F(Shc1102Test, ARequestEndsThePasswordAndBlock8ChangesIt)
{
    requestTag();
    EXPECT_EQ(readTagBlock(7).first, status::Ok);
    EXPECT_EQ(readTagBlock(9).first, status::NotAuthenticated);
    requestTag();
    EXPECT_EQ(writeTagBlock(2, "12000000"), status::NotAuthenticated);
    requestTag();
    ASSERT_EQ(authenticate("FFFFFFFF"), status::Ok);
    EXPECT_EQ(writeTagBlock(1, "00000000"), status::AccessDenied) << "the serial number is fixed";
    requestTag();
    EXPECT_EQ(readTagBlock(16).first, status::WrongParameter);
    requestTag();
    EXPECT_EQ(readTagBlock(15).first, status::NotAuthenticated) << "a new request ends the authentication";
    requestTag();
    ASSERT_EQ(authenticate("FFFFFFFF"), status::Ok);
    ASSERT_EQ(writeTagBlock(8, "C0DEC0DE"), status::Ok);
    requestTag();
    EXPECT_EQ(authenticate("FFFFFFFF"), status::AuthFailed);
    requestTag();
    EXPECT_EQ(authenticate("C0DEC0DE"), status::Ok);
}

TEST_F(Shc1102Test, AnswersOnlyAfterARequest)
{
    useField(R"([{"type": "shc1102", "Card": {"UID": "1102000000000001"}, "Password": "00000000"}])");
    EXPECT_EQ(readTagBlock(0).first, status::NoCard) << "not woken by a request yet";
    ASSERT_EQ(request(), status::Ok);
    EXPECT_EQ(authenticate("00000000"), status::Ok);
    EXPECT_EQ(readTagBlock(1), std::make_pair(status::Ok, hex("00000001")));
}

} // namespace
