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

void showAt(QWidget &view, int width, int height)
{
    view.resize(width, height);
    view.show();
    QApplication::processEvents();
}

TEST_F(HalvidViewTest, CardTypesWithoutAPageLeaveTheViewEmpty)
{
    CHalvidView view;
    view.resize(800, 400);
    for (int cardType : {26, 27, 28, 254, -1}) {
        view.ShowPage(cardType);
        EXPECT_EQ(view.page(), nullptr) << cardType;
        EXPECT_EQ(view.shownCardType(), cardType);
        EXPECT_EQ(view.scrollHeight(), 100);
    }
}

TEST_F(HalvidViewTest, PortPageIsCentredAndReplacesThePreviousPage)
{
    CHalvidView view;
    showAt(view, 1000, 300);
    view.ShowPortPage();
    QPointer<CCardPage> first = view.page();
    ASSERT_NE(qobject_cast<CPortSetPage *>(first.data()), nullptr);
    EXPECT_EQ(first->templateId(), 135);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->x(), (view.width() - first->width()) / 2);

    view.ShowPortPage();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(view.page(), nullptr);

    // Narrower than the page: the page's left edge stays in view.
    showAt(view, 300, 300);
    EXPECT_EQ(view.page()->x(), 0);
}

TEST_F(HalvidViewTest, ScrollRangeIsThePagesContentHeightWhenTallerThanTheView)
{
    CHalvidView view;
    showAt(view, 1000, 120);
    view.ShowPortPage();
    const int content = view.page()->contentHeight();
    if (content > view.viewport()->height()) {
        EXPECT_EQ(view.scrollHeight(), content);
        EXPECT_EQ(view.canvas()->height(), content);
        view.verticalScrollBar()->setValue(30);
        view.ShowPortPage();
        EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    }
    // Grown past the page, the view needs no scrolling.
    view.resize(1000, content + 200);
    QApplication::processEvents();
    EXPECT_EQ(view.scrollHeight(), 100);
    EXPECT_EQ(view.canvas()->height(), view.viewport()->height());
}

TEST_F(HalvidViewTest, EveryRegisteredPageIsBuiltAndPlaced)
{
    CHalvidView view;
    // Wide enough for the widest page, the 704-unit consoles.
    showAt(view, 1200, 500);
    int filling = 0, centred = 0;
    for (int cardType = 0; cardType < CardTypeCount; ++cardType) {
        view.ShowPage(cardType);
        if (!HasCardPage(cardType)) {
            EXPECT_EQ(view.page(), nullptr) << cardType;
            continue;
        }
        ASSERT_NE(view.page(), nullptr) << cardType;
        EXPECT_TRUE(view.page()->isVisible());
        if (CardTypeEntry(cardType).placement == PagePlacement::FillsView) {
            ++filling;
            // It covers the view, and grows below it when its controls reach further down.
            const QRect placed = view.page()->geometry();
            EXPECT_EQ(placed.topLeft(), QPoint(0, 0)) << cardType;
            EXPECT_EQ(placed.width(), view.viewport()->width()) << cardType;
            EXPECT_EQ(placed.height(), std::max(view.viewport()->height(), view.page()->contentHeight())) << cardType;
        } else {
            ++centred;
            EXPECT_EQ(view.page()->x(), (view.width() - view.page()->width()) / 2) << cardType;
        }
    }
    // Both placements were seen, so neither branch above is dead.
    EXPECT_GT(filling, 0);
    EXPECT_GT(centred, 0);
}

} // namespace
