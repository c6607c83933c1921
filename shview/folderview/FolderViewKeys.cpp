// The folder tree's keyboard menu: the menu key and Shift+F10 open the
// selected node's shell menu, as a right click on it does.
#include "shview/folderview/FolderView.h"

#include <algorithm>

bool TFolderView::KeyMenuMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept
{
    if (msg == WM_CONTEXTMENU)
        return short(LOWORD(lp)) == -1 && short(HIWORD(lp)) == -1;
    return msg == WM_SYSKEYDOWN && wp == VK_F10 && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_MENU) >= 0 &&
           GetKeyState(VK_CONTROL) >= 0;
}

void TFolderView::KeyContextMenu()
{
    ui::TreeNode node = Selected();
    if (!node || !Handle())
        return;
    TreeView_EnsureVisible(Handle(), node);
    RECT text{};
    RECT client{};
    if (!TreeView_GetItemRect(Handle(), node, &text, TRUE) || !GetClientRect(Handle(), &client))
        return;
    // The middle of the node's text, inside the window: the node a right
    // click there acts on.
    const int x = std::clamp<int>((text.left + text.right) / 2, client.left, std::max(client.left, client.right - 1));
    const int y = std::clamp<int>((text.top + text.bottom) / 2, client.top, std::max(client.top, client.bottom - 1));
    MouseUp(ui::MouseButton::Right, ui::ShiftState::Now(), x, y);
}
