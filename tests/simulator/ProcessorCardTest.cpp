#include "ReaderFixture.h"

#include "DesCipher.h"

using Result = std::pair<int32_t, std::string>;
// The type B processor card alone, as the built-in field's TRH1064 answers request B too.
const char *const TypeBCard = R"([{"type": "typeb-cpu", "Card": {"UID": "B0C1D2E3"}}])";
const std::string AnswerToRequestB = "50B0C1D2E300000000008141";

// The processor cards of the built-in field, type A and B, the contact and SAM slots' cards, the
// pass-through and the cipher tool. The console tests reset, select and read them; here the
// states the cards go through and the status words they answer.
class ProcessorCardTest : public ReaderFixture {
protected:
    std::pair<int32_t, Bytes> reset(bool desfire, uint8_t mode = RequestAll)
    {
        return desfire ? answer(api.rf_DESFire_rst, mode) : answer(api.rf_typea_rst, mode);
    }
    std::string answerTo(const char *command)
    {
        const auto [result, text] = exchange(api.rf_cos_command, command);
        EXPECT_EQ(result, status::Ok) << command;
        return text;
    }
    // Each command given and the status words (with any data) it must answer.
    void talk(std::initializer_list<std::pair<const char *, const char *>> dialogue)
    {
        for (const auto &[command, reply] : dialogue)
            EXPECT_EQ(answerTo(command), reply) << command;
    }
};

// A reset answers the serial number, then the answer to select.
TEST_F(ProcessorCardTest, TheCardApplicationAndTheDesfireAnswerWithTheirStatusWords)
{
    ASSERT_EQ(reset(false), std::make_pair(status::Ok, hex("5A10CB01" "0A788070025A54435055")));
    talk({
        {"00A40000023F00", "9000"}, {"00B0000004", "6986"},           // no current file
        {"00A40000020001", "9000"}, {"00B0000004", "5A454E549000"},   // the card text under the master file: "ZENT"
        {"00D600000141", "6982"},                                     // read-only
        {"00A4040006F05A53494D0100", "6F088406F05A53494D019000"},
        {"00A40000020002", "9000"}, {"00D6000403010203", "9000"}, {"00B0000008", "00000000010203009000"},
        {"00B0000E04", "00006282"},                                   // end of file before Le bytes
        {"00B0001104", "6B00"},                                       // offset past the end
        {"00D6000E03AABBCC", "6A84"},                                 // more than the file holds
        {"00D600000241", "6700"},                                     // Lc disagrees with the data
        {"00A40000029999", "6A82"}, {"00A40400050102030405", "6A82"}, {"00A40000013F", "6700"}, {"00A4", "6700"},
        {"00A40200020001", "6A86"}, {"00CA000000", "6D00"}, {"80B0000004", "6E00"}, {"0084000005", "6700"},
        {"00A40000021001", "9000"}, {"00B0810004", "484F4C449000"},   // the application by its file id; short file id 1: "HOLD"
    });
    const std::string first = answerTo("0084000008");
    EXPECT_EQ(std::make_pair(first.size(), first.substr(16)), std::make_pair(std::size_t{20}, std::string("9000")));
    EXPECT_NE(answerTo("0084000008"), first) << "challenges are random";
    EXPECT_EQ(answerTo("0084000004").substr(8), "9000") << "a challenge has 4 or 8 bytes";

    // The DESFire: its native commands plain and wrapped.
    ASSERT_EQ(reset(true), std::make_pair(status::Ok, hex("04D3F1E2A55B80" "067577810280")));
    ASSERT_EQ(answerTo("60"), "AF04010101001805");
    EXPECT_EQ(answerTo("AF"), "AF04010101041805");
    EXPECT_EQ(answerTo("AF").substr(0, 16), "0004D3F1E2A55B80");
    // No frame pending; wrapped; the ISO application too.
    talk({{"AF", "1C"}, {"9060000000", "0401010100180591AF"}, {"00A4040006F05A53494D01", "9000"}});
}

