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
    const struct {
        QByteArray answer;
        int filled;
    } cases[] = {{records(6), 4}, {records(2), 2}, {QByteArray::fromHex("00E0040100"), 0}};
    for (const auto &c : cases) {
        harness.reader().clearCalls();
        harness.reader().script("ISO15693_Inventorys", answer(c.answer));
        click(InventoryButton);
        EXPECT_EQ(calls(), (QStringList{"rf_init_type(49)", "ISO15693_Inventorys()"}));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(text(UidFields[i]), i < c.filled ? QString("E00401000000000%1").arg(i + 1) : QString()) << i;
    }
    harness.reader().scriptStatus("ISO15693_Inventorys", 1);
    click(InventoryButton);
    EXPECT_EQ(text(UidFields[0]) + harness.memo(), "Error: 1 ,function: ISO15693_Inventorys") << "cleared before the inventory";
}

TEST_F(Iso15693PageTest, GetInformationShowsDsfidAndAfiAndAFailureLeavesTheWholePlan)
{
    CIso15693Page &page = open(CardKind::IcodeSli);
    EXPECT_EQ(page.optionFlag(), 0);
    click(InformationButton);
    EXPECT_EQ(page.optionFlag(), 1) << "set before the UID is checked";

    findTag();
    harness.reader().script("ISO15693_Get_System_Information", hexAnswer("0F" "E004010000000001" "5A" "A5" "1B03" "01"));
    click(InformationButton);
    EXPECT_EQ(calls(), QStringList{"rf_init_type(49)"} + toTag("ISO15693_Get_System_Information", {"2"}));
    EXPECT_EQ((QStringList{text(DsfidField), text(AfiField)}), (QStringList{"5A", "A5"}));
    EXPECT_EQ(page.optionFlag(), 0);

    // A short answer and a silent tag: the fields stay empty and the flag stays 1.
    harness.reader().script("ISO15693_Get_System_Information", answer(QByteArray(11, '\1')));
    click(InformationButton);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: ISO15693_Get_System_Information");
    harness.reader().scriptStatus("ISO15693_Get_System_Information", 1);
    click(InformationButton);
    EXPECT_EQ(text(DsfidField), "");
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
    setText(DsfidField, "12");
    setText(AfiField, "34");
    for (int button : {WriteDsfidButton, LockDsfidButton, WriteAfiButton, LockAfiButton})
        click(button);
    EXPECT_EQ(calls(), toTag("ISO15693_Write_DSFID", {"6,18"}) + toTag("ISO15693_Lock_DSFID", {"6"})
                           + toTag("ISO15693_Write_AFI", {"6,52"}) + toTag("ISO15693_Lock_AFI", {"6"}));
    EXPECT_EQ(harness.memo(), "OK");
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
    for (int size : {56, 55, 56, 56})
        harness.reader().script("ISO15693_Read", answer(QByteArray(size, '\x77')));
    click(ReadButton);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: ISO15693_Read");
    harness.reader().script("ISO15693_Get_Block_Security", answer(QByteArray(27, '\0')));
    click(ReadButton);
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: ISO15693_Get_Block_Security");
    EXPECT_EQ(page.grid()->GetRowBytes(1), QByteArray(4, '\1'));
    EXPECT_EQ(text(FirstStatusField + 1), "01");
}

TEST_F(Iso15693PageTest, WriteSendsEveryBlockFromTheFirstToTheLastChangedOne)
{
    CIso15693Page &page = open(CardKind::IcodeSli);
    findTag();
    click(WriteButton);
    EXPECT_EQ(harness.memo(), "Error: No change data");
    readSli();
    harness.reader().clearCalls();
    PageHarness::typeAt(page.grid(), 4 * 3, "ab");
    PageHarness::typeAt(page.grid(), 4 * 7 + 3, "c");
    click(WriteButton);
    EXPECT_EQ(calls(), toTag("ISO15693_Write", {"2,3"}, "AB030303") + toTag("ISO15693_Write", {"2,4"}, "04040404")
                           + toTag("ISO15693_Write", {"2,5"}, "05050505") + toTag("ISO15693_Write", {"2,6"}, "06060606")
                           + toTag("ISO15693_Write", {"2,7"}, "070707C7"));
    EXPECT_EQ(harness.memo(), "Communication successful");

    // A failing block stops the write; the blocks before it stay written.
    harness.reader().clearCalls();
    harness.reader().scriptStatus("ISO15693_Write", 0);
    harness.reader().scriptStatus("ISO15693_Write", 4);
    click(WriteButton);
    EXPECT_EQ(harness.logLines(), (QStringList{"ISO15693_Write 0", "ISO15693_Write 4"}));

    // Scrolling away and back forgets the edits.
    page.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    page.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    click(WriteButton);
    EXPECT_EQ(harness.memo(), "Error: No change data");
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
    for (int p = 0; p < 32; ++p)
        harness.reader().script("Srf55vp_Read", answer(QByteArray(8, char(p)) + QByteArray(12, '\x77')));
    click(CSrf55vPage::ReadButton);
    EXPECT_EQ(calls(), callRun("Srf55vp_Read(%1) " + Uid, 0, 32));
    EXPECT_EQ(harness.logLines(), QStringList{"Srf55vp_Read 0"});
    EXPECT_EQ(page.grid()->GetRowBytes(31), QByteArray(8, char(31)));

    harness.reader().script("Srf55vp_Read", answer(QByteArray(8, '\1')));
    harness.reader().scriptStatus("Srf55vp_Read", 1);
    click(CSrf55vPage::ReadButton);
    EXPECT_TRUE(harness.logLines().isEmpty());
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
    click(CSrf55vPage::WriteButton);
    EXPECT_EQ(harness.memo(), "Error: No change data");
    PageHarness::typeAt(page.grid(), 8 * 5, "1");
    PageHarness::typeAt(page.grid(), 8 * 9 + 7, "2");
    QByteArray pages[5];
    for (int p = 5; p <= 9; ++p) {
        pages[p - 5] = page.grid()->GetRowBytes(p);
        harness.reader().script("Srf55vp_Write_Reread", answer(pages[p - 5]));
    }
    click(CSrf55vPage::WriteButton);
    EXPECT_EQ(calls().size(), 5);
    EXPECT_EQ(calls()[0], "Srf55vp_Write_Reread(5) " + Uid + "1000000000000000");
    EXPECT_EQ(calls()[4], "Srf55vp_Write_Reread(9) " + Uid + "0000000000000020");
    EXPECT_EQ(harness.memo(), "OK");

    // One byte read back wrong, or a short read-back, is status 1 and stops.
    const QByteArray wrong[] = {QByteArray::fromHex("1000000000000001"), QByteArray::fromHex("10")};
    for (const QByteArray &answer : wrong) {
        harness.reader().clearCalls();
        harness.reader().script("Srf55vp_Write_Reread", pagechecks::answer(answer));
        click(CSrf55vPage::WriteButton);
        EXPECT_EQ(calls().size(), 1);
        EXPECT_EQ(harness.memo(), "Error: 1 ,function: Srf55vp_Write_Reread");
    }
    page.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    click(CSrf55vPage::WriteButton);
    EXPECT_EQ(harness.memo(), "Error: No change data");
}

} // namespace
