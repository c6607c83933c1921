#include "app/pane_layout.h"

#include <algorithm>

namespace panes {

using ui::Scale;

Size MinimumClient(int dpi)
{
    return {std::max(Scale(kToolBarMinWidth, dpi), 2 * Scale(kMinPaneWidth, dpi) + Scale(kSplitterWidth, dpi)),
            Scale(kToolBarHeight, dpi) + Scale(kMinPaneHeight, dpi)};
}

int TreeWidth(int wanted, int clientWidth, int dpi)
{
    const int minPane = Scale(kMinPaneWidth, dpi);
    int room = std::max(0, clientWidth - Scale(kSplitterWidth, dpi));
    int widest = room - minPane;
    if (widest < minPane)
        return room / 2;
    return std::clamp(wanted, minPane, widest);
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

Arrangement Arrange(int clientWidth, int clientHeight, int wantedTree, int dpi)
{
    const int bar = Scale(kToolBarHeight, dpi);
    int width = std::max(0, clientWidth);
    int paneHeight = std::max(0, clientHeight - bar);
    int tree = TreeWidth(wantedTree, width, dpi);
    int splitter = std::min(Scale(kSplitterWidth, dpi), width - tree);
    Arrangement a;
    a.toolBar = {0, 0, width, bar};
    a.buttons = {0, Scale(kButtonTop, dpi), width, Scale(kButtonSize, dpi)};
    a.tree = {0, bar, tree, paneHeight};
    a.splitter = {tree, bar, splitter, paneHeight};
    a.list = {tree + splitter, bar, width - tree - splitter, paneHeight};
    return a;
}

} // namespace panes
