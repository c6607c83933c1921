// Drags out of the main window's panes: the tree's folder or the list's
// selected items, started from the panes' begin-drag notifications. Drops on
// the panes are PaneDrops' (app/drops/pane_drops.h).
#include "app/drops/drop_rules.h"
#include "app/ufrmMain.h"

#include <utility>

bool TfrmTarimoku::BeginDrag(const NMHDR& header)
{
    if (header.hwndFrom && header.hwndFrom == FolderView.Handle()) {
        if (header.code != TVN_BEGINDRAGW && header.code != TVN_BEGINRDRAGW && header.code != TVN_BEGINDRAGA &&
            header.code != TVN_BEGINRDRAGA)
            return false;
        // itemNew.hItem lies at the same place in the narrow and the wide record.
        const auto& nm = reinterpret_cast<const NMTREEVIEWW&>(header);
        // The root would drag the Desktop folder itself, a drive the whole
        // volume: neither they nor a folder without a path are moved anywhere.
        ui::TreeNode node = nm.itemNew.hItem;
        if (IsVirtualNode(FolderView, node))
            return true;
        const std::wstring path = GetNodePath(FolderView, node);
        if (!path.empty() && !drop::IsRootPath(path))
            DropSourceEx.DragFile(FolderView.Handle(), path);
        return true;
    }
    if (header.hwndFrom && header.hwndFrom == FileView.Handle()) {
        if (header.code != LVN_BEGINDRAG && header.code != LVN_BEGINRDRAG)
            return false;
        // The selected items in list order, each put in front of the ones
        // before it: the packed list holds them last selected first.
        idlist::RelativeIDList packed;
        int count = 0;
        for (int i = FileView.NextSelected(-1); i >= 0; i = FileView.NextSelected(i)) {
            idlist::ChildIDList one = idlist::IDListFirst(FileView.ItemIDList(i));
            if (!one)
                continue;
            packed = idlist::IDListCombineRelativeFree(std::move(one), std::move(packed));
            if (!packed)
                return true; // out of memory: no drag
            ++count;
        }
        if (count > 0)
            DropSourceEx.DragItems(Handle(), FileView.ShellFolder(), count, packed.get());
        return true;
    }
    return false;
}
