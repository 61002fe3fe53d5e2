#include "ReaderClock.h"
#include "ReaderFixture.h"

using ReaderTest = ReaderFixture;

TEST_F(ReaderTest, ExportsExactlyTheOrdinalsOfTheContractAndItsTimeCount)
{
    FILE *pipe = popen(("nm -D --defined-only -j '" + api.path() + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    for (char line[512]; fgets(line, sizeof line, pipe);)
        exported.insert(std::string(line, std::strcspn(line, "\r\n")));
    ASSERT_EQ(pclose(pipe), 0);
    // The program's one list of ordinals, called or not, and the modelled time count.
    std::set<std::string> expected = {"ZentravaSim_ModelledNanoseconds"};
    for (const ReaderOrdinal &entry : ReaderOrdinals) {
        expected.insert("Zentrava_" + std::to_string(entry.ordinal));
        if (*entry.name == 0) {
            EXPECT_NE(reinterpret_cast<int32_t (*)()>(api.symbol(entry.ordinal))(), status::Ok) << "uncalled " << entry.ordinal;
        }
    }
    EXPECT_EQ(exported, expected) << "bound by ordinal only, no names";
}

TEST_F(ReaderTest, SettingsAndAPortThatOpensOnlyWhereTheReaderIsAttached)
{
    uint8_t buffer[1024] = {};
    uint8_t len = 0;
    ASSERT_EQ(api.rf_get_model(0, buffer, &len), status::Ok);
    EXPECT_EQ(buffer[len], 0) << "nothing written past the length";

    // The first entered byte is the low half: fields 12 34 travel as 0x3412 and come back 12 34.
    const auto deviceNumber = [this] {
        Bytes number(2, 0);
        EXPECT_EQ(api.rf_get_device_number(number.data()), status::Ok);
        return number;
    };
    ASSERT_EQ(api.rf_init_device_number(0x3412), status::Ok);
    EXPECT_EQ(deviceNumber(), hex("1234"));
    // Only device index 0 exists.
    EXPECT_EQ((std::array{api.rf_light(0, 3), api.rf_light(0, 4), api.rf_antenna_sta(0, 2), api.rf_init_type(0, 'C'), api.rf_beep(0, 0),
                          api.rf_beep(1, 10)}),
              (std::array{status::Ok, status::WrongParameter, status::WrongParameter, status::WrongParameter, status::Ok, status::WrongParameter}));
    // The device number is kept in an existing scenario file.
    writeScenario(R"({"reader": {"deviceNumber": 7}})");
    EXPECT_EQ(deviceNumber(), hex("0700"));
    ASSERT_EQ(api.rf_init_device_number(0xBEEF), status::Ok);
    EXPECT_TRUE(saved("\"deviceNumber\": 48879"));

    for (int32_t baud : {9600, 14400, 19200, 28800, 38400, 57600, 115200})
        EXPECT_EQ(api.rf_init_com(1, baud), status::Ok) << baud;
    for (const auto &[port, baud] : {std::pair{2, 9600}, {1, 4800}, {-1, 9600}})
        EXPECT_EQ(api.rf_init_com(port, baud), status::PortUnavailable) << port << " " << baud;
    // A failed open leaves the port closed, and every call that needs the reader fails; the
    // library's own version needs no reader.
    uint32_t version = 0;
    EXPECT_EQ((std::array{api.rf_get_device_number(buffer), api.rf_request(0, RequestAll, buffer), api.ReadTime(0, buffer, &len),
                          api.lib_ver(&version), int32_t(version)}),
              (std::array{status::PortNotOpen, status::PortNotOpen, status::PortNotOpen, status::Ok, 1}));
}

// Thursday 29 February 2024, 13:45:30.
const uint8_t ReaderLeapDay[7] = {0x24, 0x02, 0x29, 0x04, 0x13, 0x45, 0x30};

TEST_F(ReaderTest, ClockKeepsTheWrittenTimeRunsOnAndRefusesWhatIsNotADate)
{
    // The page test writes the clock and reads it back. It runs on from the written time: seen
    // through a clock face a minute and a second later, without waiting for real seconds to pass.
    const int64_t now = zentrava::ReaderClock::localNow();
    const std::optional<int64_t> offset = zentrava::ReaderClock::offsetFor(ReaderLeapDay, now);
    ASSERT_TRUE(offset.has_value());
    const zentrava::ReaderClock::Bcd later = zentrava::ReaderClock::read(*offset, now + 61);
    EXPECT_EQ(Bytes(later.begin(), later.end()), hex("24022904134631"));

    // What is not a date is refused and changes nothing.
    writeScenario("{}");
    ASSERT_EQ(api.WriteTime(0, ReaderLeapDay), status::Ok);
    const std::array<uint8_t, 7> invalid[] = {
        {0x24, 0x02, 0x29, 0x04, 0x13, 0x4A, 0x30}, // not BCD
        {0x24, 0x13, 0x01, 0x01, 0x13, 0x45, 0x30}, // month 13
        {0x23, 0x02, 0x29, 0x03, 0x13, 0x45, 0x30}, // 2023 is no leap year
        {0x24, 0x02, 0x29, 0x05, 0x13, 0x45, 0x30}, // 29 February 2024 was a Thursday
        {0x24, 0x02, 0x29, 0x04, 0x24, 0x00, 0x00}, // hour 24
        {0x24, 0x02, 0x29, 0x04, 0x13, 0x60, 0x00}, // minute 60
    };
    for (const auto &wrong : invalid)
        EXPECT_EQ(api.WriteTime(0, wrong.data()), status::WrongParameter) << zentrava::toHex(wrong.data(), 7);
    const auto date = [this] {
        auto reply = answer(api.ReadTime);
        reply.second.resize(4);
        return reply;
    };
    const auto leapDay = std::pair{status::Ok, Bytes(ReaderLeapDay, ReaderLeapDay + 4)};
    EXPECT_EQ(date(), leapDay) << "a refused time changes nothing";
    // The offset is kept in the scenario file: another file and back, the clock comes from the file.
    const std::string kept = readScenario();
    writeScenario("{}");
    EXPECT_NE(date(), leapDay);
    writeScenario(kept);
    EXPECT_EQ(date(), leapDay);
    // Year 51 is 1951, whose 1 January was a Monday; year 50 is 2050, a Saturday.
    for (const auto &newYear : {std::array<uint8_t, 7>{0x51, 1, 1, 1, 0, 0, 0}, {0x50, 1, 1, 6, 0, 0, 0}})
        EXPECT_EQ(api.WriteTime(0, newYear.data()), status::Ok);
}

TEST_F(ReaderTest, AntennaOffDropsSelectionAndAuthenticationAndHaltedCardsWaitForRequestAll)
{
    useField(R"([{"type": "mifare-1k", "Card": {"UID": "01020304"}}])");
    selectMifare(RequestIdle);
    ASSERT_EQ(authenticate(4), status::Ok);
    radio('A');
    EXPECT_EQ(readBlock(4).first, status::NoCard);
    selectMifare();
    EXPECT_EQ(readBlock(4).first, status::NotAuthenticated) << "the authentication did not survive";
    selectMifare();
    ASSERT_EQ(api.rf_halt(0), status::Ok);
    EXPECT_EQ(api.rf_halt(0), status::NoCard) << "a halted card answers nothing";
    EXPECT_EQ(request(RequestIdle), status::NoCard);
    EXPECT_EQ(selectMifare(), hex("01020304")) << "request all wakes it";
    ASSERT_EQ(api.rf_halt(0), status::Ok);
    radio('A');
    EXPECT_EQ(request(RequestIdle), status::Ok) << "so does the field's cycle";
}

// Each family of the built-in field answers in its own radio mode only, and none with the field off.
TEST_F(ReaderTest, OnlyCardsOfTheChosenRadioModeAnswer)
{
    const auto probe = [this] {
        uint8_t chipId = 0;
        const auto shown = [](const std::pair<int32_t, Bytes> &reply) { return reply.first == status::Ok ? zentrava::toHex(reply.second) : "-"; };
        const int32_t stSelected = api.rf_st_select(0, &chipId);
        return std::array<std::string, 5>{request() == status::Ok ? zentrava::toHex(tagType, 2) : "-",
                                          shown(answer(api.rf_typea_rst, RequestAll)).substr(0, 8), shown(answer(api.rf_atqb, 0)),
                                          stSelected == status::Ok ? zentrava::toHex(&chipId, 1) : "-",
                                          shown(answer(api.ISO15693_Inventorys)).substr(0, 18)};
    };
    const std::pair<uint8_t, std::array<std::string, 5>> modes[] = {
        // type A request, type A processor reset, request B, ST select, ISO 15693 inventory
        {'A', {"0200", "5A10CB01", "-", "-", "-"}},
        {'B', {"-", "-", "50B0C1D2E300000000008141", "-", "-"}},
        {0x31, {"-", "-", "-", "-", "00E004010012345678"}},
        {0x72, {"-", "-", "50A020000100000000007171", "-", "-"}},
        {0x73, {"-", "-", "-", "76", "-"}},
    };
    for (const auto &[mode, expected] : modes) {
        radio(mode);
        EXPECT_EQ(probe(), expected) << int(mode);
        ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
        EXPECT_EQ(probe(), (std::array<std::string, 5>{"-", "-", "-", "-", "-"})) << "field off in " << int(mode);
    }
    radio('A');
    EXPECT_EQ(request(0x27), status::WrongParameter);
}

// The first card of each kind answers its selection (the tool's placing, the radio modes' probe);
// a serial number names the card among several.
TEST_F(ReaderTest, ASelectionByItsSerialNumberTakesThatCard)
{
    useField(R"([{"type": "mifare-1k", "Card": {"UID": "0A0B0C0D"}}, {"type": "mifare-4k", "Card": {"UID": "01020304"}}])");
    uint8_t size = 0;
    ASSERT_EQ(request(), status::Ok);
    EXPECT_EQ((std::pair{api.rf_select(0, hex("01020304").data(), 4, &size), size}), (std::pair{status::Ok, uint8_t{0x18}}));
    ASSERT_EQ(request(), status::Ok);
    EXPECT_EQ(api.rf_select(0, hex("99999999").data(), 4, &size), status::NoCard);
}
