#include "QtPrinters.h"
#include "consoles/CListTipWnd.h"
#include "consoles/CTipListBox.h"
#include "consoles/CTipListDelegate.h"

#include <QApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(TipListBox, LongLinesAreCutWithDotsWrappedInTheTipAndTheTipStaysInsideTheList)
{
    const QString text = QStringLiteral("00a4040000112233");
    const struct {
        int textWidth, rectWidth;
        QString shown;
    } cuts[] = {
        {100, 100, text},                               // fits exactly
        {161, 150, QStringLiteral("00a4040000 ... ")}, // 10 px per character, rounded down: 15 fit, 10 kept
        {160, 40, QStringLiteral(" ... ")},             // fewer than five fit: dots only
        {31, 30, text + QStringLiteral(" ... ")},      // average 1 px: more fit than there are
    };
    for (const auto &c : cuts)
        EXPECT_EQ(CTipListDelegate::ShownItemText(text, c.textWidth, c.rectWidth), c.shown) << c.rectWidth;
    EXPECT_EQ(CTipListDelegate::ShownItemText(QString(), 0, 0), QString());

    const QString a(60, u'a'), b(60, u'b');
    EXPECT_EQ(CListTipWnd::WrapTipText(QString()), QStringList());
    EXPECT_EQ(CListTipWnd::WrapTipText(a), QStringList{a});
    EXPECT_EQ(CListTipWnd::WrapTipText(a + b + a), (QStringList{a, b, a}));

    const struct {
        QPoint click;
        int firstWidth, pieces;
        QRect tip;
    } tips[] = {
        {{180, 20}, 50, 1, {144, 20, 56, 16}}, // moved left by what passes the right edge
        {{10, 90}, 50, 3, {10, 58, 56, 42}},   // moved up by what passes the bottom
        {{190, 95}, 194, 2, {0, 71, 200, 29}},
    };
    for (const auto &c : tips)
        EXPECT_EQ(CListTipWnd::TipRect(c.click, c.firstWidth, c.pieces, 13, QSize(200, 100)), c.tip) << c.click.x();
}

class TipListBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list = new CTipListBox(&window);
        // Wide enough for a tip of 60 characters, which then opens at the click.
        list->setGeometry(0, 0, 600, 150);
        window.resize(620, 170);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        list->setFocus();
    }

    QStringList selected() const
    {
        QStringList texts;
        for (const QListWidgetItem *item : list->selectedItems())
            texts.append(item->text());
        return texts;
    }
    QPoint at(int row) const { return list->visualItemRect(list->item(row)).center(); }
    void click(int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(row)); }

    QWidget window;
    CTipListBox *list = nullptr;
};

// The console contract test holds the newest line selected and Clear emptying the list.
TEST_F(TipListBoxTest, ClickedLineIsTheOnlySelectionDoubleClickHandsItOverAndTheNewestIsDrawnSelected)
{
    for (const char *line : {"0011", "0022", "0033"})
        list->AddItem(QString::fromLatin1(line));
    const QImage image = list->viewport()->grab().toImage();
    const QRect first = list->visualItemRect(list->item(0)), newest = list->visualItemRect(list->item(2));
    EXPECT_EQ(newest.height(), list->fontMetrics().height());
    EXPECT_EQ(image.pixelColor(newest.right() - 20, newest.center().y()), CTipListDelegate::SelectedItemFill);
    EXPECT_EQ(image.pixelColor(newest.topLeft()), CTipListDelegate::FocusFrameColour) << "the newest line has the focus";
    EXPECT_EQ(image.pixelColor(first.right() - 20, first.center().y()), list->palette().color(QPalette::Base));

    QStringList handed;
    QObject::connect(list, &CTipListBox::lineDoubleClicked, [&](const QString &text) { handed.append(text); });
    click(0);
    click(0);
    EXPECT_EQ(selected(), QStringList{"0011"}) << "a second click keeps the line";
    click(1);
    EXPECT_EQ(selected(), QStringList{"0022"});
    EXPECT_EQ(list->tipWindow(), nullptr) << "no tip unless enabled";

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at(2));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(100, 140));
    EXPECT_EQ(handed, QStringList{"0033"}) << "nothing below the last line";
}

TEST_F(TipListBoxTest, ClickedLineShowsWholeInTheTipUntilTheNextPressOrKey)
{
    list->AddItem(QStringLiteral("00a4"));
    list->AddItem(QString(60, u'a') + QString(30, u'b'));
    list->EnableTip();
    CListTipWnd *tip = list->tipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(tip->isVisible());

    click(1);
    ASSERT_TRUE(tip->isVisible() && QWidget::mouseGrabber() == tip);
    EXPECT_EQ(tip->pieces(), (QStringList{QString(60, u'a'), QString(30, u'b')}));

    // The next press hides the tip and still reaches the list: it selects the line clicked.
    QTest::mousePress(tip, Qt::LeftButton, {}, tip->mapFromGlobal(list->viewport()->mapToGlobal(at(0))));
    EXPECT_EQ(selected(), QStringList{"00a4"});
    EXPECT_EQ(tip->pieces(), QStringList{"00a4"}) << "the forwarded press shows its own line";
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(!tip->isVisible() && QWidget::mouseGrabber() == nullptr);
}

} // namespace
