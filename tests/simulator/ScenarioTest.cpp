#include "JsonFields.h"
#include "ReaderFixture.h"
#include "Scenario.h"
#include "ScenarioError.h"
#include "ScenarioFile.h"

using zentrava::Scenario;
using zentrava::ScenarioError;
using zentrava::ScenarioFile;

// The built-in default and the hand-written cards read, written and read again to the same text.
TEST(ScenarioFormat, HandWrittenCardsKeepWhatTheyDescribe)
{
    const std::string builtIn = Scenario::builtInDefault().serialize();
    EXPECT_EQ(Scenario::parse(builtIn).serialize(), builtIn);
    const Scenario scenario = Scenario::parse(R"({
        "reader": {"port": 4, "model": "ZT-TEST", "deviceNumber": 513, "clockOffsetSeconds": -60, "writeBack": false},
        "field": [
          {"type": "S50", "Card": {"UID": "DEADBEEF"}, "SectorKeys": {"2": {"KeyA": "A0A1A2A3A4A5"},
            "5": {"KeyB": "B0B1B2B3B4B5", "AccessConditions": "FF069069"}}},
          {"type": "ul", "blocks": {"0": "04112233", "1": "44556677", "5": "01020304"}},
          {"type": "desfire", "Card": {"UID": "04000000000099"}, "files": {"0002": {"data": "AB", "readOnly": true}}},
          {"type": "shc1102", "Card": {"UID": "0000000000000001"}, "Password": "01020304"}
        ]})");
    const std::string text = scenario.serialize();
    for (const char *expected : {"\"11\": \"A0A1A2A3A4A5FF078069FFFFFFFFFFFF\"", "\"UID\": \"04112244556677\"",
                                 "\"23\": \"FFFFFFFFFFFFFF069069B0B1B2B3B4B5\"", "\"5\": \"01020304\"", "\"readOnly\": true", "\"8\": \"01020304\"",
                                 "\"type\": \"mifare-1k\"", "\"port\": 4", "\"deviceNumber\": 513", "\"clockOffsetSeconds\": -60",
                                 "\"writeBack\": false"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(Scenario::parse(text).serialize(), text);
}

TEST(ScenarioFormat, MalformedScenariosNameThePlaceAndTheReason)
{
    const std::pair<const char *, const char *> cases[] = {
        {"garbage", "not valid JSON"}, {"[]", "must be a JSON object"}, {R"({"FileType": "mfcard"})", "not a scenario file"},
        {R"({"reader": {"port": "1"}})", "reader.port: expected a whole number"}, {R"({"reader": {"port": 1e300}})", "reader.port"},
        {R"({"reader": {"deviceNumber": 18446744073709551615}})", "reader.deviceNumber"},
        {R"({"reader": {"clockOffsetSeconds": -9223372036854775808}})", "reader.clockOffsetSeconds"},
        {R"({"reader": {"baud": 10000}})", "reader.baud: expected 9600"},
        {R"({"reader": {"writeBack": "yes"}})", "reader.writeBack"}, {R"({"field": {}})", "field: expected an array"},
        {R"({"field": [42]})", "field[0]: expected an object"}, {R"({"field": [{"type": "floppy"}]})", "unknown card type"},
        {R"({"field": [{"type": "mifare-1k"}]})", "needs a serial number"},
        {R"({"field": [{"type": "mifare-1k", "Card": {"UID": "0102"}}]})", "field[0].Card.UID: expected 4 bytes"},
        {R"({"field": [{"type": "mifare-1k", "Card": {"UID": "01020304"}, "blocks": {"1": "0011"}}]})", "field[0].blocks.1: expected 16 bytes"},
        {R"({"field": [{"type": "mifare-1k", "Card": {"UID": "01020304"}, "blocks": {"64": ""}}]})", "not a number from 0 to 63"},
        {R"({"field": [{"type": "mifare-1k", "Card": {"UID": "01020304"}, "blocks": {"0": "0A0B0C0D000000000000000000000000"}}]})",
         "disagrees with block 0"},
        {R"({"field": [{"type": "mifare-1k", "Card": {"UID": "01020304"}, "blocks": {"3": "000000000000FF078069FFFFFFFFFFFF"},
             "SectorKeys": {"0": {"KeyA": "FFFFFFFFFFFF"}}}]})",
         "SectorKeys.0.KeyA disagrees with block 3"},
        {R"({"field": [{"type": "ultralight", "Card": {"UID": "04010203040506"}, "blocks": {"3": "zz00zz00"}}]})", "expected hexadecimal bytes"},
        {R"({"field": [{"type": "typea-cpu", "Card": {"UID": "01020304"}, "files": {"3F00": "00"}}]})", "cannot name an elementary file"},
        {R"({"field": [{"type": "desfire", "Card": {"UID": "04010203040506"}, "applications": [{"AID": "01", "FID": "1000"}]}]})", "5 to 16 bytes"},
        {R"({"faults": [{"type": "force", "function": "rf_nothing", "status": "04", "calls": 1}]})", "faults[0].function"},
        {R"({"faults": [{"type": "tear"}]})", "needs \"bytes\""}, {R"({"faults": [{"type": "leave-after", "calls": -3}]})", "faults[0].calls"},
        {R"({"faults": [{"type": "melt"}]})", "faults[0].type"},
    };
    for (const auto &[text, reason] : cases) {
        try {
            Scenario::parse(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ScenarioError &error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos)
                << text << "\n  gave: " << error.what();
        }
    }
}

