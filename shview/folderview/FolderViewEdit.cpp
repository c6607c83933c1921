// The folder tree's renames (in place and on the file list's behalf) and the
// mouse: the shell menu on a right click, the drag source on a left drag.
#include "shview/folderview/FolderView.h"

#include "shview/rename_names.h"

#include <utility>

using idlist::AbsoluteIDList;
using idlist::ChildIDList;

void TFolderView::RenameChild(PCUITEMID_CHILD oldRelative, PCUITEMID_CHILD newRelative)
{
    ui::TreeNode selected = Selected();
    ui::TreeNode node = FindChild(selected, oldRelative);
    if (!node || !newRelative)
        return;
    ChildIDList data = idlist::IDListFirst(newRelative);
    if (!data)
        return;
    ui::ComPtr<IShellFolder> folder = NodeFolder(selected);
    SetText(node, idlist::IDListDisplayName(folder.get(), newRelative, SHGDN_NORMAL));
    ChildIDList old = ChildIDList::Adopt(const_cast<ITEMID_CHILD*>(NodeData(node)));
    SetData(node, reinterpret_cast<LPARAM>(data.release()));
    old.reset();
    ShowInComboView(selected);
}

void TFolderView::LabelEdited(ui::TreeNode node, const wchar_t* text)
{
    // The node whose label was edited: the control can edit any node, not only
    // the selected one.
    PCUITEMID_CHILD data = NodeData(node);
    if (!node || !data || Level(node) == 0 || !text)
        return;
    ui::ComPtr<IShellFolder> parent = ParentFolder(node);
    if (!parent)
        return;
    // SetNameOf may show the shell's own dialogs, whose message loop may
    // rebuild the tree and free every node with its identifier: only copies
    // are held across it, and the node is looked up again afterwards.
    AbsoluteIDList absolute = NodeIDList(node);
    ChildIDList old = idlist::IDListFirst(data);
    const std::wstring shown = Text(node); // the control has not taken the typed text yet
    node = nullptr;
    data = nullptr;
    if (!absolute || !old)
        return;
    std::wstring typed = text; // the control's buffer is not ours either
    // The edit began from the node's text; a text left as it was renames
    // nothing. A folder's whole new name goes to the shell for parsing in its
    // parent, so that no extension is added to it (a folder "x.cur" stays one
    // when the shell hides the extensions of files); other items take the
    // name as shown.
    const std::wstring name =
        shview::NameToSet(typed, shown, idlist::IDListDisplayName(parent.get(), old.get(), SHGDN_FORPARSING));
    if (name.empty())
        return;
    PCUITEMID_CHILD items[] = {old.get()};
    SFGAOF attributes = SFGAO_FILESYSTEM;
    if (FAILED(parent->GetAttributesOf(1, items, &attributes)))
        attributes = 0;
    const SHGDNF flags = (attributes & SFGAO_FILESYSTEM) ? SHGDN_INFOLDER | SHGDN_FORPARSING : SHGDN_NORMAL;
    // The whole name goes to the shell: a shortened one would name another item.
    ChildIDList renamed;
    HRESULT hr = E_FAIL;
    {
        ui::BusyScope busy(OnBusy, this);
        hr = parent->SetNameOf(Handle(), old.get(), name.c_str(), flags, renamed.put());
        // Renamed without the new identifier: ask for it by name.
        if (SUCCEEDED(hr) && !renamed && Handle())
            renamed = idlist::IDListParseChild(parent.get(), Handle(), {name});
    }
    if (!Handle())
        return;
    // Without a rebuild meanwhile the node is still there under its old
    // identifier; after one the tree already shows what the shell has.
    ui::TreeNode found = FindLoadedNode(absolute.get());
    if (!found)
        return;
    if (FAILED(hr)) {
        // The shell has told the user why; show the name it still has.
        SetText(found, idlist::IDListDisplayName(parent.get(), old.get(), SHGDN_NORMAL));
        return;
    }
    if (!renamed) {
        // Renamed, but not to be found under any name: the node's identifier
        // names nothing now. It goes; the next rebuild shows the folder.
        Delete(found);
        return;
    }
    ChildIDList stale = ChildIDList::Adopt(const_cast<ITEMID_CHILD*>(NodeData(found)));
    ITEMID_CHILD* fresh = renamed.release(); // the node owns it now
    SetData(found, reinterpret_cast<LPARAM>(fresh));
    SetText(found, idlist::IDListDisplayName(parent.get(), fresh, SHGDN_NORMAL));
    stale.reset();
    ShowInComboView(Selected());
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
    PCUITEMID_CHILD data = NodeData(node);
    if (!node || !data || Level(node) == 0)
        return;
    ui::ComPtr<IShellFolder> parent = ParentFolder(node);
    if (!parent)
        return;
    POINT screen{x, y};
    ClientToScreen(Handle(), &screen);
    // The folder the menu acts on wears the drop-target mark while the menu
    // is open; the marks go back as they were when it closes (nodes deleted
    // meanwhile, by a command of the menu or a refresh, are forgotten).
    menuNode_ = node;
    markedBeforeMenu_ = DropHighlighted();
    SetDropHighlighted(node);
    struct PutMarksBack {
        TFolderView& tree;
        ~PutMarksBack()
        {
            if (tree.Handle() && tree.DropHighlighted() == tree.menuNode_)
                tree.SetDropHighlighted(tree.markedBeforeMenu_);
            tree.menuNode_ = tree.markedBeforeMenu_ = nullptr;
        }
    } putBack{*this};
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
    PCUITEMID_CHILD data = NodeData(dragged);
    if (!data || Level(dragged) == 0)
        return;
    ui::ComPtr<IShellFolder> parent = ParentFolder(dragged);
    if (!parent)
        return;
    DropSource->DragItems(Handle(), parent.get(), 1, data);
}
