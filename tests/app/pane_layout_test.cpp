// Where the main window's tool bar and panes go, whatever its width.
#include "app/pane_layout.h"

#include <gtest/gtest.h>

namespace {

using namespace panes;

TEST(PaneLayout, TheSmallestClientHoldsTheToolButtonsAndBothPanes)
{
    Size min = MinimumClient();
    EXPECT_GE(min.width, kToolBarMinWidth);
    EXPECT_GE(min.width, 2 * kMinPaneWidth + kSplitterWidth);
    EXPECT_EQ(min.height, kToolBarHeight + kMinPaneHeight);
    // At that size a tree wanted anywhere still leaves the list its width.
    for (int wanted : {-50, 0, kMinPaneWidth, 173, 10000}) {
        Arrangement a = Arrange(min.width, min.height, wanted);
        EXPECT_GE(a.tree.width, kMinPaneWidth) << wanted;
        EXPECT_GE(a.list.width, kMinPaneWidth) << wanted;
        EXPECT_EQ(a.list.height, kMinPaneHeight) << wanted;
    }
}

TEST(PaneLayout, TheTreeKeepsTheWidthWantedWithinReachOfBothPanes)
{
    const int w = 600;
    const int widest = w - kSplitterWidth - kMinPaneWidth;
    struct Case {
        const char* what;
        int wanted, clientWidth, expected;
    };
    const Case cases[] = {
        {"as wanted", 173, w, 173},
        {"the narrowest tree", kMinPaneWidth, w, kMinPaneWidth},
        {"narrower than a pane may be", 10, w, kMinPaneWidth},
        {"past the left edge", -300, w, kMinPaneWidth},
        {"the widest tree", widest, w, widest},
        {"past the list's smallest width", widest + 1, w, widest},
        {"past the right edge", w + 300, w, widest},
        {"an area just wide enough for both", 173, 2 * kMinPaneWidth + kSplitterWidth, kMinPaneWidth},
        {"an area too narrow: halves", 173, 103, 50},
        {"no area at all", 173, 0, 0},
        {"less than no area", 173, -20, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TreeWidth(c.wanted, c.clientWidth), c.expected) << c.what;
}

TEST(PaneLayout, ThePanesFillTheAreaBelowTheToolBarSideBySide)
{
    struct Case {
        int width, height, wanted;
    };
    const Case cases[] = {{491, 350, 173}, {600, 400, 1000}, {203, 110, 0}, {50, 20, 173}, {0, 0, 173}, {-5, -5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " tree " << c.wanted);
        Arrangement a = Arrange(c.width, c.height, c.wanted);
        int width = c.width < 0 ? 0 : c.width;
        EXPECT_EQ(a.toolBar.width, width);
        EXPECT_EQ(a.toolBar.height, kToolBarHeight);
        for (const Bounds* pane : {&a.tree, &a.splitter, &a.list}) {
            EXPECT_EQ(pane->y, kToolBarHeight);
            EXPECT_EQ(pane->height, c.height > kToolBarHeight ? c.height - kToolBarHeight : 0);
            EXPECT_GE(pane->width, 0);
        }
        EXPECT_EQ(a.tree.x, 0);
        EXPECT_EQ(a.splitter.x, a.tree.width);
        EXPECT_EQ(a.list.x, a.splitter.x + a.splitter.width);
        EXPECT_EQ(a.list.x + a.list.width, width);
    }
}

} // namespace
