#include "FrameFixture.h"

#include "app/CHalvidView.h"
#include "app/CardPages.h"
#include "pages/CCardPage.h"
#include "pages/CPortSetPage.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>

namespace {

using HalvidViewTest = FrameFixture;

TEST_F(HalvidViewTest, PortPageIsCentredReplacesThePreviousPageAndScrollsWhenTallerThanTheView)
{
    CHalvidView view;
    showAt(view, 1000, 120);
    view.ShowPortPage();
    QPointer<CCardPage> first = view.page();
    ASSERT_NE(qobject_cast<CPortSetPage *>(first.data()), nullptr);
    EXPECT_EQ(first->x(), (view.width() - first->width()) / 2);
    const int content = first->contentHeight();
    ASSERT_GT(content, view.viewport()->height());
    EXPECT_EQ(std::pair(view.scrollHeight(), view.canvas()->height()), std::pair(content, content));

    view.verticalScrollBar()->setValue(30);
    view.ShowPortPage();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);

    // Narrower than the page: the page's left edge stays in view; grown past it, no scrolling.
    showAt(view, 300, content + 200);
    EXPECT_EQ(std::tuple(view.page()->x(), view.scrollHeight(), view.canvas()->height()), std::tuple(0, 100, view.viewport()->height()));
}

TEST_F(HalvidViewTest, EveryRegisteredPageIsBuiltAndPlacedAndTheOtherCardTypesLeaveTheViewEmpty)
{
    CHalvidView view;
    // Wide enough for the widest page, the 704-unit consoles.
    showAt(view, 1200, 500);
    int filling = 0, centred = 0;
    for (int cardType = -1; cardType <= CardTypeCount; ++cardType) {
        SCOPED_TRACE(cardType);
        const CardKind kind = CardKind(cardType);
        view.ShowPage(kind);
        EXPECT_EQ(view.shownCardType(), kind);
        if (!HasCardTypeRow(kind) || !HasCardPage(kind)) {
            EXPECT_EQ(view.page(), nullptr);
            EXPECT_EQ(view.scrollHeight(), 100);
            continue;
        }
        ASSERT_NE(view.page(), nullptr);
        EXPECT_TRUE(view.page()->isVisible());
        if (CardTypeEntry(kind).placement == PagePlacement::FillsView) {
            ++filling;
            // It covers the view, and grows below it when its controls reach further down.
            EXPECT_EQ(view.page()->geometry(), QRect(0, 0, view.viewport()->width(),
                                                     std::max(view.viewport()->height(), view.page()->contentHeight())));
        } else {
            ++centred;
            EXPECT_EQ(view.page()->x(), (view.width() - view.page()->width()) / 2);
        }
    }
    // Both placements were seen, so neither branch above is dead.
    EXPECT_GT(filling, 0);
    EXPECT_GT(centred, 0);
}

} // namespace
