#include "PageChecks.h"

#include "pages/CMifareS50Page.h"
#include "pages/CMifareS70Page.h"
#include "pages/CUltraLightPage.h"

#include <QAbstractButton>

#include <set>

namespace {

using namespace pagechecks;

// The antenna cycle and request of one selection attempt, and the calls that finish it.
const QStringList AntennaCycle = {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)"};
const QStringList Selection = AntennaCycle + QStringList{"rf_request(82)", "rf_anticoll(4)", "rf_select(4) C0FFEE42"};
const QString FactoryKey = QStringLiteral("ffffffffffff");
const QString AuthBlock0 = QStringLiteral("rf_M1_authentication2(96,0) FFFFFFFFFFFF");

using enum CMifareStdPage::ControlId;
// The operation panels: panel A is the same on both pages.
const MifarePanel &PanelA = CMifareS50Page::layout().panels[0];
const MifarePanel &S50PanelB = CMifareS50Page::layout().panels[1];
const MifarePanel &S50PanelC = CMifareS50Page::layout().panels[2];
const MifarePanel &S70PanelB = CMifareS70Page::layout().panels[1];

template <class Page>
class MifarePageTest : public PageTest<Page>
{
protected:
    using Base = PageTest<Page>;
    using Base::calls, Base::click, Base::choose, Base::harness, Base::items, Base::page, Base::reader, Base::setText,
        Base::text;
    void SetUp() override { Base::open(); }

    bool enabled(int id) { return page().control(id)->isEnabled(); }
    QStringList log() { return harness.logLines(); }