// Type A: reset by request all, deselected into halt; type B the same with request and wake-up B.
TEST_F(ProcessorCardTest, CommandsNeedAnActivatedCard)
{
    EXPECT_EQ(exchange(api.rf_cos_command, "00A40000023F00").first, status::NoCard);
    ASSERT_EQ(reset(false).first, status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "").first, status::WrongParameter) << "an empty frame is not sent";
    EXPECT_EQ(api.rf_cl_deselect(0), status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "00A40000023F00").first, status::NoCard);
    EXPECT_EQ(api.rf_cl_deselect(0), status::NoCard);
    EXPECT_EQ(reset(false, RequestAll).first, status::Ok) << "request all wakes the halted card";

    useField(TypeBCard);
    radio('B');
    ASSERT_EQ(requestB(), status::Ok);
    talk({{"00A40000020001", "9000"}, {"00B0000004", "5A454E549000"}});
    EXPECT_EQ(api.rf_cl_deselect(0), status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "00B0000004").first, status::NoCard) << "deselected";
    EXPECT_EQ(requestB(1), status::Ok) << "WUPB, given as 1, wakes it";

    useField(R"([{"type": "mifare-1k", "Card": {"UID": "01020304"}}])");
    radio('A');
    EXPECT_EQ((std::pair{reset(false).first, reset(true).first}), std::pair(status::NoCard, status::NoCard));
}

TEST_F(ProcessorCardTest, FileUpdatesAreWrittenBack)
{
    useField(R"([{"type": "typea-cpu", "Card": {"UID": "11223344", "ATS": "0578800070"},
                  "applications": [{"AID": "A000000001", "FID": "2000",
                                    "files": {"0005": "000000"}}]}])");
    EXPECT_EQ(reset(false), std::make_pair(status::Ok, hex("11223344" "0578800070")));
    talk({{"00A4040005A000000001", "9000"}, {"00A40000020005", "9000"}, {"00D6000102ABCD", "9000"}});
    EXPECT_TRUE(saved("\"0005\": \"00ABCD\""));
    talk({{"00A40000023F00", "9000"}, {"00A40000020001", "6A82"}}); // this card has no card text
}

TEST_F(ProcessorCardTest, RawTypeBFramesReachTheCardInTheField)
{
    useField(TypeBCard);
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
    EXPECT_EQ(exchange(api.rf_transceive1, "").first, status::WrongParameter) << "an empty frame";
}

TEST_F(ProcessorCardTest, TheContactAndSamSlotsHoldTheirCardsWhateverTheField)
{
    EXPECT_EQ(api.OpenCard(0), status::Ok);
    EXPECT_EQ(exchange(api.smartcard_cos, "00A40000020001").first, status::NoCard) << "not reset yet";
    ASSERT_EQ(answer(api.smartcard_rst).first, status::Ok);
    EXPECT_EQ(exchange(api.smartcard_cos, "00A40000020001"), Result(status::Ok, "9000"));
    // The radio field's resets do not touch the slots.
    radio('B');
    ASSERT_EQ(requestB(), status::Ok);
    EXPECT_EQ(exchange(api.smartcard_cos, "00B0000004"), Result(status::Ok, "5A454E549000"));

    EXPECT_EQ(api.rf_init_sam(0, 2), status::WrongParameter);
    for (const uint8_t baud : {uint8_t{0}, uint8_t{1}}) {
        EXPECT_EQ(api.rf_init_sam(0, baud), status::Ok);
        EXPECT_EQ(exchange(api.rf_sam_cos, "0084000008").first, status::NoCard) << "a new rate needs a reset";
        ASSERT_EQ(answer(api.rf_sam_rst).first, status::Ok);
        EXPECT_EQ(exchange(api.rf_sam_cos, "0084000008").first, status::Ok);
    }

    useField(TypeBCard);
    EXPECT_EQ((std::array{api.OpenCard(0), answer(api.smartcard_rst).first, answer(api.rf_sam_rst).first}),
              (std::array{status::NoCard, status::NoCard, status::NoCard}));
}

// The console test runs FIPS 81's first ECB block with an 8-byte key; here whole blocks, the
// single-DES degenerate case of two-key triple DES, two different halves, and wrong lengths.
TEST_F(ProcessorCardTest, TheCipherToolIsDesAndTwoKeyTripleDesOverWholeBlocks)
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

    const Bytes data(264, 0x11);
    for (const auto &[dataLength, keyLength, expected] : {std::tuple{8, 12, status::WrongParameter}, {12, 8, status::WrongParameter},
                                                          {0, 8, status::WrongParameter}, {264, 8, status::WrongParameter}, {256, 8, status::Ok}})
        EXPECT_EQ(api.des_encrypt(result, data.data(), dataLength, key.data(), keyLength), expected) << dataLength << " " << keyLength;
}
