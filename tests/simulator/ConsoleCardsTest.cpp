#include "ReaderFixture.h"

#include "DesCipher.h"

namespace {

// Type B, contact slot and SAM slot cards as the scenario lays them, and the pass-through. The
// console tests reset, select and read them; here the states the cards go through.
class ConsoleCardsTest : public ReaderFixture {
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        useField(R"([{"type": "typeb-cpu", "Card": {"UID": "B0C1D2E3"}},
                     {"type": "contact-cpu", "Card": {"UID": "C0DE0001"}},
                     {"type": "sam", "Card": {"UID": "5A300001"}}])");
    }
};

using Result = std::pair<int32_t, std::string>;
const std::string AnswerToRequestB = "50B0C1D2E300000000008141";

TEST_F(ConsoleCardsTest, TheTypeBCardAnswersOnlyInTypeBModeAndRunsTheCardApplication)
{
    EXPECT_EQ(answer(api.rf_atqb, 0).first, status::NoCard) << "type A mode";
    ASSERT_EQ(api.rf_init_type(0, 'B'), status::Ok);
    ASSERT_EQ(answer(api.rf_atqb, 0).first, status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "00A40000020001"), Result(status::Ok, "9000"));
    EXPECT_EQ(exchange(api.rf_cos_command, "00B0000004"), Result(status::Ok, "5A454E549000"));
    EXPECT_EQ(api.rf_cl_deselect(0), status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "00B0000004").first, status::NoCard) << "deselected";
    EXPECT_EQ(answer(api.rf_atqb, 0).first, status::NoCard) << "REQB leaves a halted card alone";
    EXPECT_EQ(answer(api.rf_atqb, 1).first, status::Ok) << "WUPB wakes it";
}

TEST_F(ConsoleCardsTest, RawTypeBFramesReachTheCardInTheField)
{
    EXPECT_EQ(exchange(api.rf_transceive1, "050000").first, status::NoCard) << "type A mode";
    ASSERT_EQ(api.rf_init_type(0, 'B'), status::Ok);
    const std::pair<const char *, Result> dialogue[] = {
        {"0200A40000020001", {status::NoCard, ""}},           // I-block before ATTRIB
        {"050000", {status::Ok, AnswerToRequestB}},           // REQB
        {"1DFFFFFFFF00080100", {status::NoCard, ""}},         // ATTRIB to another PUPI
        {"1DB0C1D2E300080100", {status::Ok, "00"}},           // ATTRIB
        {"0200A40000020001", {status::Ok, "029000"}},         // I-block: SELECT
        {"0300B0000004", {status::Ok, "035A454E549000"}},      // I-block: READ BINARY
        {"C2", {status::NoCard, ""}},                         // S(DESELECT) is not modelled
        {"50B0C1D2E3", {status::Ok, "00"}},                   // HLTB
        {"0200B0000004", {status::NoCard, ""}},
        {"050000", {status::NoCard, ""}},                     // REQB: the card is halted
        {"050008", {status::Ok, AnswerToRequestB}},           // WUPB
    };
    for (const auto &[frame, reply] : dialogue)
        EXPECT_EQ(exchange(api.rf_transceive1, frame), reply) << frame;
    uint8_t answer[4];
    uint8_t len = 0;
    EXPECT_EQ(api.rf_transceive1(0, answer, 0, answer, &len), status::WrongParameter) << "an empty frame";
}

TEST_F(ConsoleCardsTest, TheContactAndSamSlotsHoldTheirCardsWhateverTheField)
{
    EXPECT_EQ(api.OpenCard(0), status::Ok);
    EXPECT_EQ(exchange(api.smartcard_cos, "00A40000020001").first, status::NoCard) << "not reset yet";
    ASSERT_EQ(answer(api.smartcard_rst).first, status::Ok);
    EXPECT_EQ(exchange(api.smartcard_cos, "00A40000020001"), Result(status::Ok, "9000"));
    // The radio field's resets do not touch the slots.
    ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
    ASSERT_EQ(api.rf_init_type(0, 'B'), status::Ok);
    ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
    ASSERT_EQ(answer(api.rf_atqb, 0).first, status::Ok);
    EXPECT_EQ(exchange(api.smartcard_cos, "00B0000004"), Result(status::Ok, "5A454E549000"));

    EXPECT_EQ(api.rf_init_sam(0, 2), status::WrongParameter);
    for (const uint8_t baud : {uint8_t{0}, uint8_t{1}}) {
        EXPECT_EQ(api.rf_init_sam(0, baud), status::Ok);
        EXPECT_EQ(exchange(api.rf_sam_cos, "0084000008").first, status::NoCard) << "a new rate needs a reset";
        ASSERT_EQ(answer(api.rf_sam_rst).first, status::Ok);
        EXPECT_EQ(exchange(api.rf_sam_cos, "0084000008").first, status::Ok);
    }

    useField(R"([{"type": "typeb-cpu", "Card": {"UID": "B0C1D2E3"}}])");
    EXPECT_EQ(api.OpenCard(0), status::NoCard);
    EXPECT_EQ(answer(api.smartcard_rst).first, status::NoCard);
    EXPECT_EQ(answer(api.rf_sam_rst).first, status::NoCard);
}

// The console test runs FIPS 81's first ECB block with an 8-byte key; here whole blocks, the
// single-DES degenerate case of two-key triple DES, two different halves, and wrong lengths.
TEST_F(ConsoleCardsTest, TheCipherToolIsDesAndTwoKeyTripleDesOverWholeBlocks)
{
    const Bytes plain = hex("4E6F77206973207468652074696D6520666F7220616C6C20"); // "Now is the time for all "
    const Bytes cipher = hex("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53");
    const Bytes same = hex("0123456789ABCDEF0123456789ABCDEF");
    uint8_t result[256] = {};
    ASSERT_EQ(api.des_encrypt(result, plain.data(), 24, same.data(), 16), status::Ok);
    EXPECT_EQ(Bytes(result, result + 24), cipher);
    ASSERT_EQ(api.des_decrypt(result, cipher.data(), 24, same.data(), 16), status::Ok);
    EXPECT_EQ(Bytes(result, result + 24), plain);
    // Two different halves: encrypt with K1, decrypt with K2, encrypt with K1.
    const Bytes k1 = hex("0123456789ABCDEF"), k2 = hex("FEDCBA9876543210"), key = hex("0123456789ABCDEFFEDCBA9876543210");
    const Bytes block(plain.begin(), plain.begin() + 8);
    const Bytes ede = *zentrava::desEcb(true, k1, *zentrava::desEcb(false, k2, *zentrava::desEcb(true, k1, block)));
    ASSERT_EQ(api.des_encrypt(result, block.data(), 8, key.data(), 16), status::Ok);
    EXPECT_EQ(Bytes(result, result + 8), ede);
    EXPECT_NE(ede, Bytes(cipher.begin(), cipher.begin() + 8));

    const struct {
        int32_t dataLength;
        int32_t keyLength;
        int32_t status;
    } lengths[] = {{8, 12, status::WrongParameter}, {12, 8, status::WrongParameter}, {0, 8, status::WrongParameter},
                   {264, 8, status::WrongParameter}, {256, 8, status::Ok}};
    const Bytes data(264, 0x11);
    for (const auto &entry : lengths)
        EXPECT_EQ(api.des_encrypt(result, data.data(), entry.dataLength, key.data(), entry.keyLength), entry.status)
            << entry.dataLength << " " << entry.keyLength;
}

} // namespace
