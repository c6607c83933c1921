// Finding nodes by identifier and path, selecting them, and reading the
// expanded folders again.
#include "shview/folderview/FolderView.h"

#include "idlist/file_path.h"
#include "ui/scoped_value.h"

using idlist::AbsoluteIDList;
using idlist::ChildIDList;

ui::TreeNode TFolderView::FindChild(ui::TreeNode node, PCUITEMID_CHILD relative)
{
    if (!node || !NodeData(node) || !relative)
        return nullptr;
    ui::ComPtr<IShellFolder> folder = NodeFolder(node);
    if (!folder)
        return nullptr;
    // A node whose button went away (it was empty, or the shell said it had no
    // sub-folders) is filled here too: the item asked for says otherwise.
    bool filled = HasChildNodes(node);
    if (!filled)
        FillChildren(node);
    Expand(node);
    if (ui::TreeNode child = LoadedChild(folder.get(), node, relative))
        return child;
    if (!filled)
        return nullptr;
    // The folder may have been made since the node was filled.
    ReadChildrenAgain(node);
    Expand(node);
    return LoadedChild(folder.get(), node, relative);
}

ui::TreeNode TFolderView::LoadedChild(IShellFolder* folder, ui::TreeNode node, PCUITEMID_CHILD relative) const
{
    for (ui::TreeNode child = FirstChild(node); child; child = NextSibling(child))
        if (idlist::IDListCompare(folder, NodeData(child), relative) == 0)
            return child;
    return nullptr;
}

ui::TreeNode TFolderView::FindNode(PCIDLIST_ABSOLUTE absolute)
{
    ui::TreeNode node = Root();
    if (!node || !absolute)
        return nullptr;
    Expand(node);
    if (idlist::IDListCount(absolute) == 0)
        return node;
    for (PCUIDLIST_RELATIVE position = absolute; position && node; position = idlist::IDListRest(position)) {
        ChildIDList item = idlist::IDListFirst(position);
        node = FindChild(node, item.get());
    }
    return node;
}

ui::TreeNode TFolderView::FindLoadedNode(PCIDLIST_ABSOLUTE absolute) const
{
    ui::TreeNode node = Root();
    if (!node || !absolute)
        return nullptr;
    for (PCUIDLIST_RELATIVE position = absolute; node && idlist::IDListCount(position) > 0;
         position = idlist::IDListRest(position)) {
        ui::ComPtr<IShellFolder> folder = NodeFolder(node);
        ChildIDList item = idlist::IDListFirst(position);
        if (!folder || !item)
            return nullptr;
        node = LoadedChild(folder.get(), node, item.get());
        if (!idlist::IDListRest(position))
            break;
    }
    return node;
}

void TFolderView::SelectPath(const std::wstring& path)
{
    // IDListFromPath keeps texts starting with "/" from the shell: Wine's
    // shell crashes on Unix paths.
    if (!path.empty() && path.front() == L'/')
        return;
    AbsoluteIDList absolute = idlist::IDListFromPath(path);
    if (!absolute)
        return;
    Select(FindNode(absolute.get()));
}

std::wstring TFolderView::SelectedPath() const
{
    ui::TreeNode node = Selected();
    if (!node)
        return {};
    AbsoluteIDList absolute = NodeIDList(node);
    if (!absolute)
        return {};
    return idlist::IDListDisplayName(absolute.get(), SHGDN_FORPARSING);
}

void TFolderView::SelectIDList(PCIDLIST_ABSOLUTE absolute)
{
    ui::RedrawOff redraw(*this);
    Select(FindNode(absolute));
}

void TFolderView::OpenChild(PCUITEMID_CHILD relative)
{
    ui::RedrawOff redraw(*this);
    // A child that is not there leaves the selection, and so the list and
    // the caption, as they were.
    if (ui::TreeNode child = FindChild(Selected(), relative))
        Select(child);
}

bool TFolderView::SelectedIsVirtual() const
{
    ui::TreeNode node = Selected();
    if (!node || Level(node) == 0)
        return true;
    AbsoluteIDList absolute = NodeIDList(node);
    std::wstring path;
    return !idlist::IDListFileSystemPath(absolute.get(), path);
}

TFolderView::SyncCounts TFolderView::ReadExpandedAgain()
{
    SyncCounts counts;
    if (Updating || fillingNode_ || !Handle())
        return counts;
    if (ui::TreeNode root = Root(); root && IsExpanded(root))
        SyncChildNodes(root, counts);
    return counts;
}

bool TFolderView::IsWithin(ui::TreeNode node, ui::TreeNode ancestor) const noexcept
{
    for (; node; node = Parent(node))
        if (node == ancestor)
            return true;
    return false;
}

void TFolderView::SyncChildNodes(ui::TreeNode node, SyncCounts& counts)
{
    AbsoluteIDList absolute = NodeIDList(node);
    ui::ComPtr<IShellFolder> folder = NodeFolder(node);
    std::vector<ChildIDList> items;
    if (!absolute || !folder || !ReadChildItems(node, folder.get(), items))
        return;
    std::vector<bool> known(items.size(), false);
    std::vector<ui::TreeNode> vanished;
    for (ui::TreeNode child = FirstChild(node); child; child = NextSibling(child)) {
        bool found = false;
        for (std::size_t i = 0; i < items.size() && !found; ++i) {
            if (!known[i] && idlist::IDListCompare(folder.get(), NodeData(child), items[i].get()) == 0)
                known[i] = found = true;
        }
        if (!found)
            vanished.push_back(child);
    }
    for (ui::TreeNode child : vanished) {
        // The selection leaves first, so that the linked views follow it to
        // a folder that is there.
        if (IsWithin(Selected(), child))
            Select(node);
        ui::ScopedValue updating(Updating, true);
        Delete(child);
        ++counts.removed;
    }
    int added = 0;
    {
        ui::ScopedValue updating(Updating, true);
        auto icons = folder.As<IShellIcon>(IID_IShellIcon);
        for (std::size_t i = 0; i < items.size(); ++i)
            if (!known[i] && AddChildNode(node, folder.get(), icons.get(), absolute.get(), items[i]))
                ++added;
        if (added > 0)
            SortChildNodes(node, folder.get());
        if (added > 0 || !vanished.empty())
            SetChildrenFlag(node, HasChildNodes(node));
    }
    counts.added += added;
    std::vector<ui::TreeNode> expanded;
    for (ui::TreeNode child = FirstChild(node); child; child = NextSibling(child))
        if (IsExpanded(child) && HasChildNodes(child))
            expanded.push_back(child);
    for (ui::TreeNode child : expanded)
        SyncChildNodes(child, counts);
}
