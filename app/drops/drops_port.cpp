#include "app/drops/drops_port.h"

#include "app/pane_paths.h"
#include "shview/fileview/FileView.h"
#include "shview/folderview/FolderView.h"

namespace {

POINT ClientPoint(HWND window, POINT screen) noexcept
{
    ScreenToClient(window, &screen);
    return screen;
}

} // namespace

HWND ViewDropPanes::TreeWindow() const { return tree_.Handle(); }

HWND ViewDropPanes::ListWindow() const { return list_.Handle(); }

ui::TreeNode ViewDropPanes::FolderNodeAt(POINT screen) const
{
    const POINT at = ClientPoint(tree_.Handle(), screen);
    ui::TreeNode node = tree_.NodeAt(at.x, at.y);
    return node && !IsVirtualNode(tree_, node) ? node : nullptr;
}

std::wstring ViewDropPanes::NodeFolder(ui::TreeNode node) const { return GetNodePath(tree_, node); }

void ViewDropPanes::HighlightNode(ui::TreeNode node) { tree_.SetDropHighlighted(node); }

int ViewDropPanes::FolderItemAt(POINT screen) const
{
    const POINT at = ClientPoint(list_.Handle(), screen);
    const int item = list_.ItemAt(at.x, at.y);
    return item >= 0 && FolderExists(GetItemPath(list_, item)) ? item : -1;
}

std::wstring ViewDropPanes::ItemFolder(int item) const { return item >= 0 ? GetItemPath(list_, item) : std::wstring(); }

bool ViewDropPanes::ItemHighlighted(int item) const
{
    return item >= 0 && item < list_.Count() && list_.IsDropHighlighted(item);
}

void ViewDropPanes::HighlightItem(int item, bool on)
{
    // Index -1 would reach every item.
    if (item >= 0 && item < list_.Count())
        list_.SetDropHighlighted(item, on);
}

std::wstring ViewDropPanes::ViewFolder() const
{
    return tree_.SelectedIsVirtual() ? std::wstring() : tree_.SelectedPath();
}

HWND ViewDropPanes::Owner() const { return list_.Handle() ? GetAncestor(list_.Handle(), GA_ROOT) : nullptr; }
