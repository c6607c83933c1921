// The folder tree's renames (in place and on the file list's behalf) and the
// mouse: the shell menu on a right click, the drag source on a left drag.
#include "shview/FolderView.h"

#include <utility>

using shview::IDList;

void TFolderView::RenameChild(const ITEMIDLIST* oldRelative, const ITEMIDLIST* newRelative)
{
    ui::TreeNode selected = Selected();
    ui::TreeNode node = FindChild(selected, oldRelative);
    if (!node || !newRelative)
        return;
    IDList data = shview::IDListFirst(newRelative);
    if (!data)
        return;
    ui::ComPtr<IShellFolder> folder = NodeFolder(selected);
    SetText(node, shview::IDListDisplayName(folder.get(), newRelative, SHGDN_NORMAL));
    IDList old = IDList::Adopt(const_cast<ITEMIDLIST*>(NodeData(node)));
    SetData(node, reinterpret_cast<LPARAM>(data.release()));
    old.reset();
    ShowInComboView(selected);
}

void TFolderView::LabelEdited(ui::TreeNode node, const wchar_t* text)
{
    // The node whose label was edited: the control can edit any node, not only
    // the selected one.
    const ITEMIDLIST* data = NodeData(node);
    if (!node || !data || Level(node) == 0)
        return;
    ui::ComPtr<IShellFolder> parent = ParentFolder(node);
    if (!parent)
        return;
    // The whole name goes to the shell: a shortened one would name another item.
    IDList renamed;
    HRESULT hr = parent->SetNameOf(Handle(), data, text, SHGDN_NORMAL, renamed.put());
    if (SUCCEEDED(hr) && renamed) {
        IDList old = IDList::Adopt(const_cast<ITEMIDLIST*>(data));
        ITEMIDLIST* fresh = renamed.release(); // the node owns it now
        SetData(node, reinterpret_cast<LPARAM>(fresh));
        SetText(node, shview::IDListDisplayName(parent.get(), fresh, SHGDN_NORMAL));
        old.reset();
        ShowInComboView(Selected());
    } else {
        // The shell has told the user why; show the name it still has.
        SetText(node, shview::IDListDisplayName(parent.get(), data, SHGDN_NORMAL));
    }
}

ui::TreeNode TFolderView::ActionNode(int x, int y) const noexcept
{
    ui::TreeNode node = NodeAt(x, y);
    return node ? node : Selected();
}

void TFolderView::MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y)
{
    TreeView::MouseUp(button, shift, x, y);
    if (button != ui::MouseButton::Right || !ContextMenu || !Handle())
        return;
    // The node under the pointer; the selection stays where it is.
    ui::TreeNode node = ActionNode(x, y);
    const ITEMIDLIST* data = NodeData(node);
    if (!node || !data || Level(node) == 0)
        return;
    ui::ComPtr<IShellFolder> parent = ParentFolder(node);
    if (!parent)
        return;
    POINT screen{x, y};
    ClientToScreen(Handle(), &screen);
    // A one-item list is its own packed item list.
    ContextMenu->ShowItemMenu(Handle(), parent.get(), screen, 1, data);
}

void TFolderView::MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y)
{
    // The control reports a drag (TVN_BEGINDRAGW) while it handles the press,
    // before this runs; a press that ended as a click started none.
    ui::TreeNode dragged = std::exchange(dragNode_, nullptr);
    TreeView::MouseDown(button, shift, x, y);
    if (button != ui::MouseButton::Left || !DropSource || !dragged || !Handle())
        return;
    const ITEMIDLIST* data = NodeData(dragged);
    if (!data || Level(dragged) == 0)
        return;
    ui::ComPtr<IShellFolder> parent = ParentFolder(dragged);
    if (!parent)
        return;
    DropSource->DragItems(Handle(), parent.get(), 1, data);
}
