#include "PageChecks.h"

#include "controls/CHexEdit.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"

#include <QTest>

#include <functional>

namespace {

// What the SR176 and SRIX4K pages share, told apart by their ids and reader functions.
struct StPage {
    const char *name;
    std::function<CCardPage *()> create;
    int request, readCard, writeBlock, lock, blockList, chipId, lockRegister;
    int blockCount, blockBytes;
    int firstBlockField;
    QString read, write, protect;
    int failingBlock; // a block on the hidden tab page, for the SRIX4K
    QStringList listEnds;
};

const StPage Pages[] = {
    {"SR176", [] { return new CSr176Page; }, CSr176Page::RequestButton, CSr176Page::ReadButton,
     CSr176Page::WriteButton, CSr176Page::LockButton, CSr176Page::BlockList, CSr176Page::ChipIdField,
     CSr176Page::LockRegisterField, 16, 2, CSr176Page::FirstBlockField,
     "rf_sr176_readblock", "rf_sr176_writeblock", "rf_sr176_protectblock", 5, {"4", "14"}},
    {"SRIX4K", [] { return new CSrix4kPage; }, CSrix4kPage::RequestButton, CSrix4kPage::ReadButton,
     CSrix4kPage::WriteButton, CSrix4kPage::LockButton, CSrix4kPage::BlockList, CSrix4kPage::ChipIdField,
     CSrix4kPage::LockRegisterField, 128, 4, CSrix4kPage::FirstBlockField,
     "rf_srix4k_readblock", "rf_srix4k_writeblock", "rf_srix4k_writelockreg", 70, {"0", "127"}},
};

const QStringList Attempt = {"rf_antenna_sta(0)", "rf_init_type(115)", "rf_antenna_sta(1)", "rf_st_select()"};

class StTagPagesTest : public PageTest<CCardPage, ::testing::TestWithParam<StPage>>
{
protected:
    void SetUp() override
    {
        show(GetParam().create());
        harness.reader().setDefault("rf_st_select", pagechecks::hexAnswer("4B"));
        harness.reader().setDefault(p().read, pagechecks::answer(QByteArray(p().blockBytes, '\x5A')));
    }
    const StPage &p() const { return GetParam(); }
    int field(int block) const { return p().firstBlockField + block; }
};

TEST_P(StTagPagesTest, RequestShowsTheChipIdAndEmptiesTheBlocksOrTriesTwiceAndKeepsThem)
{
    setText(field(1), "11");
    click(p().request);
    EXPECT_EQ(calls(), Attempt);
    EXPECT_EQ(harness.waits(), std::vector<int>{10});
    EXPECT_EQ((QStringList{text(p().chipId), text(field(1)), harness.memo()}), (QStringList{"4B", "", "OK"}));

    harness.reader().clearCalls();
    setText(field(1), "11");
    harness.reader().scriptStatus("rf_antenna_sta", 3);
    harness.reader().scriptStatus("rf_st_select", 1);
    click(p().request);
    EXPECT_EQ(calls(), QStringList{"rf_antenna_sta(0)"} + Attempt);
    EXPECT_EQ(harness.logLines().first() + " " + harness.memo(), "rf_antenna_sta 3 Error: 1 ,function: rf_st_select");
    EXPECT_EQ(harness.sounds(), 2);
    EXPECT_EQ((QStringList{text(p().chipId), text(field(1))}), (QStringList{"", "11"}));
}

TEST_P(StTagPagesTest, ReadCardShowsEveryBlockAndAFailureKeepsTheEarlierOnes)
{
    click(p().readCard);
    EXPECT_EQ(calls(), pagechecks::callRun(p().read + "(%1)", 0, p().blockCount));
    EXPECT_EQ(text(field(p().blockCount - 1)) + " " + harness.memo(), QString("5A").repeated(p().blockBytes) + " OK");

    harness.reader().clearCalls();
    for (int block = 0; block < p().failingBlock; ++block)
        harness.reader().script(p().read, pagechecks::answer(QByteArray(p().blockBytes, char(block))));
    harness.reader().scriptStatus(p().read, 9);
    click(p().readCard);
    EXPECT_EQ(calls().size(), p().failingBlock + 1);
    EXPECT_EQ(harness.memo(), QString("Error: 9 ,function: Read block: %1 error!").arg(p().failingBlock));
    const int last = p().failingBlock - 1;
    EXPECT_EQ(text(field(last)) + text(field(p().failingBlock)), pagechecks::hexText(QByteArray(p().blockBytes, char(last))));

    // A short block is a failure with status 0.
    harness.reader().script(p().read, pagechecks::answer(QByteArray(1, '\x01')));
    click(p().readCard);
    EXPECT_EQ(harness.logLines(), QStringList{p().read + " 0"});
    EXPECT_EQ(harness.memo(), "Error: 0 ,function: Read block: 0 error!");
}

TEST_P(StTagPagesTest, WriteBlockSendsAFullBlockAndLockAsksFirstAndCancelSendsNothing)
{
    const QStringList blocks = items(p().blockList);
    EXPECT_EQ((QStringList{blocks.first(), blocks.last()}), p().listEnds);
    const QString block = p().listEnds.last();
    const QString data = QString("ab").repeated(p().blockBytes);
    choose(p().blockList, block);
    setText(field(block.toInt()), data);
    click(p().writeBlock);
    EXPECT_EQ(harness.memo(), "OK");

    setText(p().lockRegister, "0c");
    harness.answerNextBox(MessageAnswer::Cancel);
    click(p().lock);
    ASSERT_EQ(pagechecks::boxTexts(harness), QStringList{"Be sure to lock?"});
    EXPECT_EQ(harness.messageBoxes().front().buttons, MessageButtons::OkCancel);
    click(p().lock);
    EXPECT_EQ(calls(), (QStringList{QString("%1(%2) %3").arg(p().write, block, data.toUpper()), p().protect + "(12)"}));
    EXPECT_EQ(harness.memo(), "OK");
}

INSTANTIATE_TEST_SUITE_P(Pages, StTagPagesTest, ::testing::ValuesIn(Pages),
                         [](const ::testing::TestParamInfo<StPage> &info) { return std::string(info.param.name); });

TEST(Srix4kPageTest, TheGridFollowsThePageWidthAndTheTabsSwitchTheShownBlocks)
{
    PageHarness harness;
    CSrix4kPage page;
    page.resize(1000, 600);
    page.layoutForWidth(1024);

    const QRect chipLabel = page.controlRect(CSrix4kPage::ChipIdLabel);
    const QRect area = page.gridArea();
    EXPECT_EQ((QList<int>{area.left(), area.top(), area.right(), page.contentHeight()}),
              (QList<int>{chipLabel.x() + chipLabel.width() + 20, chipLabel.y(), 1000 - 20 - 1, area.top() + 452}));
    const int w = (area.width() - 40) / 4;
    struct Place {
        int block, labelX, fieldX, fieldWidth, row;
    };
    for (const Place &place : {Place{17, w + 18, w + 74, w - 52, 1}, Place{47, 2 * w + 24, 2 * w + 82, w - 56, 15}}) {
        const QRect label = page.control(CSrix4kPage::FirstBlockLabel + place.block)->geometry();
        const QRect field = page.control(CSrix4kPage::FirstBlockField + place.block)->geometry();
        EXPECT_EQ(label.x() - area.left(), place.labelX) << place.block;
        EXPECT_EQ(field, QRect(area.left() + place.fieldX, area.top() + 20 + 22 * place.row, place.fieldWidth, 18))
            << place.block;
    }
    EXPECT_EQ(page.tabRect(1), QRect(area.left() + 130, area.top() + 387, 110, 30));

    // The frame: light along the top, grey along the bottom; open over the shown tab, the
    // other tab's light top edge in the line.
    const QColor light(255, 255, 90), grey(128, 128, 128);
    const auto pixel = [&page](int x, int y) { return page.grab().toImage().pixelColor(x, y); };
    const int tabLine = area.bottom() + 1;
    EXPECT_EQ((QList<QColor>{pixel(area.center().x(), area.top()), pixel(area.right() - 5, tabLine),
                             pixel(page.tabRect(1).center().x(), tabLine)}), (QList<QColor>{light, grey, light}));
    const QColor open = pixel(page.tabRect(0).center().x(), tabLine);
    EXPECT_TRUE(open != light && open != grey);

    const auto shown = [&page](int block) { return !page.control(CSrix4kPage::FirstBlockField + block)->isHidden(); };
    EXPECT_TRUE(shown(63) && !shown(64));
    page.hexEdit(CSrix4kPage::FirstBlockField + 5)->setText("01020304");
    QTest::mouseClick(&page, Qt::LeftButton, {}, page.tabRect(1).center());
    EXPECT_EQ(page.shownTab(), 1);
    EXPECT_EQ((QList<QColor>{pixel(page.tabRect(0).center().x(), tabLine), pixel(page.tabRect(0).left() - 5, tabLine)}),
              (QList<QColor>{light, grey}));
    EXPECT_TRUE(!shown(0) && shown(127));
    // Clicks on the shown tab or outside the tabs change nothing.
    QTest::mouseClick(&page, Qt::LeftButton, {}, page.tabRect(1).center());
    QTest::mouseClick(&page, Qt::LeftButton, {}, page.tabRect(0).bottomRight() + QPoint(0, 5));
    EXPECT_EQ(page.shownTab(), 1);
    QTest::mouseClick(&page, Qt::LeftButton, {}, page.tabRect(0).center());
    EXPECT_EQ(page.shownTab(), 0);
    EXPECT_TRUE(shown(5));
    EXPECT_EQ(PageHarness::text(&page, CSrix4kPage::FirstBlockField + 5), "01020304");
}

} // namespace
