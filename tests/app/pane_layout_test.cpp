// Where the main window's tool bar and panes go, whatever its width.
#include "app/pane_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace panes;

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

TEST(PaneLayout, MenuItemsWrapOntoAnotherLineWhenTheNextWouldPassTheEnd)
{
    struct Case {
        const char* what;
        std::vector<int> widths;
        int barWidth, rows;
    };
    const Case cases[] = {
        {"no items", {}, 100, 1},
        {"all on one line", {30, 30, 40}, 100, 1},
        {"one past the end", {30, 30, 41}, 100, 2},
        {"three lines", {60, 60, 60}, 100, 3},
        {"an item wider than the bar", {150, 20}, 100, 2},
        {"no width at all", {10, 10}, 0, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuRows(c.widths, c.barWidth), c.rows) << c.what;
}

TEST(PaneLayout, ThePanesFillTheAreaBelowTheToolBarSideBySide)
{
    Size min = MinimumClient();
    EXPECT_GE(min.width, kToolBarMinWidth);
    const Size sizes[] = {{491, 350}, min, {50, 20}, {-5, -5}};
    for (Size size : sizes) {
        for (int wanted : {-50, 173, 10000}) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " tree " << wanted);
            Arrangement a = Arrange(size.width, size.height, wanted);
            int width = size.width < 0 ? 0 : size.width;
            EXPECT_EQ(a.toolBar.width, width);
            for (const Bounds* pane : {&a.tree, &a.splitter, &a.list}) {
                EXPECT_EQ(pane->y, kToolBarHeight);
                EXPECT_EQ(pane->height, size.height > kToolBarHeight ? size.height - kToolBarHeight : 0);
            }
            EXPECT_EQ(a.splitter.x, a.tree.width);
            EXPECT_EQ(a.list.x, a.splitter.x + a.splitter.width);
            EXPECT_EQ(a.list.x + a.list.width, width);
            if (size.width >= min.width) {
                EXPECT_GE(a.list.width, kMinPaneWidth);
            }
        }
    }
}

TEST(PaneLayout, EveryFigureIsTheDesignsScaledToTheDpi)
{
    struct Case {
        int dpi;
        int bar, buttonTop, button, tree, splitter, minWidth, minHeight;
    };
    const Case cases[] = {
        {96, 30, 4, 24, 173, 3, 203, 110},
        {120, 38, 5, 30, 216, 4, 254, 138},
        {144, 45, 6, 36, 260, 5, 305, 165},
        {192, 60, 8, 48, 346, 6, 406, 220},
        {0, 30, 4, 24, 173, 3, 203, 110}, // no DPI counts as 96
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        Arrangement a = Arrange(1000, 700, ui::Scale(173, c.dpi), c.dpi);
        EXPECT_EQ(a.toolBar.height, c.bar);
        EXPECT_EQ(a.buttons.y, c.buttonTop);
        EXPECT_EQ(a.buttons.height, c.button);
        EXPECT_EQ(a.tree.y, c.bar);
        EXPECT_EQ(a.tree.width, c.tree);
        EXPECT_EQ(a.splitter.width, c.splitter);
        EXPECT_EQ(a.list.x + a.list.width, 1000);
        EXPECT_EQ(MinimumClient(c.dpi).width, c.minWidth);
        EXPECT_EQ(MinimumClient(c.dpi).height, c.minHeight);
        // The smallest pane is scaled too.
        EXPECT_EQ(TreeWidth(0, 1000, c.dpi), ui::Scale(kMinPaneWidth, c.dpi));
    }
    // Halves away from zero, as MulDiv rounds; a DPI below 0 counts as 96.
    EXPECT_EQ(ui::Scale(-3, 144), -5);
    EXPECT_EQ(ui::Scale(10, -96), 10);
}

} // namespace
