#include "controls/HexGridModel.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

QByteArray counting(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(i));
    return bytes;
}

// Types the text at a caret position of the shown page.
void typeAt(HexGridModel &grid, int caret, const QString &text)
{
    grid.setCaretPosition(caret);
    for (const QChar character : text)
        grid.typeCharacter(character);
}

} // namespace

TEST(HexGridModel, LoadingPadsToOnePageAndCountsPages)
{
    struct Case
    {
        int bytes, rows, cells, expectedCells, expectedPages;
    } const cases[] = {
        {4, 16, 16, 256, 1}, {0, 16, 16, 256, 1}, {300, 16, 16, 300, 2}, {512, 16, 16, 512, 2},
        {513, 16, 16, 513, 3}, {40, 2, 8, 40, 3},   {3, 2, 8, 16, 1},
    };
    for (const Case &c : cases) {
        HexGridModel grid;
        grid.SetGeometry(c.rows, c.cells);
        grid.SetData(counting(c.bytes));
        EXPECT_EQ(grid.cellCount(), c.expectedCells) << c.bytes;
        EXPECT_EQ(grid.dataText().size(), 3 * c.expectedCells) << c.bytes;
        EXPECT_EQ(grid.GetPageCount(), c.expectedPages) << c.bytes;
        EXPECT_EQ(grid.modifiedFirst(), -1);
    }

    HexGridModel grid;
    const uint8_t image[] = {0x00, 0x0A, 0xFF, 0x10};
    grid.SetDataBytes(image, 4);
    EXPECT_TRUE(grid.dataText().startsWith(u"00 0A FF 10 00 "));
    EXPECT_EQ(grid.dataText().mid(12).count(u"00 "), 252);
    grid.SetDataBytes(nullptr, 4);
    EXPECT_EQ(grid.GetRowBytes(0), QByteArray(16, 0));
    EXPECT_EQ(grid.GetRowBytes(-1), QByteArray());
    EXPECT_EQ(grid.GetRowBytes(16), QByteArray());
    // Geometry that would leave no page is refused.
    grid.SetGeometry(0, 8);
    EXPECT_EQ(grid.rowsPerPage(), 16);
}

TEST(HexGridModel, OvertypingDigitsSkipsTheBlanks)
{
    HexGridModel grid;
    grid.SetData(QByteArray("\x12\x34", 2));
    EXPECT_EQ(grid.typeCharacter(u'5'), 0);
    EXPECT_EQ(grid.modifiedFirst(), 0);
    EXPECT_EQ(grid.modifiedLast(), 1);
    EXPECT_EQ(grid.GetModifiedBytes(), QByteArray("\x52", 1));
    EXPECT_EQ(grid.caretPosition(), 1);
    // The low digit, then the caret jumps the separator; letters keep the case they were typed in.
    EXPECT_EQ(grid.typeCharacter(u'a'), 0);
    EXPECT_EQ(grid.caretPosition(), 3);
    EXPECT_TRUE(grid.dataText().startsWith(u"5a 34 "));

    // On a blank a digit only moves the caret; other characters do nothing at all.
    grid.setCaretPosition(5);
    EXPECT_EQ(grid.typeCharacter(u'7'), -1);
    EXPECT_EQ(grid.caretPosition(), 6);
    for (const QChar other : QStringLiteral("g G%-\r"))
        EXPECT_EQ(grid.typeCharacter(other), -1);
    EXPECT_EQ(grid.caretPosition(), 6);
    EXPECT_TRUE(grid.dataText().startsWith(u"5a 34 00 "));
    EXPECT_EQ(grid.GetModifiedBytes(), QByteArray("\x5a", 1));

    grid.moveCaretLeft();
    EXPECT_EQ(grid.caretPosition(), 5);
    grid.setCaretPosition(0);
    grid.moveCaretLeft();
    EXPECT_EQ(grid.caretPosition(), 0);
}

