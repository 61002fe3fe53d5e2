#include "PageChecks.h"

#include "pages/CTrh1064Page.h"
#include "reader/RuntimeState.h"

#include <iterator>
#include <string>

namespace {

using namespace pagechecks;
using enum CTrh1064Page::ControlId;

constexpr auto Page1 = CTrh1064Page::Page1Fields;
const int Boxes[] = {Page0Read, Page0Write, Page1Read,  Page1Write,         Page2Read,     Page2Write,
                     Page2Key,  Page3Read,  Page3Write, Page3AuthDecrement, Page3AuthRead, Page3AuthWrite};

const QStringList FieldReset = {"rf_antenna_sta(0)", "rf_init_type(66)", "rf_antenna_sta(1)"};

class Trh1064PageTest : public PageTest<CTrh1064Page>
{
protected:
    void SetUp() override { open(); }

    // The twelve boxes as a string of 0 and 1, in the order of Boxes.
    std::string rights()
    {
        std::string shown;
        for (int id : Boxes)
            shown += page().button(id)->isChecked() ? '1' : '0';
        return shown;
    }
    void fillPages()
    {
        for (int id : {Page0Field, Page2Field, Page3Field})
            setText(id, "1111111111111111");
        for (int id : Page1)
            setText(id, "2222222222222222");
    }
};

TEST_F(Trh1064PageTest, SearchEmptiesThePagesAndShowsTheFirstEightBytesOfTheAnswer)
{
    fillPages();
    const QStringList search = FieldReset + QStringList{"rf_atqb(0)"};
    runSession(harness, m_page.get(), {
        {.button = SearchButton, .answers = {{"rf_atqb", hexAnswer("1064000000000001000070719999")}}, .calls = search,
         .shown = {{SerialField, "1064000000000001"}, {Page0Field, ""}, {Page1[4], ""}}, .memo = "OK"},
        // A short answer shows only the bytes that came.
        {.button = SearchButton, .answers = {{"rf_atqb", hexAnswer("10640000")}}, .shown = {{SerialField, "10640000"}}},
        // A failed request is not tried again and clears the serial number.
        {.button = SearchButton, .answers = {{"rf_atqb", answer({}, 1)}}, .calls = search, .shown = {{SerialField, ""}}},
    });
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 50, 20, 20, 50, 20, 20, 50}));

    // A field that cannot be reset is tried twice.
    reader().setDefault("rf_init_type", answer({}, 0x0B));
    const QStringList resets = {"rf_antenna_sta(0)", "rf_init_type(66)", "rf_antenna_sta(0)", "rf_init_type(66)"};
    runSession(harness, m_page.get(), {{.button = SearchButton, .typed = {{SerialField, "AA"}}, .calls = resets,
                                        .shown = {{SerialField, ""}}, .memo = "Error: b ,function: rf_init_type"}});
    EXPECT_EQ(harness.sounds(), 3);
}

