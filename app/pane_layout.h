// Where the main window puts its tool bar, tree, splitter and list, and the
// smallest client area at which all of them stay usable. Window-free. The
// figures are the design's, at 96 DPI; each function scales them to `dpi`.
#pragma once
#include "ui/dpi_scale.h"

#include <vector>

namespace panes {

inline constexpr int kToolBarHeight = 30;
inline constexpr int kSplitterWidth = 3;
// The tool buttons end here (four of 24 pixels from x = 2, a gap of 8
// before the last), with a little room after them.
inline constexpr int kToolBarMinWidth = 110;
// Neither pane gets narrower than this while the window has room for both,
// and the panes never get lower.
inline constexpr int kMinPaneWidth = 100;
inline constexpr int kMinPaneHeight = 80;
// The tool buttons: 24 pixels square, 4 below the bar's top edge.
inline constexpr int kButtonSize = 24;
inline constexpr int kButtonTop = 4;

struct Size {
    int width = 0;
    int height = 0;
};

struct Bounds {
    int x = 0, y = 0, width = 0, height = 0;
};

struct Arrangement {
    Bounds toolBar, buttons, tree, splitter, list;
};

// The smallest client area of the main window.
Size MinimumClient(int dpi = ui::kDesignDpi);

// The tree's width in a client area `clientWidth` wide when the user wants
// `wanted`: within reach of both panes' smallest width; an area too narrow
// for both splits what there is between them.
int TreeWidth(int wanted, int clientWidth, int dpi = ui::kDesignDpi);

// The lines a menu bar `barWidth` wide takes for items of these widths
// (the first counted from the bar's left edge), put on one line until the
// next would pass its end; an item wider than the bar has a line to itself.
// At least one line.
int MenuRows(const std::vector<int>& itemWidths, int barWidth);

// The tool bar across the top, the tree (`wantedTree` as TreeWidth allows),
// the splitter and the list filling the rest below it, and the row of tool
// buttons inside the bar. Nothing negative.
Arrangement Arrange(int clientWidth, int clientHeight, int wantedTree, int dpi = ui::kDesignDpi);

} // namespace panes
