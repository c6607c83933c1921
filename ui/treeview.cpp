#include "ui/treeview.h"

#include "ui/compare_thunk.h"
#include "ui/text.h"

namespace ui {

bool TreeView::Create(HWND parent, DWORD style, DWORD exStyle, int id)
{
    return CreateControl(WC_TREEVIEWW, style | WS_VISIBLE | WS_TABSTOP, exStyle, parent, id);
}

TreeNode TreeView::AddChild(TreeNode parent, const NodeInfo& info) noexcept
{
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent ? parent : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<wchar_t*>(info.text.c_str());
    ins.item.lParam = info.data;
    ins.item.cChildren = info.hasChildren ? 1 : 0;
    ins.item.iImage = info.image;
    ins.item.iSelectedImage = info.selectedImage;
    return reinterpret_cast<TreeNode>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TreeView::DeleteAll() noexcept { TreeView_DeleteAllItems(Handle()); }
void TreeView::Delete(TreeNode node) noexcept { TreeView_DeleteItem(Handle(), node); }
TreeNode TreeView::Root() const noexcept { return TreeView_GetRoot(Handle()); }
TreeNode TreeView::Parent(TreeNode node) const noexcept { return node ? TreeView_GetParent(Handle(), node) : nullptr; }
TreeNode TreeView::FirstChild(TreeNode node) const noexcept { return node ? TreeView_GetChild(Handle(), node) : nullptr; }
TreeNode TreeView::NextSibling(TreeNode node) const noexcept
{
    return node ? TreeView_GetNextSibling(Handle(), node) : nullptr;
}

int TreeView::Level(TreeNode node) const noexcept
{
    int level = -1;
    for (; node; node = Parent(node))
        ++level;
    return level;
}

int TreeView::Count() const noexcept { return int(TreeView_GetCount(Handle())); }

std::wstring TreeView::Text(TreeNode node) const
{
    if (!node)
        return {};
    std::wstring buf(1024, L'\0');
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buf.data();
    item.cchTextMax = int(buf.size());
    if (!TreeView_GetItem(Handle(), &item))
        return {};
    buf.resize(UpToNull(buf).size());
    return buf;
}

void TreeView::SetText(TreeNode node, const std::wstring& text) noexcept
{
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    TreeView_SetItem(Handle(), &item);
}

LPARAM TreeView::Data(TreeNode node) const noexcept
{
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    return node && TreeView_GetItem(Handle(), &item) ? item.lParam : 0;
}

void TreeView::SetData(TreeNode node, LPARAM data) noexcept
{
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    item.lParam = data;
    TreeView_SetItem(Handle(), &item);
}

void TreeView::SetImages(TreeNode node, int image, int selectedImage) noexcept
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    TreeView_SetItem(Handle(), &item);
}

int TreeView::Image(TreeNode node) const noexcept
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE;
    item.hItem = node;
    return node && TreeView_GetItem(Handle(), &item) ? item.iImage : -1;
}

int TreeView::SelectedImage(TreeNode node) const noexcept
{
    TVITEMW item{};
    item.mask = TVIF_SELECTEDIMAGE;
    item.hItem = node;
    return node && TreeView_GetItem(Handle(), &item) ? item.iSelectedImage : -1;
}

bool TreeView::ChildrenFlag(TreeNode node) const noexcept
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    return node && TreeView_GetItem(Handle(), &item) && item.cChildren != 0;
}

void TreeView::SetChildrenFlag(TreeNode node, bool flag) noexcept
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = flag ? 1 : 0;
    TreeView_SetItem(Handle(), &item);
}

TreeNode TreeView::Selected() const noexcept { return TreeView_GetSelection(Handle()); }
void TreeView::Select(TreeNode node) noexcept { TreeView_SelectItem(Handle(), node); }
bool TreeView::Expand(TreeNode node) noexcept { return node && TreeView_Expand(Handle(), node, TVE_EXPAND); }
void TreeView::Collapse(TreeNode node) noexcept { TreeView_Expand(Handle(), node, TVE_COLLAPSE); }

bool TreeView::IsExpanded(TreeNode node) const noexcept
{
    return node && (TreeView_GetItemState(Handle(), node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

TreeNode TreeView::NodeAt(int x, int y) const noexcept
{
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    TreeNode node = TreeView_HitTest(Handle(), &hit);
    return (hit.flags & TVHT_ONITEM) ? node : nullptr;
}

TreeNode TreeView::DropHighlighted() const noexcept { return TreeView_GetDropHilight(Handle()); }
void TreeView::SetDropHighlighted(TreeNode node) noexcept { TreeView_SelectDropTarget(Handle(), node); }


void TreeView::SortChildren(TreeNode node, std::function<int(LPARAM, LPARAM)> compare) noexcept
{
    TVSORTCB sort{};
    sort.hParent = node;
    sort.lpfnCompare = &detail::CompareThunk;
    sort.lParam = reinterpret_cast<LPARAM>(&compare);
    TreeView_SortChildrenCB(Handle(), &sort, FALSE);
}

void TreeView::SetImageList(HIMAGELIST list, int which) noexcept { TreeView_SetImageList(Handle(), list, which); }
void TreeView::SetIndent(int indent) noexcept { TreeView_SetIndent(Handle(), indent); }
void TreeView::EditLabel(TreeNode node) noexcept { TreeView_EditLabel(Handle(), node); }

} // namespace ui
