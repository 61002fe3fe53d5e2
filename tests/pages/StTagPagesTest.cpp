#include "PageChecks.h"

#include "controls/CHexEdit.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"

#include <QTest>

#include <functional>

namespace {

using namespace pagechecks;

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
        harness.reader().setDefault("rf_st_select", hexAnswer("4B"));
        harness.reader().setDefault(p().read, answer(QByteArray(p().blockBytes, '\x5A')));
    }
    const StPage &p() const { return GetParam(); }
    int field(int block) const { return p().firstBlockField + block; }
};

TEST_P(StTagPagesTest, RequestShowsTheChipIdAndEmptiesTheBlocksOrTriesTwiceAndKeepsThem)
{
    runSession(harness, m_page.get(), {{.button = p().request, .typed = {{field(1), "11"}}, .calls = Attempt,
                                        .shown = {{p().chipId, "4B"}, {field(1), ""}}, .memo = "OK"}});
    EXPECT_EQ(harness.waits(), std::vector<int>{10});
    runSession(harness, m_page.get(), {
        {.button = p().request, .typed = {{field(1), "11"}},
         .answers = {{"rf_antenna_sta", answer({}, 3)}, {"rf_st_select", answer({}, 1)}},
         .calls = QStringList{"rf_antenna_sta(0)"} + Attempt, .shown = {{p().chipId, ""}, {field(1), "11"}},
         .memo = "Error: 1 ,function: rf_st_select"},
    });
    EXPECT_EQ(harness.logLines().first(), "rf_antenna_sta 3");
    EXPECT_EQ(harness.sounds(), 2);
}

TEST_P(StTagPagesTest, ReadCardShowsEveryBlockAndAFailureKeepsTheEarlierOnes)
{
    Answers blocks = answerRun(p().read, 0, p().failingBlock, [this](int block) { return QByteArray(p().blockBytes, char(block)); });
    blocks.push_back({p().read, answer({}, 9)});
    const int last = p().failingBlock - 1;
    runSession(harness, m_page.get(), {
        {.button = p().readCard, .calls = callRun(p().read + "(%1)", 0, p().blockCount),
         .shown = {{field(p().blockCount - 1), QString("5A").repeated(p().blockBytes)}}, .memo = "OK"},
        {.button = p().readCard, .answers = blocks, .calls = callRun(p().read + "(%1)", 0, p().failingBlock + 1),
         .shown = {{field(last), hexText(QByteArray(p().blockBytes, char(last)))}, {field(p().failingBlock), ""}},
         .memo = QString("Error: 9 ,function: Read block: %1 error!").arg(p().failingBlock)},
        // A short block is a failure with status 0.
        {.button = p().readCard, .answers = {{p().read, answer(QByteArray(1, '\x01'))}},
         .memo = "Error: 0 ,function: Read block: 0 error!", .log = {{p().read + " 0"}}},
    });
}

TEST_P(StTagPagesTest, WriteBlockSendsAFullBlockAndLockAsksFirstAndCancelSendsNothing)
{
    const QStringList blocks = items(p().blockList);
    EXPECT_EQ((QStringList{blocks.first(), blocks.last()}), p().listEnds);
    const QString block = p().listEnds.last();
    const QString data = QString("ab").repeated(p().blockBytes);
    harness.answerNextBox(MessageAnswer::Cancel);
    runSession(harness, m_page.get(), {
        {.button = p().writeBlock, .typed = {{p().blockList, block}, {field(block.toInt()), data}},
         .calls = {{QString("%1(%2) %3").arg(p().write, block, data.toUpper())}}, .memo = "OK"},
        {.button = p().lock, .typed = {{p().lockRegister, "0c"}}, .calls = QStringList{}},
        {.button = p().lock, .calls = {{p().protect + "(12)"}}, .memo = "OK"},
    });
    ASSERT_EQ(boxTexts(harness), (QStringList{"Be sure to lock?", "Be sure to lock?"}));
    EXPECT_EQ(harness.messageBoxes().front().buttons, MessageButtons::OkCancel);
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
    EXPECT_EQ(page.tabRect(1), QRect(area.left() + 130, area.top() + 387, 110, 30));

    // The frame is open over the shown tab; the other tab's top edge is light like the frame's.
    const QColor light(255, 255, 90);
    const auto tabLine = [&page, &area](int tab) {
        return page.grab().toImage().pixelColor(page.tabRect(tab).center().x(), area.bottom() + 1);
    };
    EXPECT_NE(tabLine(0), light);
    EXPECT_EQ(tabLine(1), light);
    const auto shown = [&page](int block) { return !page.control(CSrix4kPage::FirstBlockField + block)->isHidden(); };
    EXPECT_EQ((std::pair{shown(63), shown(64)}), (std::pair{true, false}));
    page.hexEdit(CSrix4kPage::FirstBlockField + 5)->setText("01020304");
    QTest::mouseClick(&page, Qt::LeftButton, {}, page.tabRect(1).center());
    EXPECT_EQ(page.shownTab(), 1);
    EXPECT_EQ(tabLine(0), light);
    EXPECT_EQ((std::pair{shown(0), shown(127)}), (std::pair{false, true}));
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