    // Selects the card with Request, types the factory key into `keyField` and forgets the calls.
    void select(int keyField = PanelA.keyField)
    {
        click(RequestButton);
        ASSERT_TRUE(page().isCardSelected());
        setText(keyField, FactoryKey);
        reader().clearCalls();
    }
};

using S50PageTest = MifarePageTest<CMifareS50Page>;
using S70PageTest = MifarePageTest<CMifareS70Page>;

// --- Selection -------------------------------------------------------------------------------

TEST_F(S50PageTest, RequestSelectsHaltKeepsTheSelectionAndAFailedRequestMakesTwoFullAttempts)
{
    // The first attempt stops, without waiting, at the field that fails to switch off; the
    // second one selects the card.
    runSession(harness, m_page.get(), {
        {.button = RequestButton, .answers = {{"rf_antenna_sta", answer({}, 0x21)}}, .calls = QStringList{"rf_antenna_sta(0)"} + Selection,
         .shown = {{SerialField, "C0FFEE42"}}, .memo = "Communication successful"},
    });
    EXPECT_EQ(harness.waits(), (std::vector<int>{20, 20, 50}));
    EXPECT_EQ(log().first(), "rf_antenna_sta 21");
    EXPECT_EQ(harness.sounds(), 1);

    // Halt, failed or not, keeps the selection: the next operation starts at the authentication.
    // A serial number of the wrong length is a failure, not a success: two full attempts, and
    // the serial number and the selection are gone.
    const QStringList attempt = AntennaCycle + QStringList{"rf_request(82)", "rf_anticoll(4)"};
    const Answers longSerial = {{"rf_anticoll", hexAnswer("C0FFEE4255")}, {"rf_anticoll", hexAnswer("C0FFEE4255")}};
    runSession(harness, m_page.get(), {
        {.button = CMifareS50Page::HaltButton, .answers = {{"rf_halt", answer({}, 3)}}, .calls = {{"rf_halt()"}},
         .memo = "Error: 3 ,function: rf_halt"},
        {.button = PanelA.readButton, .typed = {{PanelA.keyField, FactoryKey}},
         .calls = QStringList{AuthBlock0} + callRun("rf_M1_read(%1)", 0, 4)},
        {.button = RequestButton, .answers = longSerial, .calls = attempt + attempt, .shown = {{SerialField, ""}},
         .memo = "Error: 0 ,function: rf_anticoll"},
    });
    EXPECT_FALSE(page().isCardSelected());
    EXPECT_EQ(harness.sounds(), 4);
}

TEST_F(S50PageTest, ReqIdlSelectsWithoutAntennaCycleOrRetryAndLeavesTheFlag)
{
    const QStringList reqIdl = {"rf_request(38)", "rf_anticoll(4)", "rf_select(4) C0FFEE42"};
    runSession(harness, m_page.get(), {
        {.button = CMifareS50Page::ReqIdlButton, .calls = reqIdl, .shown = {{SerialField, "C0FFEE42"}},
         .memo = "Communication successful"},
    });
    EXPECT_TRUE(harness.waits().empty());

    runSession(harness, m_page.get(), {
        // A failed ReqIDL leaves the last serial number.
        {.button = CMifareS50Page::ReqIdlButton, .answers = {{"rf_select", answer({}, 0x1a)}}, .shown = {{SerialField, "C0FFEE42"}},
         .memo = "Error: 1a ,function: rf_select"},
        // A card selected by ReqIDL does not spare the next operation its request all.
        {.button = CMifareS50Page::ReqIdlButton, .calls = reqIdl},
        {.button = PanelA.readButton, .typed = {{PanelA.keyField, FactoryKey}},
         .calls = Selection + QStringList{AuthBlock0} + callRun("rf_M1_read(%1)", 0, 4)},
    });
}

// --- Read Sector and Write Block -------------------------------------------------------------

TEST_F(S50PageTest, EachPanelReadsItsSectorWithItsKeyIntoItsOwnFieldsAndSplitsTheTrailer)
{
    const struct {
        const MifarePanel &panel;
        bool keyB;
        const char *sector;
        const char *auth;
        int firstBlock;
    } rows[] = {
        {S50PanelB, false, "7", "rf_M1_authentication2(96,28) FFFFFFFFFFFF", 28},
        {S50PanelC, false, "15", "rf_M1_authentication2(96,60) FFFFFFFFFFFF", 60},
        {PanelA, true, "1", "rf_M1_authentication2(97,4) FFFFFFFFFFFF", 4},
    };
    // Four distinct blocks, the trailer shown in its three parts.
    const char *shown[] = {"00112233445566778899AABBCCDDEEFF", "0102030405060708090A0B0C0D0E0F10",
                           "F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF", "A0A1A2A3A4A5FF078069B0B1B2B3B4B5"};
    const QStringList fieldTexts = {shown[0], shown[1], shown[2], "A0A1A2A3A4A5", "FF078069", "B0B1B2B3B4B5"};
    for (const auto &row : rows) {
        const MifarePanel &panel = row.panel;
        SCOPED_TRACE(panel.readButton);
        select(panel.keyField);
        choose(panel.sectorList, row.sector);
        if (row.keyB)
            click(panel.keyBRadio);
        for (const char *block : shown)
            reader().script("rf_M1_read", hexAnswer(block));
        click(panel.readButton);
        EXPECT_EQ(calls(), QStringList{row.auth} + callRun("rf_M1_read(%1)", row.firstBlock, row.firstBlock + 4));
        EXPECT_EQ((QStringList{text(panel.blockFields[0]), text(panel.blockFields[1]), text(panel.blockFields[2]),
                               text(panel.trailerKeyA), text(panel.trailerAccessBits), text(panel.trailerKeyB), harness.memo()}),
                  fieldTexts + QStringList{"OK"});
        if (&panel != &PanelA) {
            EXPECT_EQ(text(PanelA.blockFields[0]), "") << "panel A is not touched";
        }
    }
    // The key radios of one group do not uncheck another group.
    EXPECT_FALSE(page().button(PanelA.keyARadio)->isChecked());
    for (int radio : {int(PurseKeyARadio), S50PanelB.keyARadio, S50PanelC.keyARadio})
        EXPECT_TRUE(page().button(radio)->isChecked()) << radio;
}

TEST_F(S50PageTest, AFailedSelectionAuthenticationOrReadClearsTheSelectionAndTheReadKeepsTheBlocksShown)
{
    // With no card selected, an operation makes one selection attempt and nothing after it; after
    // a failure the next operation selects the card again. The panel is emptied before reading.
    const QStringList authenticated = Selection + QStringList{AuthBlock0};
    const Answers twoBlocksThenFailure = {{"rf_M1_read", hexAnswer("11111111111111111111111111111111")},
                                          {"rf_M1_read", hexAnswer("22222222222222222222222222222222")},
                                          {"rf_M1_read", answer({}, 5)}};
    runSession(harness, m_page.get(), {
        {.button = PanelA.readButton, .typed = {{PanelA.keyField, FactoryKey}}, .answers = {{"rf_request", answer({}, 1)}},
         .calls = AntennaCycle + QStringList{"rf_request(82)"}, .memo = "Error: 1 ,function: rf_request"},
        {.button = PanelA.readButton, .answers = {{"rf_M1_authentication2", answer({}, 4)}}, .calls = authenticated,
         .memo = "Error: 4 ,function: rf_M1_authentication2"},
        {.button = PanelA.readButton, .typed = {{PanelA.blockFields[2], "99"}}, .answers = twoBlocksThenFailure,
         .calls = authenticated + callRun("rf_M1_read(%1)", 0, 3),
         .shown = {{PanelA.blockFields[0], QString(32, '1')}, {PanelA.blockFields[1], QString(32, '2')}, {PanelA.blockFields[2], ""}},
         .memo = "Error: 5 ,function: rf_M1_read"},
        // A short block is a failure too.
        {.button = PanelA.readButton, .answers = {{"rf_M1_read", hexAnswer("0011223344556677")}},
         .calls = authenticated + QStringList{"rf_M1_read(0)"}, .shown = {{PanelA.blockFields[0], ""}},
         .memo = "Error: 0 ,function: rf_M1_read"},
    });
    EXPECT_FALSE(page().isCardSelected());
    EXPECT_EQ(harness.sounds(), 4);
}

TEST_F(S50PageTest, WriteBlockWritesTheFieldPaddedWithZerosAndTheTrailerOnlyAfterTheWarning)
{
    // An odd last digit is a byte of its own, an empty field writes zeros and each part of the
    // trailer is filled with zeros; cancelling the warning calls nothing. The selection stays.
    setText(PanelA.blockFields[1], "0011a");
    setText(PanelA.trailerKeyA, "a0a1a2");
    setText(PanelA.trailerAccessBits, "ff07");
    setText(PanelA.trailerKeyB, "b0b1b2b3b4b5");
    select();
    harness.answerNextBox(MessageAnswer::Cancel);
    const QString sector2 = "rf_M1_authentication2(96,8) FFFFFFFFFFFF";
    runSession(harness, m_page.get(), {
        {.button = PanelA.writeButton, .typed = {{PanelA.sectorList, "2"}, {PanelA.blockList, "1"}},
         .calls = {{sector2, "rf_M1_write(9) 00110A00000000000000000000000000"}}},
        {.button = PanelA.writeButton, .typed = {{PanelA.blockList, "2"}}, .calls = {{sector2, "rf_M1_write(10) " + QString(32, '0')}}},
        {.button = PanelA.writeButton, .typed = {{PanelA.sectorList, "1"}, {PanelA.blockList, "3"}}, .calls = QStringList{}},
        // A write is logged only when it succeeds, and a failed one clears the selection.
        {.button = PanelA.writeButton,
         .calls = {{"rf_M1_authentication2(96,4) FFFFFFFFFFFF", "rf_M1_write(7) A0A1A2000000FF070000B0B1B2B3B4B5"}},
         .log = {{"rf_M1_authentication2 0", "rf_M1_write 0"}}},
        {.button = PanelA.writeButton, .answers = {{"rf_M1_write", answer({}, 8)}}, .memo = "Error: 8 ,function: rf_M1_write",
         .log = {{"rf_M1_authentication2 0"}}},
    });
    EXPECT_FALSE(page().isCardSelected());
    EXPECT_EQ(harness.messageBoxes().size(), 3u);
    for (const MessageBoxRequest &box : harness.messageBoxes())
        EXPECT_EQ(boxOf(box), boxOf({nullptr, "Be sure to write block3!", "Warning", MessageIcon::Warning, MessageButtons::OkCancel}));
}

TEST_F(S50PageTest, TheManufacturerBlockCannotBeWrittenFromAnyPanelNorChosenForThePurseNorTheTrailer)
{
    for (const MifarePanel &panel : CMifareS50Page::layout().panels) {
        SCOPED_TRACE(panel.writeButton);
        EXPECT_FALSE(enabled(panel.writeButton)) << "each panel starts on sector 0, block 0";
        choose(panel.blockList, "1");
        EXPECT_TRUE(enabled(panel.writeButton));
        choose(panel.sectorList, "1");
        choose(panel.blockList, "0");
        EXPECT_TRUE(enabled(panel.writeButton));
        choose(panel.sectorList, "0");
        EXPECT_FALSE(enabled(panel.writeButton));
    }

    // The purse's block list, and the block chosen in it, as sector and block are chosen.
    const auto purse = [this] { return items(PurseBlockList).join(",") + " " + text(PurseBlockList); };
    EXPECT_EQ(purse(), "1,2 1");
    choose(PurseSectorList, "3");
    EXPECT_EQ(purse(), "0,1,2 1") << "block 1 stays chosen";
    choose(PurseBlockList, "0");
    choose(PurseSectorList, "0");
    EXPECT_EQ(purse(), "1,2 1");
    choose(PurseSectorList, "3");
    choose(PurseBlockList, "2");
    choose(PurseSectorList, "0");
    EXPECT_EQ(purse(), "1,2 2");
}

TEST_F(S50PageTest, ThePurseOperationsAuthenticateTheSectorCallTheirFunctionAndShowTheBalance)
{
    choose(PurseSectorList, "2");
    choose(PurseBlockList, "1");
    click(PurseKeyBRadio);
    select(PurseKeyField);
    const QString auth = "rf_M1_authentication2(97,8) FFFFFFFFFFFF";
    const auto logged = [](const char *line) { return QStringList{"rf_M1_authentication2 0", line}; };
    // A failed call clears the selection, and a failed balance empties both value fields.
    runSession(harness, m_page.get(), {
        {.button = InitializeButton, .typed = {{DecimalValueField, "100"}}, .calls = {{auth, "rf_M1_initval(9,100)"}},
         .memo = "OK", .log = logged("rf_M1_initval 0")},
        {.button = IncrementButton, .calls = {{auth, "rf_M1_increment(9,100)"}}, .memo = "OK", .log = logged("rf_M1_increment 0")},
        {.button = DecrementButton, .calls = {{auth, "rf_M1_decrement(9,100)"}}, .memo = "OK", .log = logged("rf_M1_decrement 0")},
        {.button = DecrementButton, .typed = {{DecimalValueField, "-25"}}, .answers = {{"rf_M1_decrement", answer({}, 0x0b)}},
         .calls = {{auth, "rf_M1_decrement(9,-25)"}}, .memo = "Error: b ,function: rf_M1_decrement",
         .log = logged("rf_M1_decrement b")},
        {.button = BalanceButton, .typed = {{DecimalValueField, "7"}}, .answers = {{"rf_M1_readval", {0, {}, -1, -5}}},
         .calls = Selection + QStringList{auth, "rf_M1_readval(9)"}, .shown = {{DecimalValueField, "-5"}, {HexValueField, "FBFFFFFF"}},
         .memo = "OK"},
        {.button = BalanceButton, .answers = {{"rf_M1_readval", answer({}, 2)}}, .calls = {{auth, "rf_M1_readval(9)"}},
         .shown = {{DecimalValueField, ""}, {HexValueField, ""}}, .memo = "Error: 2 ,function: rf_M1_readval",
         .log = logged("rf_M1_readval 2")},
    });
    EXPECT_FALSE(page().isCardSelected());
}

TEST_F(S50PageTest, TheValueFieldsFollowEachOther)
{
    // Each row types into one field and reads the other; the decimal field ignores letters and
    // holds eleven characters.
    const struct {
        int field;
        const char *typed, *shown, *other;
    } rows[] = {
        {DecimalValueField, "100", "100", "64000000"},
        {HexValueField, "FFFFFF7F", nullptr, "2147483647"},
        {HexValueField, "FFFFFFFF", nullptr, "-1"},
        {HexValueField, "0001", nullptr, "256"}, // missing bytes count as zero
        {DecimalValueField, "", "", "FFFFFFFF"},
        {HexValueField, "", nullptr, "0"},
        {DecimalValueField, "1a2B3", "123", "7B000000"},
        {DecimalValueField, "-2147483648999", "-2147483648", "00000080"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        setText(row.field, row.typed);
        if (row.shown != nullptr) {
            EXPECT_EQ(text(row.field), row.shown);
        }
        EXPECT_EQ(text(row.field == DecimalValueField ? HexValueField : DecimalValueField), row.other);
    }
}

// --- The S70 page ----------------------------------------------------------------------------

TEST_F(S70PageTest, OpensWithItsOwnListsAndReadsAndWritesTheLargeSectorsOfSixteenBlocks)
{
    EXPECT_EQ(items(PanelA.sectorList) + items(S70PanelB.sectorList), callRun("%1", 0, 40));
    EXPECT_TRUE(enabled(S70PanelB.writeButton)) << "sector 32 has no manufacturer block";
    EXPECT_FALSE(enabled(PanelA.writeButton));

    select(PurseKeyField);
    setText(S70PanelB.keyField, FactoryKey);
    Answers blocks;
    std::vector<std::pair<int, QString>> sector32 = {{S70PanelB.trailerKeyA, QStringLiteral("0F").repeated(6)},
                                                     {S70PanelB.trailerAccessBits, QStringLiteral("0F").repeated(4)},
                                                     {S70PanelB.trailerKeyB, QStringLiteral("0F").repeated(6)}};
    for (int block = 0; block < 16; ++block) {
        blocks.push_back({"rf_M1_read", answer(QByteArray(16, char(block)))});
        if (block < 15)
            sector32.push_back({S70PanelB.blockFields[block], hexText(QByteArray(16, char(block)))});
    }
    runSession(harness, m_page.get(), {
        {.button = BalanceButton, .typed = {{PurseSectorList, "31"}, {PurseBlockList, "2"}},
         .answers = {{"rf_M1_readval", {0, {}, -1, 1000}}}, .calls = {{"rf_M1_authentication2(96,124) FFFFFFFFFFFF", "rf_M1_readval(126)"}},
         .shown = {{HexValueField, "E8030000"}}},
        {.button = S70PanelB.readButton, .answers = blocks,
         .calls = QStringList{"rf_M1_authentication2(96,128) FFFFFFFFFFFF"} + callRun("rf_M1_read(%1)", 128, 144), .shown = sector32},
        // Block 14 is data; block 15, the trailer, is written after the warning.
        {.button = S70PanelB.writeButton,
         .typed = {{S70PanelB.sectorList, "33"}, {S70PanelB.blockList, "14"}, {S70PanelB.blockFields[14], "ee"}},
         .calls = {{"rf_M1_authentication2(96,144) FFFFFFFFFFFF", "rf_M1_write(158) EE" + QString(30, '0')}}},
        {.button = S70PanelB.writeButton,
         .typed = {{S70PanelB.sectorList, "39"}, {S70PanelB.blockList, "15"}, {S70PanelB.trailerKeyA, "a0a1a2a3a4a5"}},
         .calls = {{"rf_M1_authentication2(96,240) FFFFFFFFFFFF", "rf_M1_write(255) A0A1A2A3A4A5" + QString("0F").repeated(10)}}},
        {.button = CMifareS70Page::ReqIdlButton, .calls = {{"rf_request(38)", "rf_anticoll(4)", "rf_select(4) C0FFEE42"}}},
        {.button = CMifareS70Page::HaltButton, .calls = {{"rf_halt()"}}},
    });
    EXPECT_EQ(boxTexts(harness), QStringList{"Be sure to write block3!"});
}

// --- Templates -------------------------------------------------------------------------------

TEST(MifareStdTemplates, EveryAddressedControlHasOneIdAndLiesInsideItsTemplate)
{
    for (const DialogTemplate *dialog : {&CMifareS50Page::dialogTemplate(), &CMifareS70Page::dialogTemplate(),
                                         &CUltraLightPage::dialogTemplate()}) {
        std::set<int> ids;
        for (const ControlTemplate &control : dialog->controls) {
            if (control.id == UnaddressedControlId)
                continue;
            EXPECT_TRUE(ids.insert(control.id).second) << "template " << dialog->id << " repeats id " << control.id;
            EXPECT_LE(control.x + control.width, dialog->width) << "id " << control.id;
            EXPECT_LE(control.y + control.height, dialog->height) << "id " << control.id;
        }
    }
}

} // namespace