TEST(HexGridModel, ModifiedRangeGrowsToCoverEveryTypedPosition)
{
    struct Case
    {
        std::vector<int> carets;
        int first, last;
    } const cases[] = {
        {{0}, 0, 1},
        {{10}, 10, 11},
        {{10, 4}, 4, 11},     // p < first
        {{10, 4, 21}, 4, 22}, // p + 1 > last
        {{10, 21, 12}, 10, 22},
        {{21, 0}, 0, 22}, // p == 0
        {{1, 0}, 0, 2},
    };
    for (const Case &c : cases) {
        HexGridModel grid;
        grid.SetData(counting(16));
        for (const int caret : c.carets)
            typeAt(grid, caret, QStringLiteral("f"));
        EXPECT_EQ(grid.modifiedFirst(), c.first) << c.carets.size();
        EXPECT_EQ(grid.modifiedLast(), c.last) << c.carets.size();
        EXPECT_EQ(grid.GetFirstModifiedByte(), c.first / 3);
        EXPECT_EQ(grid.GetModifiedBytes().size(), (c.last + 2) / 3 - c.first / 3);
    }
}

TEST(HexGridModel, PagesShiftTheShownTextAndKeepTheCaret)
{
    HexGridModel grid;
    grid.SetGeometry(2, 8);
    grid.SetData(counting(40));
    EXPECT_EQ(grid.GetFirstModifiedRow(), -1);
    EXPECT_EQ(grid.GetLastModifiedRow(), -1);
    EXPECT_EQ(grid.GetFirstModifiedByte(), 0);

    grid.setCaretPosition(4);
    ASSERT_TRUE(grid.ShowGridPage(1));
    EXPECT_TRUE(grid.shownText().startsWith(u"10 11 "));
    EXPECT_EQ(grid.caretPosition(), 4);
    grid.typeCharacter(u'9');
    EXPECT_EQ(grid.GetFirstModifiedByte(), 17);
    EXPECT_EQ(grid.GetFirstModifiedRow(), 2);
    EXPECT_EQ(grid.GetLastModifiedRow(), 2);
    EXPECT_EQ(grid.GetModifiedBytes(), QByteArray("\x19", 1));
    EXPECT_EQ(grid.GetRowBytes(2), QByteArray::fromHex("1019121314151617"));

    // Past the page count nothing changes.
    for (const int page : {-1, 3, 100}) {
        EXPECT_FALSE(grid.ShowGridPage(page));
        EXPECT_EQ(grid.currentPage(), 1);
    }
    // Positions past the shown page's rows are out of reach of typing.
    grid.setCaretPosition(48);
    EXPECT_EQ(grid.typeCharacter(u'1'), -1);
    EXPECT_EQ(grid.GetRowBytes(4), QByteArray::fromHex("2021222324252627"));
}

TEST(HexGridModel, CaretPastAShortLastPageWritesNothing)
{
    HexGridModel grid;
    grid.SetGeometry(2, 8);
    grid.SetData(counting(40));
    grid.setCaretPosition(40);
    // The last page holds 8 cells, 24 characters: the caret stops at its end.
    ASSERT_TRUE(grid.ShowGridPage(2));
    EXPECT_EQ(grid.shownText().size(), 24);
    EXPECT_EQ(grid.caretPosition(), 24);
    const QString before = grid.dataText().toString();
    EXPECT_EQ(grid.typeCharacter(u'f'), -1);
    EXPECT_EQ(grid.dataText(), before);
    EXPECT_EQ(grid.modifiedFirst(), -1);

    // A larger page geometry can leave the current page past the data: nothing is shown or written.
    grid.SetGeometry(16, 16);
    EXPECT_TRUE(grid.shownText().isEmpty());
    grid.setCaretPosition(3);
    EXPECT_EQ(grid.caretPosition(), 0);
    EXPECT_EQ(grid.typeCharacter(u'f'), -1);
    EXPECT_EQ(grid.dataText(), before);

    // Before anything is loaded there is nothing to overtype either.
    HexGridModel empty;
    EXPECT_EQ(empty.GetPageCount(), 0);
    EXPECT_EQ(empty.typeCharacter(u'1'), -1);
    EXPECT_TRUE(empty.GetRowBytes(0).isEmpty());
}

