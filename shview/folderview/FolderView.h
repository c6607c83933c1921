// The folder tree: the desktop as the single root and every folder the shell
// enumerates below it, filled as nodes are first expanded. Selecting a node
// points the linked file list at that folder.
//
// Each node owns its identifier (the root the desktop's empty list, every
// other node its relative identifier within its parent's folder) as the
// node's data; it is freed when the node is deleted, also when the tree goes.
#pragma once
#include "shell/ContextMenuEx.h"
#include "shell/DropSourceEx.h"
#include "idlist/idlist.h"
#include "shview/view_links.h"
#include "ui/busy.h"
#include "ui/image_list.h"
#include "ui/treeview.h"

#include <string>
#include <vector>

class TFolderView : public ui::TreeView, public shview::TreeLink {
public:
    TFolderView();
    ~TFolderView() override;

    // Creates the control's window and builds the tree from the desktop.
    bool Create(HWND parent, int id = 0);
    // Shows the shell's icons at the small-icon size of `dpi` (the window
    // moved to a monitor of that DPI); the nodes keep their indices.
    void SetDpi(int dpi);

    // Discards every node and starts again from the desktop with its children,
    // the root selected and shown in the linked views. Nothing while Updating.
    void BuildTree();
    // Adds the sub-folders of a node that has no child nodes yet; a folder
    // without any loses its expand button. A folder that cannot be read gets
    // nothing, and the selection goes back to CurrentNode.
    void FillChildren(ui::TreeNode node);
    // Reads a filled node's sub-folders again and adds those it has no node
    // for (folders made since); the nodes it has stay as they are.
    void ReadChildrenAgain(ui::TreeNode node);
    // Reads the children of every expanded folder again, from the root down,
    // and applies the differences in place: folders made since get nodes,
    // vanished ones lose theirs with everything below them; the other nodes,
    // the expansion and the scroll position stay. A selection inside a
    // vanished folder goes to its nearest surviving ancestor first (which
    // points the linked views there). A folder that cannot be read is left
    // as it is. Nothing while Updating or a fill is reading.
    struct SyncCounts {
        int added = 0;
        int removed = 0;
    };
    SyncCounts ReadExpandedAgain();
    // The node whose children are being read from the shell, none otherwise.
    ui::TreeNode FillingNode() const noexcept { return fillingNode_; }
    // Selects the node of a typed path, filling and expanding the nodes on the
    // way. A path the desktop cannot parse (or that starts with "/") changes
    // nothing; one that parses but is not in the tree leaves no selection.
    void SelectPath(const std::wstring& path);
    // Parsing name of the selected folder (its full path for a file-system
    // folder); empty without a selection.
    std::wstring SelectedPath() const;
    void SelectIDList(PCIDLIST_ABSOLUTE absolute) override;
    // Selects a child of the selected node (the file list's double click). A
    // child the tree does not know is looked for once more after the node's
    // children are read again; one still not there changes nothing.
    void OpenChild(PCUITEMID_CHILD relative) override;
    // Follows a child of the selected node that the file list renamed: its
    // text and identifier change, its children and expansion stay.
    void RenameChild(PCUITEMID_CHILD oldRelative, PCUITEMID_CHILD newRelative) override;
    // Selects PreviousNode, if there is one (the file list could not read the
    // selected folder).
    void GoBack() override;
    // True without a selection, for the root and for a folder without a
    // file-system path.
    bool SelectedIsVirtual() const;
    // The child of `node` naming the same item as `relative`, filling `node`
    // first (and reading a filled node's children again when the child is
    // not among them); none if there is none.
    ui::TreeNode FindChild(ui::TreeNode node, PCUITEMID_CHILD relative);
    // The node of an absolute identifier (the empty one: the root), filling
    // and expanding every node on the way; none if a step is not found.
    ui::TreeNode FindNode(PCIDLIST_ABSOLUTE absolute);
    // The same among the nodes the tree already has: nothing is filled.
    ui::TreeNode FindLoadedNode(PCIDLIST_ABSOLUTE absolute) const;
    // The node's absolute identifier (new, owned by the caller).
    idlist::AbsoluteIDList NodeIDList(ui::TreeNode node) const;
    // The node's own identifier (relative; the root's is the desktop's empty list).
    PCUITEMID_CHILD NodeData(ui::TreeNode node) const noexcept;
    // Points the linked views at the node's folder; nothing while Updating.
    void UpdateLinkedViews(ui::TreeNode node);

    // The node most recently handled as the selection, and the one before it;
    // both are cleared when their node is deleted.
    ui::TreeNode CurrentNode() const noexcept { return currentNode_; }
    ui::TreeNode PreviousNode() const noexcept { return previousNode_; }
    // While true (a rebuild or a fill), selection changes do not reach the linked views.
    bool Updating = false;

