#include "QtPrinters.h"
#include "consoles/CListTipWnd.h"
#include "consoles/CTipListBox.h"
#include "consoles/CTipListDelegate.h"

#include <QApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(TipListBox, ShownTextIsCutWithDotsWhenTooWide)
{
    const QString text = QStringLiteral("00a4040000112233");
    const struct {
        int textWidth, rectWidth;
        QString shown;
    } cases[] = {
        {100, 100, text},                                   // fits exactly
        {161, 150, QStringLiteral("00a4040000 ... ")},     // 10 px per character, rounded down: 15 fit, 10 kept
        {160, 40, QStringLiteral(" ... ")},                 // fewer than five fit: dots only
        {31, 30, text + QStringLiteral(" ... ")},          // average 1 px: more fit than there are
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rectWidth);
        EXPECT_EQ(CTipListDelegate::ShownItemText(text, c.textWidth, c.rectWidth), c.shown);
    }
    EXPECT_EQ(CTipListDelegate::ShownItemText(QString(), 0, 0), QString());
}

TEST(TipListBox, TipWrapsEvery60Characters)
{
    const QString a(60, u'a');
    const QString b(60, u'b');
    const struct {
        QString text;
        QStringList pieces;
    } cases[] = {
        {QString(), {}},
        {a, {a}},
        {a + QStringLiteral("c"), {a, QStringLiteral("c")}},
        {a + b + a, {a, b, a}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(CListTipWnd::WrapTipText(c.text), c.pieces);
    }
}

TEST(TipListBox, TipStaysInsideTheListFromTheClick)
{
    const QSize client(200, 100);
    const struct {
        QPoint click;
        int firstWidth, pieces, lineHeight;
        QRect tip;
    } cases[] = {
        {{180, 20}, 50, 1, 13, {144, 20, 56, 16}},  // moved left by what passes the right edge
        {{10, 90}, 50, 3, 13, {10, 58, 56, 42}},    // moved up by what passes the bottom
        {{190, 95}, 194, 2, 13, {0, 71, 200, 29}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.click.x());
        EXPECT_EQ(CListTipWnd::TipRect(c.click, c.firstWidth, c.pieces, c.lineHeight, client), c.tip);
    }
}

class TipListBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        list = new CTipListBox(window.get());
        // Wide enough for a tip of 60 characters, which then opens at the click.
        list->setGeometry(0, 0, 600, 150);
        window->resize(620, 170);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        list->setFocus();
    }

    QStringList selected() const
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->isSelected())
                texts.append(list->item(row)->text());
        return texts;
    }

    void click(int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    std::unique_ptr<QWidget> window;
    CTipListBox *list = nullptr;
};

TEST_F(TipListBoxTest, NewestLineAndClickedLineAreTheOnlySelectionDoubleClickHandsItOver)
{
    for (const char *line : {"0011", "0022", "0033"})
        list->AddItem(QString::fromLatin1(line));
    QStringList handed;
    QObject::connect(list, &CTipListBox::lineDoubleClicked, [&](const QString &text) { handed.append(text); });
    EXPECT_EQ(selected(), QStringList{QStringLiteral("0033")});
    click(0);
    click(0);
    EXPECT_EQ(selected(), QStringList{QStringLiteral("0011")}) << "a second click keeps the line";
    click(1);
    EXPECT_EQ(selected(), QStringList{QStringLiteral("0022")});
    EXPECT_EQ(list->tipWindow(), nullptr) << "no tip unless enabled";

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(100, 140));
    EXPECT_EQ(handed, QStringList{QStringLiteral("0033")}) << "nothing below the last line";

    list->ResetItems();
    EXPECT_EQ(list->count(), 0);
}

TEST_F(TipListBoxTest, ClickedLineShowsWholeInTheTipUntilTheNextPressOrKey)
{
    const QString longLine = QString(60, u'a') + QString(30, u'b');
    list->AddItem(QStringLiteral("00a4"));
    list->AddItem(longLine);
    list->EnableTip();
    CListTipWnd *tip = list->tipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(tip->isVisible());

    click(1);
    ASSERT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->pieces(), (QStringList{QString(60, u'a'), QString(30, u'b')}));
    EXPECT_EQ(QWidget::mouseGrabber(), tip);
    const QFontMetrics metrics(list->font());
    EXPECT_EQ(tip->width(), metrics.horizontalAdvance(QString(60, u'a')) + 6 + 3);
    EXPECT_EQ(tip->height(), 2 * metrics.height() + 3);

    // The next press hides the tip and still reaches the list: it selects the line clicked.
    const QPoint onFirst = list->viewport()->mapToGlobal(list->visualItemRect(list->item(0)).center());
    QTest::mousePress(tip, Qt::LeftButton, {}, tip->mapFromGlobal(onFirst));
    EXPECT_EQ(selected(), QStringList{QStringLiteral("00a4")});
    EXPECT_EQ(tip->pieces(), QStringList{QStringLiteral("00a4")}) << "the forwarded press shows its own line";

    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(TipListBoxTest, ItemsAreDrawnInTheirColours)
{
    list->AddItem(QStringLiteral("0011"));
    list->AddItem(QStringLiteral("0022"));
    const QImage image = list->viewport()->grab().toImage();
    const QRect first = list->visualItemRect(list->item(0));
    const QRect newest = list->visualItemRect(list->item(1));
    const QPoint blank(newest.right() - 20, newest.center().y());
    EXPECT_EQ(newest.height(), list->fontMetrics().height());
    EXPECT_EQ(image.pixelColor(blank), CTipListDelegate::SelectedItemFill);
    EXPECT_EQ(image.pixelColor(newest.topLeft()), CTipListDelegate::FocusFrameColour) << "the newest line has the focus";
    EXPECT_EQ(image.pixelColor(first.right() - 20, first.center().y()), list->palette().color(QPalette::Base));
}

} // namespace