TEST(HexGridModel, LoadingDiscardsTheRangeClearingKeepsItResetKeepsTheData)
{
    HexGridModel grid;
    grid.SetData(counting(300));
    typeAt(grid, 3, QStringLiteral("ab"));
    grid.ClearData();
    EXPECT_EQ(grid.cellCount(), 300);
    EXPECT_EQ(grid.dataText().count(u"00 "), 300);
    EXPECT_EQ(grid.GetModifiedBytes(), QByteArray(1, 0));

    typeAt(grid, 6, QStringLiteral("cd"));
    grid.ResetModifiedRange();
    EXPECT_TRUE(grid.GetModifiedBytes().isEmpty());
    EXPECT_EQ(grid.GetFirstModifiedRow(), -1);
    EXPECT_EQ(grid.GetRowBytes(0).at(2), char(0xCD));

    typeAt(grid, 0, QStringLiteral("1"));
    grid.SetData(counting(4));
    EXPECT_EQ(grid.modifiedFirst(), -1);
    EXPECT_EQ(grid.modifiedLast(), -1);
    EXPECT_TRUE(grid.GetModifiedBytes().isEmpty());
}

// Random overtyping across page boundaries against a plain byte vector that tracks the first
// and last changed byte.
TEST(HexGridModel, AgreesWithAByteVectorOverRandomEdits)
{
    constexpr int Rows = 2, Cells = 8, PageCharacters = Rows * Cells * 3;
    std::mt19937 random(20240611);
    const QString typed = QStringLiteral("0123456789abcdefABCDEFg ");
    for (int round = 0; round < 8; ++round) {
        const int size = std::uniform_int_distribution<int>(1, 70)(random);
        std::vector<uint8_t> oracle(std::max(size, Rows * Cells));
        for (int i = 0; i < size; ++i)
            oracle[i] = uint8_t(random());
        HexGridModel grid;
        grid.SetGeometry(Rows, Cells);
        grid.SetDataBytes(oracle.data(), size);
        int firstByte = -1, lastByte = -1;
        const int pages = int((oracle.size() + Rows * Cells - 1) / (Rows * Cells));
        ASSERT_EQ(grid.GetPageCount(), pages);

        for (int step = 0; step < 500; ++step) {
            grid.ShowGridPage(std::uniform_int_distribution<int>(-1, pages)(random));
            grid.setCaretPosition(std::uniform_int_distribution<int>(0, PageCharacters + 3)(random));
            const QChar character = typed[std::uniform_int_distribution<int>(0, int(typed.size()) - 1)(random)];
            const int caret = grid.caretPosition();
            const int position = grid.currentPage() * PageCharacters + caret;
            const int byteIndex = position / 3;
            const bool digit = character != u'g' && character != u' ';
            const bool reachable = digit && caret < PageCharacters && byteIndex < int(oracle.size());
            const bool overtypes = reachable && position % 3 != 2;
            // A digit skips the separator after it; a blank only moves the caret on.
            const int expectedCaret = !reachable ? caret : caret + (position % 3 == 0 ? 1 : position % 3 == 1 ? 2 : 1);

            ASSERT_EQ(grid.typeCharacter(character), overtypes ? byteIndex : -1);
            ASSERT_EQ(grid.caretPosition(), expectedCaret);
            if (overtypes) {
                const int value = QString(character).toInt(nullptr, 16);
                uint8_t &byte = oracle[byteIndex];
                byte = position % 3 == 0 ? uint8_t((byte & 0x0F) | value << 4) : uint8_t((byte & 0xF0) | value);
                firstByte = firstByte < 0 ? byteIndex : std::min(firstByte, byteIndex);
                lastByte = std::max(lastByte, byteIndex);
            }
            if (step % 97 == 0) {
                grid.ResetModifiedRange();
                firstByte = lastByte = -1;
            }

            const QByteArray expected = firstByte < 0
                ? QByteArray()
                : QByteArray(reinterpret_cast<const char *>(oracle.data()) + firstByte, lastByte - firstByte + 1);
            ASSERT_EQ(grid.GetModifiedBytes(), expected) << "round " << round << " step " << step;
            ASSERT_EQ(grid.GetFirstModifiedByte(), std::max(firstByte, 0));
            ASSERT_EQ(grid.GetFirstModifiedRow(), firstByte < 0 ? -1 : firstByte / Cells);
            ASSERT_EQ(grid.GetLastModifiedRow(), lastByte < 0 ? -1 : lastByte / Cells);
            const int row = std::uniform_int_distribution<int>(0, int(oracle.size()) / Cells)(random);
            const int rowEnd = std::min<int>((row + 1) * Cells, int(oracle.size()));
            ASSERT_EQ(grid.GetRowBytes(row),
                      QByteArray(reinterpret_cast<const char *>(oracle.data()) + row * Cells, std::max(rowEnd - row * Cells, 0)));
        }
    }
}