// Read, like Authenticate and Write, needs no open port.
TEST_F(Trh1064PageTest, ReadingPageZeroShowsTheRightsOfItsConfigurationByteInBoxesTheOperatorCannotChange)
{
    PortOpen = false;
    // page 0 RW, page 1 RW, page 2 R W Key, page 3 R W Dec AuthR AuthW
    const struct {
        uint8_t configuration;
        const char *rights;
    } cases[] = {
        {0x00, "11" "11" "110" "11000"}, {0x30, "11" "11" "001" "10110"}, {0x0F, "10" "10" "100" "10000"},
        {0x04, "11" "11" "100" "11000"}, {0x10, "11" "11" "001" "10011"}, {0x14, "11" "11" "001" "10000"},
        {0x18, "11" "11" "001" "00011"}, {0x1C, "11" "11" "001" "00010"}, {0x34, "11" "11" "001" "10000"},
        {0x38, "11" "11" "001" "00110"}, {0x3C, "11" "11" "001" "00010"}, {0xC0, "11" "11" "110" "11000"},
    };
    for (const auto &c : cases) {
        QByteArray answer = QByteArray::fromHex("54524831303634");
        answer.append(char(c.configuration));
        reader().script("rf_thr1064_read", pagechecks::answer(answer));
        click(ReadButton);
        EXPECT_EQ(text(Page0Field) + " " + rights().c_str(), hexText(answer) + " " + c.rights) << int(c.configuration);
    }
    // A short answer shows what came and keeps the rights: it carries no configuration byte.
    reader().script("rf_thr1064_read", hexAnswer("01020304"));
    click(ReadButton);
    EXPECT_EQ(text(Page0Field) + " " + rights().c_str(), QString("01020304 ") + cases[std::size(cases) - 1].rights);
    EXPECT_EQ(calls().first(), "rf_thr1064_read(0)");

    // The boxes ignore the operator's clicks and keys.
    page().show();
    for (int id : Boxes)
        expectUnchangeable(page().button(id));

    // A failed read of page 0 empties it and turns every box off.
    reader().scriptStatus("rf_thr1064_read", 3);
    click(ReadButton);
    EXPECT_EQ(text(Page0Field) + rights().c_str() + " " + harness.memo(), "000000000000 Error: 3 ,function: rf_thr1064_read");
}

TEST_F(Trh1064PageTest, ReadingTheOtherPagesShowsWhatCameOrKeepsTheFields)
{
    fillPages();
    QByteArray forty;
    for (int i = 0; i < 40; ++i)
        forty.append(char(i));
    const auto read = [](int page) { return QStringList{QStringLiteral("rf_thr1064_read(%1)").arg(page)}; };
    runSession(harness, m_page.get(), {
        // Thirty-two bytes are a success that shows nothing.
        {.button = ReadButton, .typed = {{PageList, "Page1"}}, .answers = {{"rf_thr1064_read", answer(forty.left(32))}},
         .calls = read(1), .shown = {{Page1[0], "2222222222222222"}}, .memo = "Communication successful"},
        {.button = ReadButton, .answers = {{"rf_thr1064_read", answer(forty)}}, .calls = read(1),
         .shown = {{Page1[0], "0001020304050607"}, {Page1[4], "2021222324252627"}}},
        {.button = ReadButton, .answers = {{"rf_thr1064_read", answer({}, 4)}}, .calls = read(1),
         .shown = {{Page1[0], ""}, {Page1[1], ""}, {Page1[2], ""}, {Page1[3], ""}, {Page1[4], ""}}},
        {.button = ReadButton, .typed = {{PageList, "Page2"}}, .answers = {{"rf_thr1064_read", hexAnswer("A1A2A3A4A5A6A7A8")}},
         .calls = read(2), .shown = {{Page2Field, "A1A2A3A4A5A6A7A8"}}},
        // A failed read of page 3 keeps it.
        {.button = ReadButton, .typed = {{PageList, "Page3"}}, .answers = {{"rf_thr1064_read", answer({}, 3)}},
         .calls = read(3), .shown = {{Page3Field, "1111111111111111"}}},
    });
}

TEST_F(Trh1064PageTest, AuthenticateAndWriteSendTheirFieldsWithThePortClosed)
{
    PortOpen = false;
    fillPages();
    const QString page1 = "0001020304050607" + QString("2222222222222222").repeated(3) + "2021222324252627";
    runSession(harness, m_page.get(), {
        {.button = AuthenticateButton, .typed = {{KeyField, "0102030405060708"}},
         .calls = {{"rf_thr1064_check() 0102030405060708"}}, .memo = "OK"},
        {.button = WriteButton, .typed = {{Page1[0], "0001020304050607"}, {Page1[4], "2021222324252627"}, {PageList, "Page1"}},
         .calls = {{"rf_thr1064_write(1,40) " + page1}}},
        {.button = WriteButton, .typed = {{PageList, "Page3"}, {Page3Field, "aabbccddeeff0011"}},
         .calls = {{"rf_thr1064_write(3,8) AABBCCDDEEFF0011"}}, .memo = "Communication successful"},
    });
}

} // namespace
