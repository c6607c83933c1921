#include "app/pane_layout.h"

#include <algorithm>

namespace panes {

Size MinimumClient()
{
    return {std::max(kToolBarMinWidth, 2 * kMinPaneWidth + kSplitterWidth), kToolBarHeight + kMinPaneHeight};
}

int TreeWidth(int wanted, int clientWidth)
{
    int room = std::max(0, clientWidth - kSplitterWidth);
    int widest = room - kMinPaneWidth;
    if (widest < kMinPaneWidth)
        return room / 2;
    return std::clamp(wanted, kMinPaneWidth, widest);
}

int MenuRows(const std::vector<int>& itemWidths, int barWidth)
{
    int rows = 1;
    int x = 0;
    for (int width : itemWidths) {
        if (x > 0 && x + width > barWidth) {
            ++rows;
            x = 0;
        }
        x += width;
    }
    return rows;
}

Arrangement Arrange(int clientWidth, int clientHeight, int wantedTree)
{
    int width = std::max(0, clientWidth);
    int paneHeight = std::max(0, clientHeight - kToolBarHeight);
    int tree = TreeWidth(wantedTree, width);
    int splitter = std::min(kSplitterWidth, width - tree);
    Arrangement a;
    a.toolBar = {0, 0, width, kToolBarHeight};
    a.tree = {0, kToolBarHeight, tree, paneHeight};
    a.splitter = {tree, kToolBarHeight, splitter, paneHeight};
    a.list = {tree + splitter, kToolBarHeight, width - tree - splitter, paneHeight};
    return a;
}

} // namespace panes
