// Thin wrapper of the system's tree-view control.
#pragma once
#include "ui/control.h"

#include <functional>
#include <string>

namespace ui {

using TreeNode = HTREEITEM;

class TreeView : public Control {
public:
    bool Create(HWND parent, DWORD style, DWORD exStyle = WS_EX_CLIENTEDGE, int id = 0);

    struct NodeInfo {
        std::wstring text;
        int image = -1;
        int selectedImage = -1;
        bool hasChildren = false;
        LPARAM data = 0;
    };
    // Adds a node after the last child of `parent` (nullptr: at top level).
    TreeNode AddChild(TreeNode parent, const NodeInfo& info) noexcept;
    void DeleteAll() noexcept;
    void Delete(TreeNode node) noexcept;

    TreeNode Root() const noexcept;
    TreeNode Parent(TreeNode node) const noexcept;
    TreeNode FirstChild(TreeNode node) const noexcept;
    TreeNode NextSibling(TreeNode node) const noexcept;
    bool HasChildNodes(TreeNode node) const noexcept { return FirstChild(node) != nullptr; }
    int Level(TreeNode node) const noexcept; // the top level is 0
    int Count() const noexcept;

    std::wstring Text(TreeNode node) const;
    void SetText(TreeNode node, const std::wstring& text) noexcept;
    LPARAM Data(TreeNode node) const noexcept;
    void SetData(TreeNode node, LPARAM data) noexcept;
    void SetImages(TreeNode node, int image, int selectedImage) noexcept;
    int Image(TreeNode node) const noexcept;
    int SelectedImage(TreeNode node) const noexcept;
    // The children flag: shows the expand button before the children exist.
    bool ChildrenFlag(TreeNode node) const noexcept;
    void SetChildrenFlag(TreeNode node, bool flag) noexcept;

    TreeNode Selected() const noexcept;
    void Select(TreeNode node) noexcept; // nullptr clears the selection
    bool Expand(TreeNode node) noexcept; // one level
    void Collapse(TreeNode node) noexcept;
    bool IsExpanded(TreeNode node) const noexcept;
    TreeNode NodeAt(int x, int y) const noexcept; // client coordinates
    // The node shown as the target of a drag (one or none); nullptr removes it.
    TreeNode DropHighlighted() const noexcept;
    void SetDropHighlighted(TreeNode node) noexcept;
    void SortChildren(TreeNode node, std::function<int(LPARAM, LPARAM)> compare) noexcept;
    void SetImageList(HIMAGELIST list, int which = TVSIL_NORMAL) noexcept;
    void SetIndent(int indent) noexcept;
    void EditLabel(TreeNode node) noexcept;
};

} // namespace ui
