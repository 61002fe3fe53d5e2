#include "ReaderFixture.h"

namespace {

using FieldTest = ReaderFixture;

TEST_F(FieldTest, AntennaOffDropsSelectionAndAuthentication)
{
    selectMifare();
    ASSERT_EQ(authenticate(4), status::Ok);
    ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
    EXPECT_EQ(request(), status::NoCard) << "no field, no card";
    ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
    EXPECT_EQ(readBlock(4).first, status::NoCard);
    selectMifare();
    EXPECT_EQ(readBlock(4).first, status::NotAuthenticated) << "the authentication did not survive";
}

TEST_F(FieldTest, HaltedCardIsSilentToRequestIdle)
{
    useField(R"([{"type": "mifare-1k", "Card": {"UID": "01020304"}}])");
    selectMifare(RequestIdle);
    ASSERT_EQ(authenticate(4), status::Ok);
    ASSERT_EQ(api.rf_halt(0), status::Ok);
    EXPECT_EQ(api.rf_halt(0), status::NoCard) << "a halted card answers nothing";
    EXPECT_EQ(request(RequestIdle), status::NoCard);
    EXPECT_EQ(request(RequestAll), status::Ok);
    // The antenna cycle wakes it for request idle too.
    api.rf_halt(0);
    selectMifare();
    ASSERT_EQ(api.rf_halt(0), status::Ok);
    api.rf_antenna_sta(0, 0);
    api.rf_antenna_sta(0, 1);
    EXPECT_EQ(request(RequestIdle), status::Ok);
}

TEST_F(FieldTest, OnlyCardsOfTheChosenRadioModeAnswer)
{
    for (uint8_t mode : {0x42, 0x31, 0x72, 0x73}) {
        ASSERT_EQ(api.rf_init_type(0, mode), status::Ok);
        EXPECT_EQ(request(), status::NoCard) << int(mode);
        EXPECT_EQ(answer(api.rf_typea_rst, RequestAll).first, status::NoCard) << int(mode);
    }
    ASSERT_EQ(api.rf_init_type(0, 'A'), status::Ok);
    EXPECT_EQ(request(), status::Ok);
    EXPECT_EQ(request(0x27), status::WrongParameter);
}

TEST_F(FieldTest, EachSelectionTakesTheFirstCardThatCanAnswerIt)
{
    useField(R"([{"type": "ultralight", "Card": {"UID": "04000000000001"}},
                 {"type": "mifare-1k", "Card": {"UID": "0A0B0C0D"}},
                 {"type": "mifare-4k", "Card": {"UID": "01020304"}},
                 {"type": "typea-cpu", "Card": {"UID": "CAFE0001"}}])");
    EXPECT_EQ(selectMifare(), hex("0A0B0C0D")) << "the first Mifare Standard card in field order";
    uint8_t size = 0;
    ASSERT_EQ(request(), status::Ok);
    EXPECT_EQ(tagTypeBytes(), hex("4400")) << "the top card answers the request";
    ASSERT_EQ(api.rf_select(0, hex("01020304").data(), 4, &size), status::Ok);
    EXPECT_EQ(size, 0x18) << "a named serial number selects that card";
    ASSERT_EQ(request(), status::Ok);
    EXPECT_EQ(api.rf_select(0, hex("99999999").data(), 4, &size), status::NoCard);
    EXPECT_EQ(answer(api.rf_ul_select), std::make_pair(status::Ok, hex("04000000000001")));
    const auto [result, reset] = answer(api.rf_typea_rst, RequestAll);
    ASSERT_EQ(result, status::Ok);
    EXPECT_EQ(Bytes(reset.begin(), reset.begin() + 4), hex("CAFE0001"));
}

} // namespace
