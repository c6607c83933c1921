// The folder tree: the desktop as the single root and every folder the shell
// enumerates below it, filled as nodes are first expanded. Selecting a node
// points the linked file list at that folder.
#pragma once
#include "shell/ContextMenuEx.h"
#include "shell/DropSourceEx.h"
#include "shview/idlist.h"
#include "ui/treeview.h"

#include <string>

class TFileView;
class TComboView;

class TFolderView : public ui::TreeView {
public:
    TFolderView();
    ~TFolderView() override;

    // Creates the control's window and builds the tree from the desktop.
    bool Create(HWND parent, int id = 0);

    void BuildTree();
    void FillChildren(ui::TreeNode node);
    // Selects the node of a typed path; a path the desktop cannot parse changes nothing.
    void SelectPath(const std::wstring& path);
    std::wstring SelectedPath() const;
    void SelectIDList(const ITEMIDLIST* absolute);
    void OpenChild(const ITEMIDLIST* relative);
    void RenameChild(const ITEMIDLIST* oldRelative, const ITEMIDLIST* newRelative);
    bool SelectedIsVirtual() const;
    ui::TreeNode FindChild(ui::TreeNode node, const ITEMIDLIST* relative);
    ui::TreeNode FindNode(const ITEMIDLIST* absolute);
    // The node's absolute identifier (new, owned by the caller).
    shview::IDList NodeIDList(ui::TreeNode node) const;
    // The node's own identifier (relative; the root's is the desktop's empty list).
    const ITEMIDLIST* NodeData(ui::TreeNode node) const noexcept;
    void UpdateLinkedViews(ui::TreeNode node);

    ui::TreeNode CurrentNode() const noexcept { return currentNode_; }
    ui::TreeNode PreviousNode() const noexcept { return previousNode_; }
    bool Updating = false;

    // Links. Setting FileView also points the list's FolderView at this tree.
    void SetFileView(TFileView* view);
    TFileView* FileView() const noexcept { return fileView_.get(); }
    ui::Link<TContextMenuEx> ContextMenu;
    ui::Link<TDropSourceEx> DropSource;
    ui::Link<TComboView> ComboView;

    // Raised when a node is deleted, after its identifier is freed.
    ui::Event<ui::Component*, ui::TreeNode> OnDeleting;
    // Raised after every selection change, with the new node.
    ui::Event<ui::Component*, ui::TreeNode> OnChange;

protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;

private:
    ui::Link<TFileView> fileView_;
    ui::TreeNode currentNode_ = nullptr;
    ui::TreeNode previousNode_ = nullptr;
};
