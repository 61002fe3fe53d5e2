#include "controls/HexGridModel.h"

#include <gtest/gtest.h>

// Found by tests/fuzz/hex_grid_model: new geometry left the caret past the text the current page
// shows, where the model promises it never stands. The page itself stays.
TEST(HexGridFuzzFindings, NewGeometryKeepsTheCaretInTheShownText)
{
    struct Case
    {
        int rows, cells, expectedCaret;
    } const cases[] = {{16, 16, 0}, {6, 6, 12}, {1, 4, 19}};
    for (const Case &c : cases) {
        HexGridModel grid;
        grid.SetGeometry(2, 4);
        grid.SetData(QByteArray(40, '\x11'));
        ASSERT_TRUE(grid.ShowGridPage(1));
        grid.setCaretPosition(19);
        grid.SetGeometry(c.rows, c.cells);
        EXPECT_EQ(grid.currentPage(), 1) << c.rows;
        EXPECT_EQ(grid.caretPosition(), c.expectedCaret) << c.rows;
    }
}
