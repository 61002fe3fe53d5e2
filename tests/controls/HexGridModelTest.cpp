#include "controls/HexGridModel.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace {

QByteArray counting(int count)
{
    QByteArray bytes(count, '\0');
    std::iota(bytes.begin(), bytes.end(), char(0));
    return bytes;
}

void typeAt(HexGridModel &grid, int caret, const QString &text)
{
    grid.setCaretPosition(caret);
    for (const QChar character : text)
        grid.typeCharacter(character);
}

} // namespace

// The random edits below hold the padding and the page count of a small grid, the hex grid's test
// the text shown.
TEST(HexGridModel, LoadingPadsToOnePageAndDiscardsTheRangeClearingKeepsIt)
{
    for (const auto &[bytes, pages] : {std::pair{0, 1}, {4, 1}, {300, 2}, {513, 3}}) {
        HexGridModel grid;
        grid.SetData(counting(bytes));
        EXPECT_EQ(grid.dataText().size(), 3 * std::max(bytes, 256)) << bytes;
        EXPECT_EQ(grid.GetPageCount(), pages) << bytes;
    }
    HexGridModel grid;
    grid.SetData(counting(300));
    EXPECT_TRUE(grid.GetRowBytes(-1).isEmpty());
    typeAt(grid, 3, QStringLiteral("ab"));
    grid.ClearData();
    EXPECT_EQ(grid.dataText().count(u"00 "), 300);
    EXPECT_EQ(grid.GetModifiedBytes(), QByteArray(1, 0));
    typeAt(grid, 0, QStringLiteral("1"));
    grid.SetData(counting(4));
    EXPECT_EQ(std::pair(grid.modifiedFirst(), grid.modifiedLast()), std::pair(-1, -1));
}

TEST(HexGridModel, TheShortLastPageAndAPagePastTheDataTakeNoTyping)
{
    HexGridModel grid;
    grid.SetGeometry(2, 8);
    grid.SetData(counting(40));
    grid.setCaretPosition(48);
    // The last page holds 8 cells: the caret stops after them, where there is nothing to overtype.
    ASSERT_TRUE(grid.ShowGridPage(2));
    EXPECT_EQ(grid.caretPosition(), 24);
    const QString before = grid.dataText().toString();
    EXPECT_EQ(grid.typeCharacter(u'f'), -1);
    // A larger page leaves the current page past the data: nothing is shown or written.
    grid.SetGeometry(16, 16);
    EXPECT_TRUE(grid.shownText().isEmpty());
    EXPECT_EQ(grid.typeCharacter(u'f'), -1);
    EXPECT_EQ(grid.dataText(), before);
}

// Random overtyping across page boundaries against a byte vector that tracks the first and
// last changed byte; a reset of the range keeps the data.
TEST(HexGridModel, AgreesWithAByteVectorOverRandomEdits)
{
    constexpr int Rows = 2, Cells = 8, PageCharacters = Rows * Cells * 3;
    std::mt19937 random(20240611);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QString typed = QStringLiteral("0123456789abcdefABCDEFg ");
    for (int round = 0; round < 8; ++round) {
        const int size = round == 0 ? 0 : pick(1, 70);
        std::vector<uint8_t> oracle(std::max(size, Rows * Cells));
        for (int i = 0; i < size; ++i)
            oracle[i] = uint8_t(random());
        HexGridModel grid;
        grid.SetGeometry(Rows, Cells);
        grid.SetDataBytes(oracle.data(), size);
        const int pages = int(oracle.size() + Rows * Cells - 1) / (Rows * Cells);
        ASSERT_EQ(grid.GetPageCount(), pages);
        int firstByte = -1, lastByte = -1;
        for (int step = 0; step < 500; ++step) {
            grid.ShowGridPage(pick(-1, pages));
            grid.setCaretPosition(pick(0, PageCharacters + 3));
            const QChar character = typed[pick(0, int(typed.size()) - 1)];
            const int caret = grid.caretPosition();
            const int position = grid.currentPage() * PageCharacters + caret;
            const int byteIndex = position / 3, inCell = position % 3;
            const bool reachable = character.isLetterOrNumber() && character != u'g' && caret < PageCharacters
                && byteIndex < int(oracle.size());
            const bool overtypes = reachable && inCell != 2;

            ASSERT_EQ(grid.typeCharacter(character), overtypes ? byteIndex : -1);
            ASSERT_EQ(grid.caretPosition(), caret + (!reachable ? 0 : inCell == 1 ? 2 : 1));
            if (overtypes) {
                const int value = QString(character).toInt(nullptr, 16);
                uint8_t &byte = oracle[byteIndex];
                byte = inCell == 0 ? uint8_t((byte & 0x0F) | value << 4) : uint8_t((byte & 0xF0) | value);
                firstByte = firstByte < 0 ? byteIndex : std::min(firstByte, byteIndex);
                lastByte = std::max(lastByte, byteIndex);
            }
            if (step % 97 == 0) {
                grid.ResetModifiedRange();
                firstByte = lastByte = -1;
            }

            const char *bytes = reinterpret_cast<const char *>(oracle.data());
            ASSERT_EQ(grid.GetModifiedBytes(), firstByte < 0 ? QByteArray() : QByteArray(bytes + firstByte, lastByte - firstByte + 1));
            ASSERT_EQ(std::tuple(grid.GetFirstModifiedByte(), grid.GetFirstModifiedRow(), grid.GetLastModifiedRow()),
                      std::tuple(std::max(firstByte, 0), firstByte < 0 ? -1 : firstByte / Cells, lastByte < 0 ? -1 : lastByte / Cells));
            const int row = pick(0, int(oracle.size()) / Cells);
            const int rowBytes = std::clamp(int(oracle.size()) - row * Cells, 0, Cells);
            ASSERT_EQ(grid.GetRowBytes(row), QByteArray(bytes + row * Cells, rowBytes)) << "round " << round << " step " << step;
        }
    }
}

// Found by tests/fuzz/hex_grid_model: new geometry left the caret past the text the current page
// shows, where the model promises it never stands. The page itself stays.
TEST(HexGridFuzzFindings, NewGeometryKeepsTheCaretInTheShownText)
{
    const struct {
        int rows, cells, expectedCaret;
    } cases[] = {{16, 16, 0}, {6, 6, 12}, {1, 4, 19}};
    for (const auto &c : cases) {
        HexGridModel grid;
        grid.SetGeometry(2, 4);
        grid.SetData(QByteArray(40, '\x11'));
        ASSERT_TRUE(grid.ShowGridPage(1));
        grid.setCaretPosition(19);
        grid.SetGeometry(c.rows, c.cells);
        EXPECT_EQ(std::pair(grid.currentPage(), grid.caretPosition()), std::pair(1, c.expectedCaret)) << c.rows;
    }
}
