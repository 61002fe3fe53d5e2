#include "ReaderFixture.h"

namespace {

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
};

TEST_F(ProcessorCardTest, ResetAnswersSerialNumberThenAnswerToSelect)
{
    EXPECT_EQ(reset(false), std::make_pair(status::Ok, hex("5A10CB01" "0A788070025A54435055")));
    EXPECT_EQ(reset(true), std::make_pair(status::Ok, hex("04D3F1E2A55B80" "067577810280")));
    EXPECT_EQ(answerTo("0084000008").size(), 20u) << "the DESFire answers after its reset";
}

TEST_F(ProcessorCardTest, CardApplicationAnswersWithTheStatusWords)
{
    ASSERT_EQ(reset(false).first, status::Ok);
    const std::pair<const char *, const char *> dialogue[] = {
        {"00A40000023F00", "9000"},
        {"00B0000004", "6986"},                          // no current file
        {"00A40000020001", "9000"},                      // card text under the master file
        {"00B0000004", "5A454E549000"},                  // "ZENT"
        {"00D600000141", "6982"},                        // read-only
        {"00A4040006F05A53494D0100", "6F088406F05A53494D019000"},
        {"00A40000020002", "9000"},
        {"00D6000403010203", "9000"},
        {"00B0000008", "00000000010203009000"},
        {"00B0000E04", "00006282"},                      // end of file before Le bytes
        {"00B0001104", "6B00"},                          // offset past the end
        {"00D6000E03AABBCC", "6A84"},                    // more than the file holds
        {"00D600000241", "6700"},                        // Lc disagrees with the data
        {"00A40000029999", "6A82"},
        {"00A40400050102030405", "6A82"},
        {"00A40000013F", "6700"},
        {"00A4", "6700"},
        {"00A40200020001", "6A86"},
        {"00CA000000", "6D00"},
        {"80B0000004", "6E00"},
        {"0084000005", "6700"},
        {"00A40000021001", "9000"},                      // the application by its file id
        {"00B0810004", "484F4C449000"},                  // short file id 1: "HOLD"
    };
    for (const auto &[command, reply] : dialogue)
        EXPECT_EQ(answerTo(command), reply) << command;
    const std::string first = answerTo("0084000008");
    EXPECT_EQ(first.size(), 20u);
    EXPECT_EQ(first.substr(16), "9000");
    EXPECT_NE(answerTo("0084000008"), first) << "challenges are random";
    EXPECT_EQ(answerTo("0084000004").substr(8), "9000") << "a challenge has 4 or 8 bytes";
}

TEST_F(ProcessorCardTest, DesfireAnswersNativeCommandsPlainAndWrapped)
{
    ASSERT_EQ(reset(true).first, status::Ok);
    ASSERT_EQ(answerTo("60"), "AF04010101001805");
    EXPECT_EQ(answerTo("AF"), "AF04010101041805");
    EXPECT_EQ(answerTo("AF").substr(0, 16), "0004D3F1E2A55B80");
    EXPECT_EQ(answerTo("AF"), "1C") << "no frame pending";
    EXPECT_EQ(answerTo("9060000000"), "0401010100180591AF");
    EXPECT_EQ(answerTo("00A4040006F05A53494D01"), "9000") << "the ISO application too";
}

TEST_F(ProcessorCardTest, CommandsNeedAnActivatedCard)
{
    EXPECT_EQ(exchange(api.rf_cos_command, "00A40000023F00").first, status::NoCard);
    ASSERT_EQ(reset(false).first, status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "").first, status::WrongParameter) << "an empty frame is not sent";
    EXPECT_EQ(api.rf_cl_deselect(0), status::Ok);
    EXPECT_EQ(exchange(api.rf_cos_command, "00A40000023F00").first, status::NoCard);
    EXPECT_EQ(api.rf_cl_deselect(0), status::NoCard);
    EXPECT_EQ(reset(false, RequestAll).first, status::Ok) << "request all wakes the halted card";

    useField(R"([{"type": "mifare-1k", "Card": {"UID": "01020304"}}])");
    EXPECT_EQ(reset(false).first, status::NoCard);
    EXPECT_EQ(reset(true).first, status::NoCard);
}

TEST_F(ProcessorCardTest, FileUpdatesAreWrittenBack)
{
    useField(R"([{"type": "typea-cpu", "Card": {"UID": "11223344", "ATS": "0578800070"},
                  "applications": [{"AID": "A000000001", "FID": "2000",
                                    "files": {"0005": "000000", "0006": {"data": "AA", "readOnly": true}}}]}])");
    EXPECT_EQ(reset(false), std::make_pair(status::Ok, hex("11223344" "0578800070")));
    EXPECT_EQ(answerTo("00A4040005A000000001"), "9000");
    EXPECT_EQ(answerTo("00A40000020006"), "9000");
    EXPECT_EQ(answerTo("00D6000001BB"), "6982");
    EXPECT_EQ(answerTo("00A40000020005"), "9000");
    EXPECT_EQ(answerTo("00D6000103ABCDEF"), "6A84");
    EXPECT_EQ(answerTo("00D6000102ABCD"), "9000");
    EXPECT_NE(sandbox.readScenario().find("\"0005\": \"00ABCD\""), std::string::npos);
    EXPECT_EQ(answerTo("00A40000023F00"), "9000");
    EXPECT_EQ(answerTo("00A40000020001"), "6A82") << "this card has no card text";
}

} // namespace