    // Links. Setting the file list also links the list back to this tree
    // (and unlinks the old list).
    void SetFileView(shview::FolderLink* view);
    shview::FolderLink* FileView() const noexcept;
    // The folder combo box, told the folder the tree shows each time the
    // linked views are pointed at a folder and when the shown folder or one
    // above it is renamed; linked back like the file list.
    void SetComboView(shview::FolderLink* combo);
    shview::FolderLink* ComboView() const noexcept;
    // Shell menu for a right click on a node other than the root.
    ui::Link<TContextMenuEx> ContextMenu;
    // Drag source for a left-button drag of a node other than the root. The
    // drag starts once the press has become a drag; a plain click selects.
    ui::Link<TDropSourceEx> DropSource;

    // Raised with true before and false after every fill of a node's
    // children and every rename, in pairs (also when one throws): each may
    // run the shell's dialogs and so a nested message loop.
    ui::BusyEvent OnBusy;
    // Raised when a node is deleted, after its identifier is freed (not while
    // the tree itself is being destroyed).
    ui::Event<ui::Component*, ui::TreeNode> OnDeleting;
    // Raised on every selection change, with the new node (or none), before
    // the linked views are pointed at it; and with the selected node after an
    // in-place rename of it or of a folder above it.
    ui::Event<ui::Component*, ui::TreeNode> OnChange;

    // Indent between levels as the main window has it.
    static constexpr int kIndent = 19;

protected:
    // After whatever the control did, the selection it shows is the one the
    // linked views show: the control moves it without a word when it
    // collapses a folder above the selected one.
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    // The menu key and Shift+F10: the selected node's menu, as a right click
    // on it opens it.
    void KeyContextMenu();
    // True for the messages those keys bring: WM_CONTEXTMENU without a point
    // (a right click's menu opens on the button's release) and Shift+F10
    // itself, which the tree control does not turn into that message.
    static bool KeyMenuMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

private:
    // The folder an absolute identifier names, bound through the desktop.
    static ui::ComPtr<IShellFolder> BindFolder(PCIDLIST_ABSOLUTE absolute);
    // The folder whose items are the node's children (the desktop for the root).
    ui::ComPtr<IShellFolder> NodeFolder(ui::TreeNode node) const;
    // The folder that holds the node's item (the desktop for the root's children).
    ui::ComPtr<IShellFolder> ParentFolder(ui::TreeNode node) const;
    void SetNodeIcons(ui::TreeNode node, PCIDLIST_ABSOLUTE absolute);
    // Adds a node for every sub-folder of `node` it has no child node for.
    void AddChildNodes(ui::TreeNode node);
    // The identifiers of the sub-folders of `node`'s folder, with the node
    // marked as being filled and OnBusy raised; false when it cannot be read.
    bool ReadChildItems(ui::TreeNode node, IShellFolder* folder, std::vector<idlist::ChildIDList>& items);
    // A node for `child` under `node` (which takes the identifier over).
    bool AddChildNode(ui::TreeNode node, IShellFolder* folder, IShellIcon* icons, PCIDLIST_ABSOLUTE absolute,
                      idlist::ChildIDList& child);
    void SortChildNodes(ui::TreeNode node, IShellFolder* folder);
    // ReadExpandedAgain for one expanded node, then its expanded children.
    void SyncChildNodes(ui::TreeNode node, SyncCounts& counts);
    // True when `node` is `ancestor` or lies below it.
    bool IsWithin(ui::TreeNode node, ui::TreeNode ancestor) const noexcept;
    // The child node of `node` naming `relative` in `folder`, among the nodes there.
    ui::TreeNode LoadedChild(IShellFolder* folder, ui::TreeNode node, PCUITEMID_CHILD relative) const;
    // Hands a selection the control moved on its own to SelectionChanged.
    void FollowSelection();
    void NodeDeleted(ui::TreeNode node, LPARAM data);
    void SelectionChanged(ui::TreeNode node);
    void LabelEdited(ui::TreeNode node, const wchar_t* text);
    void ShowInComboView(ui::TreeNode node);
    // The node a mouse action at (x, y) acts on: the node under the pointer,
    // else the selection.
    ui::TreeNode ActionNode(int x, int y) const noexcept;

    ui::Component& LinkedComponent() noexcept override { return *this; }

    ui::ShellImageList images_;
    shview::PeerLink<shview::FolderLink> fileView_;
    shview::PeerLink<shview::FolderLink> comboView_;
    ui::TreeNode currentNode_ = nullptr;
    ui::TreeNode previousNode_ = nullptr;
    // The node whose press the control reported as the start of a drag.
    ui::TreeNode dragNode_ = nullptr;
    // While a node's shell menu is open: that node, and the node that had
    // the drop-target mark before (none once deleted).
    ui::TreeNode menuNode_ = nullptr;
    ui::TreeNode markedBeforeMenu_ = nullptr;
    // Between the start of an in-place edit and its (first) end.
    bool labelEditing_ = false;
    // While a selection change is handled: what its handlers ask of the
    // control is no move of the selection to follow.
    bool inSelectionChange_ = false;
    bool destroying_ = false;
    ui::TreeNode fillingNode_ = nullptr;
};
