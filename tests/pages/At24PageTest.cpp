#include "PageChecks.h"

#include "controls/CHexGrid.h"
#include "pages/CAt24Page.h"

#include <QScrollBar>

namespace {

using enum CAt24Page::ControlId;
using namespace pagechecks;

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i + seed) & 0xFF);
    return bytes;
}

class At24PageTest : public PageTest<CAt24Page>
{
protected:
    CAt24Page &open(CardKind kind)
    {
        PageTest::open();
        m_page->setCardType(kind);
        m_page->resize(1200, 700);
        m_page->layoutForWidth(1200);
        return *m_page;
    }
    CHexGrid *grid() { return m_page->control<CHexGrid>(Grid); }
    QScrollBar *bar() { return m_page->control<QScrollBar>(ScreenScrollBar); }
    // Overtypes the byte at `address` of the shown screen.
    void typeAt(int address, const QString &digits) { PageHarness::typeAt(grid(), address % 256, digits); }
};

TEST_F(At24PageTest, ReadCardReadsTheWholeMemoryIn128BytePiecesAndAFailureKeepsTheGrid)
{
    const struct {
        CardKind cardType;
        int reads, screens; // screens 0: no scroll bar
    } cases[] = {{CardKind::At24c01, 1, 0}, {CardKind::At24c02, 2, 0}, {CardKind::At24c08, 8, 4}, {CardKind::At24c64, 64, 32}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.cardType));
        open(c.cardType);
        EXPECT_EQ(bar()->isHidden() ? 0 : bar()->maximum() + 1, c.screens);
        const Answers pieces = answerRun("AT24_read", 0, c.reads, [](int i) { return pattern(128, i); });
        runSession(harness, m_page.get(), {{.button = ReadButton, .answers = pieces,
                                            .calls = QStringList{"OpenCard()"} + callRun("AT24_read(%1,128)", 0, 128 * c.reads, 128),
                                            .memo = "Communication successful"}});
        EXPECT_EQ(grid()->model().cellCount(), 128 * c.reads);
        // The last piece lands at its address.
        EXPECT_EQ(grid()->model().dataText().mid(3 * 128 * (c.reads - 1), 5).toString(), QStringLiteral("%1 %2")
                      .arg(c.reads - 1, 2, 16, QLatin1Char('0')).arg(c.reads, 2, 16, QLatin1Char('0')).toUpper());
    }
    // The AT24C01 shows its 8 lines in the top half of the others' grid.
    open(CardKind::At24c01);
    const int smallHeight = grid()->height();
    open(CardKind::At24c02);
    EXPECT_EQ(grid()->height() - grid()->height() / 2, smallHeight);
    EXPECT_EQ(bar()->y() + bar()->height() + 50, m_page->contentHeight());
    // A wider view keeps the block centred.
    m_page->show();
    const int left = m_page->control(ReadButton)->x();
    m_page->resize(1600, 700);
    EXPECT_EQ(m_page->control(ReadButton)->x(), left + 200);

    // A failed read keeps the grid and reports the call.
    open(CardKind::At24c04);
    harness.reader().setDefault("AT24_read", answer(pattern(128, 0x40)));
    click(ReadButton);
    const QString before = grid()->text();
    runSession(harness, m_page.get(), {{.button = ReadButton,
                                        .answers = {{"AT24_read", answer(pattern(128, 1))}, {"AT24_read", answer({}, 0x33)}},
                                        .memo = "Error: 33 ,function: AT24_read"}});
    EXPECT_EQ(harness.logLines(), (QStringList{"OpenCard 0", "AT24_read 0", "AT24_read 33"}));
    EXPECT_EQ(grid()->text(), before);
    runSession(harness, m_page.get(), {{.button = ReadButton, .answers = {{"OpenCard", answer({}, 1)}}, .calls = {{"OpenCard()"}}}});
}

TEST_F(At24PageTest, WriteCardWritesTheChangedRangeInPiecesFromTheFirstChangedByte)
{
    open(CardKind::At24c64);
    // Nothing typed: no call.
    runSession(harness, m_page.get(), {{.button = WriteButton, .calls = QStringList{}, .memo = "Error: No change data"}});

    // 0x00 and 0xC8 changed: 201 bytes from 0, as 128 and 73; the write clears the marks.
    typeAt(0x00, "A1");
    typeAt(0xC8, "B2");
    runSession(harness, m_page.get(), {
        {.button = WriteButton,
         .calls = {{"OpenCard()", "AT24_write(0,128) A1" + QString(254, '0'), "AT24_write(128,73) " + QString(144, '0') + "B2"}},
         .memo = "Communication successful"},
        {.button = WriteButton, .calls = QStringList{}, .memo = "Error: No change data"},
    });

    // Three bytes at 0x10 to 0x12 on the second screen: one piece of 3 at 0x110.
    bar()->setValue(1);
    typeAt(0x110, "010203");
    runSession(harness, m_page.get(), {{.button = WriteButton, .calls = {{"OpenCard()", "AT24_write(272,3) 010203"}}}});

    // A failed piece stops the write and keeps the marks.
    typeAt(0x100, "11");
    typeAt(0x1FF, "22");
    const QString first = "AT24_write(256,128) 11" + QString(30, '0') + "010203" + QString(218, '0');
    runSession(harness, m_page.get(), {
        {.button = WriteButton, .answers = {{"AT24_write", answer({})}, {"AT24_write", answer({}, 0x44)}},
         .memo = "Error: 44 ,function: AT24_write"},
        {.button = WriteButton, .calls = {{"OpenCard()", first, "AT24_write(384,128) " + QString(254, '0') + "22"}}},
    });
}

TEST_F(At24PageTest, ScrollingShowsAnotherScreenAndDropsTheMarks)
{
    open(CardKind::At24c64);
    typeAt(0x05, "77");
    // A step beyond the first screen's top changes nothing.
    bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid()->currentPage(), 0);
    EXPECT_EQ(grid()->GetModifiedBytes(), QByteArray::fromHex("77"));

    bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid()->currentPage(), 1);
    click(WriteButton);
    EXPECT_EQ(harness.memo() + calls().join(""), "Error: No change data");

    bar()->setValue(31);
    typeAt(31 * 256, "99");
    bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid()->currentPage(), 31);
    EXPECT_EQ(grid()->GetFirstModifiedByte(), 31 * 256);
}

} // namespace
