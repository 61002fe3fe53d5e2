#include "PageChecks.h"

#include "controls/CHexGrid.h"
#include "pages/CIso15693Page.h"
#include "pages/CSrf55vPage.h"

#include <QScrollBar>

namespace {

using namespace pagechecks;
using enum CIso15693Page::ControlId;
constexpr auto UidFields = CIso15693Page::UidFields;

const QString Uid = "E004010000000001";

// Calls to one tag, the UID after the arguments: "name(args) UID".
QStringList toTag(const QString &name, const QStringList &arguments, const QString &data = {})
{
    QStringList calls;
    for (const QString &args : arguments)
        calls << QStringLiteral("%1(%2) %3%4").arg(name, args, Uid, data);
    return calls;
}

// Six inventory records: flags byte and UID each.
QByteArray records(int count)
{
    QByteArray answer;
    for (int i = 0; i < count; ++i)
        answer += QByteArray::fromHex("00E0040100000000") + char(i + 1);
    return answer;
}

class Iso15693PageTest : public PageTest<CIso15693Page>
{
protected:
    // An inventory that found one tag, so that its UID is the selected one.
    void findTag()
    {
        harness.reader().script("ISO15693_Inventorys", answer(records(1)));
        click(InventoryButton);
        harness.reader().clearCalls();
    }
    // Reads the memory of an I.CODE SLI whose block b holds four times the byte b.
    void readSli()
    {
        for (int part = 0; part < 2; ++part) {
            QByteArray blocks;
            for (int b = 14 * part; b < 14 * part + 14; ++b)
                blocks += QByteArray(4, char(b));
            harness.reader().script("ISO15693_Read", answer(blocks));
        }
        QByteArray security(28, '\0');
        security[13] = 1;
        security[17] = 1;
        harness.reader().script("ISO15693_Get_Block_Security", answer(security));
        click(ReadButton);
    }
};

TEST_F(Iso15693PageTest, InventoryFillsUpToFourUidFields)
{
    open(CardKind::IcodeSli);
    const auto uids = [](int filled) {
        std::vector<std::pair<int, QString>> shown;
        for (int i = 0; i < 4; ++i)
            shown.push_back({UidFields[i], i < filled ? QString("E00401000000000%1").arg(i + 1) : QString()});
        return shown;
    };
    const QStringList inventory = {"rf_init_type(49)", "ISO15693_Inventorys()"};
    const auto found = [](const QByteArray &records) { return std::pair{QString("ISO15693_Inventorys"), answer(records)}; };
    runSession(harness, m_page.get(), {
        {.button = InventoryButton, .answers = {found(records(6))}, .calls = inventory, .shown = uids(4)},
        // The fields are emptied before the inventory.
        {.button = InventoryButton, .answers = {{"ISO15693_Inventorys", answer({}, 1)}}, .shown = uids(0),
         .memo = "Error: 1 ,function: ISO15693_Inventorys"},
        {.button = InventoryButton, .answers = {found(records(2))}, .calls = inventory, .shown = uids(2)},
        {.button = InventoryButton, .answers = {found(QByteArray::fromHex("00E0040100"))}, .calls = inventory, .shown = uids(0)},
    });
}

TEST_F(Iso15693PageTest, GetInformationShowsDsfidAndAfiAndAFailureLeavesTheWholePlan)
{
    CIso15693Page &page = open(CardKind::IcodeSli);
    EXPECT_EQ(page.optionFlag(), 0);
    click(InformationButton);
    EXPECT_EQ(page.optionFlag(), 1) << "set before the UID is checked";

    findTag();
    const QString information = "ISO15693_Get_System_Information";
    runSession(harness, m_page.get(), {
        {.button = InformationButton, .answers = {{information, hexAnswer("0F" "E004010000000001" "5A" "A5" "1B03" "01")}},
         .calls = QStringList{"rf_init_type(49)"} + toTag(information, {"2"}), .shown = {{DsfidField, "5A"}, {AfiField, "A5"}}},
    });
    EXPECT_EQ(page.optionFlag(), 0);

    // A short answer and a silent tag: the fields stay empty and the flag stays 1.
    runSession(harness, m_page.get(), {
        {.button = InformationButton, .answers = {{information, answer(QByteArray(11, '\1'))}},
         .memo = "Error: 0 ,function: " + information},
        {.button = InformationButton, .answers = {{information, answer({}, 1)}}, .shown = {{DsfidField, ""}}},
    });
    EXPECT_EQ(page.optionFlag(), 1);

    // So the next Read follows the 64-block plan, and the next write uses mode 6.
    harness.reader().clearCalls();
    harness.reader().setDefault("ISO15693_Read", answer(QByteArray(56, '\0')));
    for (int size : {28, 28, 8})
        harness.reader().script("ISO15693_Get_Block_Security", answer(QByteArray(size, '\0')));
    click(ReadButton);
    click(LockButton);
    EXPECT_EQ(calls(), toTag("ISO15693_Read", {"2,0,14", "2,14,14", "2,28,14", "2,42,14", "2,56,8"})
                           + toTag("ISO15693_Get_Block_Security", {"2,0,28", "2,28,28", "2,56,8"})
                           + toTag("ISO15693_Lock_Block", {"6,0"}));
}

TEST_F(Iso15693PageTest, DsfidAndAfiAreWrittenAndLockedWithTheModeOfTheFlag)
{
    open(CardKind::TagIt);
    findTag();
    runSession(harness, m_page.get(), {
        {.button = WriteDsfidButton, .typed = {{DsfidField, "12"}}, .calls = toTag("ISO15693_Write_DSFID", {"6,18"})},
        {.button = LockDsfidButton, .calls = toTag("ISO15693_Lock_DSFID", {"6"})},
        {.button = WriteAfiButton, .typed = {{AfiField, "34"}}, .calls = toTag("ISO15693_Write_AFI", {"6,52"})},
        {.button = LockAfiButton, .calls = toTag("ISO15693_Lock_AFI", {"6"}), .memo = "OK"},
    });
}

TEST_F(Iso15693PageTest, ReadFillsTheGridAndTheStatusFieldsPageByPage)
{
    CIso15693Page &page = open(CardKind::IcodeSli);
    findTag();
    readSli();
    EXPECT_EQ(calls(), toTag("ISO15693_Read", {"2,0,14", "2,14,14"}) + toTag("ISO15693_Get_Block_Security", {"2,0,28"}));
    EXPECT_EQ(harness.memo(), "Communication successful");
    EXPECT_EQ(page.grid()->GetRowBytes(27), QByteArray(4, char(27)));
    EXPECT_EQ(page.scrollBar()->maximum(), 1);
    EXPECT_EQ((QStringList{text(FirstStatusField + 13), text(FirstStatusField + 14)}), (QStringList{"01", "00"}));

    page.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(page.grid()->currentPage(), 1);
    EXPECT_EQ(text(FirstStatusField + 1), "01") << "block 17";
    for (int i = 12; i < 16; ++i)
        EXPECT_EQ(text(FirstStatusField + i), "") << "the I.CODE SLI has no block " << 16 + i;

    // A short answer or a failure changes nothing on the page.
    Answers reads;
    for (int size : {56, 55, 56, 56})
        reads.push_back({"ISO15693_Read", answer(QByteArray(size, '\x77'))});
    runSession(harness, m_page.get(), {
        {.button = ReadButton, .answers = reads, .shown = {{FirstStatusField + 1, "01"}},
         .memo = "Error: 0 ,function: ISO15693_Read"},
        {.button = ReadButton, .answers = {{"ISO15693_Get_Block_Security", answer(QByteArray(27, '\0'))}},
         .shown = {{FirstStatusField + 1, "01"}}, .memo = "Error: 0 ,function: ISO15693_Get_Block_Security"},
    });
    EXPECT_EQ(page.grid()->GetRowBytes(1), QByteArray(4, '\1'));
}

TEST_F(Iso15693PageTest, WriteSendsEveryBlockFromTheFirstToTheLastChangedOne)
{
    CIso15693Page &page = open(CardKind::IcodeSli);
    findTag();
    runSession(harness, m_page.get(), {{.button = WriteButton, .calls = QStringList{}, .memo = "Error: No change data"}});
    readSli();
    PageHarness::typeAt(page.grid(), 4 * 3, "ab");
    PageHarness::typeAt(page.grid(), 4 * 7 + 3, "c");
    runSession(harness, m_page.get(), {
        {.button = WriteButton,
         .calls = toTag("ISO15693_Write", {"2,3"}, "AB030303") + toTag("ISO15693_Write", {"2,4"}, "04040404")
                  + toTag("ISO15693_Write", {"2,5"}, "05050505") + toTag("ISO15693_Write", {"2,6"}, "06060606")
                  + toTag("ISO15693_Write", {"2,7"}, "070707C7"),
         .memo = "Communication successful"},
        // A failing block stops the write; the blocks before it stay written.
        {.button = WriteButton, .answers = {{"ISO15693_Write", answer({})}, {"ISO15693_Write", answer({}, 4)}},
         .calls = toTag("ISO15693_Write", {"2,3"}, "AB030303") + toTag("ISO15693_Write", {"2,4"}, "04040404")},
    });
    EXPECT_EQ(harness.logLines(), (QStringList{"ISO15693_Write 0", "ISO15693_Write 4"}));

    // Scrolling away and back forgets the edits.
    page.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    page.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    runSession(harness, m_page.get(), {{.button = WriteButton, .calls = QStringList{}, .memo = "Error: No change data"}});
}

// The SRF55V page of a variant, with one tag found by its inventory.
class Srf55vPageTest : public PageTest<CSrf55vPage>
{
protected:
    CSrf55vPage &open(int variant)
    {
        PageTest::open(variant);
        reader().script("ISO15693_Inventorys", answer(records(1)));
        click(ReadButton);
        reader().clearCalls();
        return page();
    }
};

TEST_F(Srf55vPageTest, ReadTakesEightBytesAPageAndAFailureClearsTheGrid)
{
    CSrf55vPage &page = open(0);
    EXPECT_EQ(page.scrollBar()->maximum(), 1);
    // However much the library claims, a page is 8 bytes.
    const Answers pages = answerRun("Srf55vp_Read", 0, 32, [](int p) { return QByteArray(8, char(p)) + QByteArray(12, '\x77'); });
    runSession(harness, m_page.get(), {{.button = CSrf55vPage::ReadButton, .answers = pages,
                                        .calls = callRun("Srf55vp_Read(%1) " + Uid, 0, 32), .log = {{"Srf55vp_Read 0"}}}});
    EXPECT_EQ(page.grid()->GetRowBytes(31), QByteArray(8, char(31)));

    const Answers failingSecondPage = {{"Srf55vp_Read", answer(QByteArray(8, '\1'))}, {"Srf55vp_Read", answer({}, 1)}};
    runSession(harness, m_page.get(), {{.button = CSrf55vPage::ReadButton, .answers = failingSecondPage, .log = QStringList{}}});
    EXPECT_EQ(page.grid()->GetRowBytes(31), QByteArray(8, '\0'));
    EXPECT_EQ(page.grid()->GetFirstModifiedRow(), -1);

    open(1);
    EXPECT_EQ(m_page->scrollBar()->maximum(), 7);
    harness.reader().setDefault("Srf55vp_Read", answer(QByteArray(8, '\1')));
    click(CSrf55vPage::ReadButton);
    EXPECT_EQ(harness.reader().callsTo("Srf55vp_Read").size(), 128u);
}

TEST_F(Srf55vPageTest, WriteVerifiesEachChangedPageAgainstItsReadBack)
{
    CSrf55vPage &page = open(0);
    runSession(harness, m_page.get(), {{.button = CSrf55vPage::WriteButton, .memo = "Error: No change data"}});
    PageHarness::typeAt(page.grid(), 8 * 5, "1");
    PageHarness::typeAt(page.grid(), 8 * 9 + 7, "2");
    Answers readBacks;
    QStringList writes;
    for (int p = 5; p <= 9; ++p) {
        readBacks.push_back({"Srf55vp_Write_Reread", answer(page.grid()->GetRowBytes(p))});
        writes << QStringLiteral("Srf55vp_Write_Reread(%1) %2%3").arg(p).arg(Uid, hexText(page.grid()->GetRowBytes(p)));
    }
    EXPECT_EQ(writes.first() + writes.last(), "Srf55vp_Write_Reread(5) " + Uid + "1000000000000000"
                                                  "Srf55vp_Write_Reread(9) " + Uid + "0000000000000020");
    // One byte read back wrong, or a short read-back, is status 1 and stops.
    const QString failed = "Error: 1 ,function: Srf55vp_Write_Reread";
    runSession(harness, m_page.get(), {
        {.button = CSrf55vPage::WriteButton, .answers = readBacks, .calls = writes, .memo = "OK"},
        {.button = CSrf55vPage::WriteButton, .answers = {{"Srf55vp_Write_Reread", hexAnswer("1000000000000001")}},
         .calls = writes.mid(0, 1), .memo = failed},
        {.button = CSrf55vPage::WriteButton, .answers = {{"Srf55vp_Write_Reread", hexAnswer("10")}}, .calls = writes.mid(0, 1),
         .memo = failed},
    });
    page.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    click(CSrf55vPage::WriteButton);
    EXPECT_EQ(harness.memo(), "Error: No change data");
}

} // namespace
