#include "controls/CHexGrid.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

namespace {

// A 2 x 8 grid, 24 characters to a wrapped line, holding 40 bytes (0x00 to 0x27): three
// pages, the last one short.
class HexGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = new CHexGrid(window.get());
        grid->SetGeometry(2, 8);
        QByteArray image(40, '\0');
        std::iota(image.begin(), image.end(), char(0));
        grid->SetData(image);
        grid->resize(grid->sizeHint());
        window->show();
        grid->setFocus();
    }

    QString shown() const { return grid->property("text").toString(); }
    // Inside the left half of a character of the shown text.
    QPoint pointOf(int line, int column) const
    {
        const QSize hint = grid->sizeHint();
        const int width = (hint.width() - 4) / 24, height = (hint.height() - 4) / 2;
        return {2 + column * width + width / 4, 2 + line * height + height / 2};
    }

    std::unique_ptr<QWidget> window;
    CHexGrid *grid = nullptr;
};

} // namespace

TEST_F(HexGridTest, OnlyTypedDigitsChangeTheText)
{
    QSignalSpy edited(grid, &CHexGrid::byteEdited);
    QTest::keyClicks(grid, QStringLiteral("ab9G%"));
    EXPECT_TRUE(shown().startsWith(QStringLiteral("ab 91 02 ")));
    EXPECT_EQ(grid->GetModifiedBytes(), QByteArray::fromHex("ab91"));
    ASSERT_EQ(edited.count(), 3);
    EXPECT_EQ(edited.at(2).at(0).toInt(), 1);

    const QString before = shown();
    QApplication::clipboard()->setText(QStringLiteral("FFFF"));
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_V, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Backspace})
        QTest::keyClick(grid, key, key == Qt::Key_V ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(grid->caretPosition(), 2);
    // Arrows move by a character and by a wrapped line.
    for (const auto &[keys, caret] : {std::pair{std::pair{Qt::Key_Down, Qt::Key_Right}, 27}, {{Qt::Key_Up, Qt::Key_Left}, 2}}) {
        QTest::keyClick(grid, keys.first);
        QTest::keyClick(grid, keys.second);
        EXPECT_EQ(grid->caretPosition(), caret);
    }
}

TEST_F(HexGridTest, PagesShowTheImageFromTheirFirstCellAndClicksPlaceTheCaret)
{
    grid->ShowGridPage(1);
    EXPECT_TRUE(shown().startsWith(QStringLiteral("10 11 ")));
    EXPECT_EQ(shown().size(), 24 * 3);
    grid->ShowGridPage(3);
    EXPECT_EQ(grid->currentPage(), 1);

    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, pointOf(1, 3));
    EXPECT_EQ(grid->caretPosition(), 27);
    // A drag collapses to a caret where the button is let go.
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, pointOf(0, 1));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, pointOf(0, 6));
    QTest::keyClicks(grid, QStringLiteral("e"));
    EXPECT_EQ(grid->GetModifiedBytes(), QByteArray::fromHex("e2"));
    EXPECT_EQ(grid->GetFirstModifiedRow(), 2);

    grid->ShowGridPage(2);
    EXPECT_EQ(shown(), QStringLiteral("20 21 22 23 24 25 26 27 "));
    grid->ClearData();
    EXPECT_EQ(shown(), QStringLiteral("00 ").repeated(8));
}
