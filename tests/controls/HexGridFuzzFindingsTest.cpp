#include "controls/HexGridModel.h"

#include <gtest/gtest.h>

// Found by tests/fuzz/hex_grid_model: larger pages or a shorter image used to leave the current
// page past the last one and the caret past the text shown.
TEST(HexGridFuzzFindings, FewerPagesKeepThePageAndTheCaretInTheImage)
{
    struct Case
    {
        const char *change;
        int expectedPage;
    } const cases[] = {{"geometry", 0}, {"shorter image", 1}};
    for (const Case &c : cases) {
        HexGridModel grid;
        grid.SetGeometry(2, 4);
        grid.SetData(QByteArray(40, '\x11'));
        ASSERT_TRUE(grid.ShowGridPage(4));
        grid.setCaretPosition(19);
        if (QByteArrayView(c.change) == "geometry")
            grid.SetGeometry(16, 16);
        else
            grid.SetData(QByteArray(16, '\x22'));
        EXPECT_EQ(grid.currentPage(), c.expectedPage) << c.change;
        EXPECT_LE(grid.caretPosition(), grid.shownText().size()) << c.change;
        EXPECT_GE(grid.typeCharacter(u'a'), 0) << c.change;
    }
}