// Found by tests/fuzz/json_fields: with a negative upper bound an unsigned number in the file
// passed the range check as a huge bound and came back above it.
TEST(ScenarioFormat, WholeNumbersStayWithinTheirRange)
{
    const std::tuple<const char *, int64_t, int64_t, bool> cases[] = {
        {"2", -1, -1, false}, {"0", -5, -1, false}, {"-1", -5, -1, true}, {"2", -5, 2, true}, {"3", 0, 2, false},
    };
    for (const auto &[json, min, max, accepted] : cases) {
        const auto value = nlohmann::ordered_json::parse(json);
        if (accepted)
            EXPECT_EQ(zentrava::jsonfields::integerValue(value, "n", min, max), value.get<int64_t>()) << json;
        else
            EXPECT_THROW(zentrava::jsonfields::integerValue(value, "n", min, max), ScenarioError) << json;
    }
}

using ScenarioFileTest = ReaderFixture;

TEST_F(ScenarioFileTest, MalformedFileGivesANoCardReaderAndIsLeftAlone)
{
    const char *text = R"({"field": [{"type": "mifare-1k", "Card": {"UID": "01"}}]})";
    writeScenario(text);
    // The reader still answers on COM1, with no card; its device number is kept in memory only.
    uint8_t number[2];
    EXPECT_EQ((std::array{api.rf_init_com(1, 9600), request(), api.rf_init_device_number(0x0102), api.rf_get_device_number(number)}),
              (std::array{status::Ok, status::NoCard, status::Ok, status::Ok}));
    EXPECT_EQ(readScenario(), text) << "never overwritten";
    useField(R"([{"type": "mifare-1k", "Card": {"UID": "01020304"}}])");
    EXPECT_EQ(selectMifare(), hex("01020304")) << "a repaired file brings the cards back";
}

TEST_F(ScenarioFileTest, TheLocationFollowsTheEnvironmentInOrder)
{
    const char *home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    EXPECT_EQ(ScenarioFile::defaultLocation(), scenarioPath());
    unsetenv("ZENTRAVA_SCENARIO");
    EXPECT_EQ(ScenarioFile::defaultLocation(), folder() + "/config/Zentrava/scenario.json");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    setenv("HOME", folder().c_str(), 1);
    EXPECT_EQ(ScenarioFile::defaultLocation(), folder() + "/.config/Zentrava/scenario.json");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ScenarioFile::defaultLocation(), folder() + "/.config/Zentrava/scenario.json");
    setenv("HOME", savedHome.c_str(), 1);
    setenv("ZENTRAVA_SCENARIO", scenarioPath().c_str(), 1);
}
