// Drag and drop in the main window: drags out of both panes, and files
// dropped on either pane moved or copied into the folder under the pointer.
#include "app/busy_count.h"
#include "app/drop_rules.h"
#include "app/ufrmMain.h"

#include <utility>

std::function<int(SHFILEOPSTRUCTW&)> TfrmTarimoku::FileOperation = [](SHFILEOPSTRUCTW& operation) {
    return SHFileOperationW(&operation);
};

namespace {

POINT ClientPoint(HWND window, POINT screen) noexcept
{
    ScreenToClient(window, &screen);
    return screen;
}


} // namespace

void TfrmTarimoku::RegisterDropTargets()
{
    auto tree = TFileDropTarget::Create(
        ui::Bind(this, &TfrmTarimoku::FolderDrop), ui::Bind(this, &TfrmTarimoku::FolderDragEnter),
        ui::Bind(this, &TfrmTarimoku::FolderDragLeave), ui::Bind(this, &TfrmTarimoku::FolderDragOver));
    FFolderDropTarget = ui::ComPtr<IDropTarget>::Share(tree.get());
    CoLockObjectExternal(FFolderDropTarget.get(), TRUE, FALSE);
    RegisterDragDrop(FolderView.Handle(), FFolderDropTarget.get());

    auto list = TFileDropTarget::Create(
        ui::Bind(this, &TfrmTarimoku::FileDrop), ui::Bind(this, &TfrmTarimoku::FileDragEnter),
        ui::Bind(this, &TfrmTarimoku::FileDragLeave), ui::Bind(this, &TfrmTarimoku::FileDragOver));
    FFileDropTarget = ui::ComPtr<IDropTarget>::Share(list.get());
    CoLockObjectExternal(FFileDropTarget.get(), TRUE, FALSE);
    RegisterDragDrop(FileView.Handle(), FFileDropTarget.get());

    // The tree reports the start of a drag only without TVS_DISABLEDRAGDROP.
    HWND treeWindow = FolderView.Handle();
    LONG_PTR style = GetWindowLongPtrW(treeWindow, GWL_STYLE);
    SetWindowLongPtrW(treeWindow, GWL_STYLE, style & ~LONG_PTR(TVS_DISABLEDRAGDROP));
}

void TfrmTarimoku::RevokeDropTargets()
{
    if (FFileDropTarget) {
        RevokeDragDrop(FileView.Handle());
        CoLockObjectExternal(FFileDropTarget.get(), FALSE, TRUE);
        FFileDropTarget.reset();
    }
    if (FFolderDropTarget) {
        RevokeDragDrop(FolderView.Handle());
        CoLockObjectExternal(FFolderDropTarget.get(), FALSE, TRUE);
        FFolderDropTarget.reset();
    }
    FDropNode = nullptr;
    FDropItem = -1;
}

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
        shview::RelativeIDList packed;
        int count = 0;
        for (int i = FileView.NextSelected(-1); i >= 0; i = FileView.NextSelected(i)) {
            shview::ChildIDList one = shview::IDListFirst(FileView.ItemIDList(i));
            if (!one)
                continue;
            packed = shview::IDListCombineRelativeFree(std::move(one), std::move(packed));
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

DWORD TfrmTarimoku::DropFiles(const std::vector<std::wstring>& files, const std::wstring& target, DWORD effect)
{
    UINT function = 0;
    if (effect == DROPEFFECT_MOVE)
        function = FO_MOVE;
    else if (effect == DROPEFFECT_COPY)
        function = FO_COPY;
    else
        return DROPEFFECT_NONE; // a link drop does nothing
    const std::wstring from = drop::DoubleNullList(files);
    if (from.size() < 2 || target.empty() || drop::TargetInsideSource(files, target))
        return DROPEFFECT_NONE;
    const std::wstring to = target + L'\0';
    // The previews keep running through the shell's questions and follow
    // the list when the refresh refills it.

    SHFILEOPSTRUCTW operation{};
    operation.hwnd = Handle();
    operation.wFunc = function;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    // The shell asks before it replaces a file of the same name.
    operation.fFlags = FOF_ALLOWUNDO;
    int result = 0;
    {
        TBusyCount busy(FBusy);
        result = FileOperation ? FileOperation(operation) : SHFileOperationW(&operation);
    }
    if (result != 0 || operation.fAnyOperationsAborted)
        return DROPEFFECT_NONE;
    return effect;
}

// ---- Folder tree ----------------------------------------------------------

void TfrmTarimoku::FolderDragEnter() { FDropNode = nullptr; }

void TfrmTarimoku::FolderDragOver(DWORD, POINT pt, DWORD& effect)
{
    const POINT at = ClientPoint(FolderView.Handle(), pt);
    ui::TreeNode node = FolderView.NodeAt(at.x, at.y);
    if (node && IsVirtualNode(FolderView, node))
        node = nullptr;
    if (node) {
        if (FDropNode != node) {
            FDropNode = node;
            FolderView.SetDropHighlighted(node);
        }
    } else {
        if (FDropNode) {
            FolderView.SetDropHighlighted(nullptr);
            FDropNode = nullptr;
        }
        effect = DROPEFFECT_NONE;
    }
    if (effect == DROPEFFECT_LINK)
        effect = DROPEFFECT_COPY;
}

void TfrmTarimoku::FolderDragLeave() { FolderView.SetDropHighlighted(nullptr); }

void TfrmTarimoku::FolderDrop(const std::vector<std::wstring>& files, DWORD, POINT pt, DWORD& effect)
{
    FolderView.SetDropHighlighted(nullptr);
    const POINT at = ClientPoint(FolderView.Handle(), pt);
    ui::TreeNode node = FolderView.NodeAt(at.x, at.y);
    if (!node || IsVirtualNode(FolderView, node)) {
        effect = DROPEFFECT_NONE;
        return;
    }
    if (effect == DROPEFFECT_MOVE && !files.empty())
        FListChanged = true;
    effect = DropFiles(files, GetNodePath(FolderView, node), effect);
}

// ---- File list ------------------------------------------------------------

namespace {

// The list item under a screen point that is a folder to drop into; -1 for none.
int FolderItemAt(const TFileView& list, POINT pt)
{
    const POINT at = ClientPoint(list.Handle(), pt);
    const int item = list.ItemAt(at.x, at.y);
    return item >= 0 && FolderExists(GetItemPath(list, item)) ? item : -1;
}

} // namespace

void TfrmTarimoku::FileDragEnter() { FDropItem = -1; }

void TfrmTarimoku::FileDragOver(DWORD, POINT pt, DWORD& effect)
{
    const int item = FolderItemAt(FileView, pt);
    if (item >= 0) {
        if (FDropItem != item) {
            if (FDropItem >= 0)
                FileView.SetDropHighlighted(FDropItem, false);
            FDropItem = item;
            FileView.SetDropHighlighted(item, true);
        }
    } else {
        if (FDropItem >= 0) {
            FileView.SetDropHighlighted(FDropItem, false);
            FDropItem = -1;
        }
        // Over a file or empty space the drop goes into the folder in view.
        if (FolderView.SelectedIsVirtual())
            effect = DROPEFFECT_NONE;
    }
    if (effect == DROPEFFECT_LINK)
        effect = DROPEFFECT_COPY;
}

void TfrmTarimoku::FileDragLeave()
{
    if (FDropItem >= 0) {
        FileView.SetDropHighlighted(FDropItem, false);
        FDropItem = -1;
    }
}

void TfrmTarimoku::FileDrop(const std::vector<std::wstring>& files, DWORD, POINT pt, DWORD& effect)
{
    FileDragLeave();
    const int item = FolderItemAt(FileView, pt);
    std::wstring target = item >= 0 ? GetItemPath(FileView, item) : std::wstring();
    if (target.empty()) {
        if (FolderView.SelectedIsVirtual()) {
            effect = DROPEFFECT_NONE;
            return;
        }
        target = FolderView.SelectedPath();
    }
    // Files dropped back into their own folder stay where they are.
    if (drop::AlreadyIn(files, target)) {
        effect = DROPEFFECT_NONE;
        return;
    }
    effect = DropFiles(files, target, effect);
}
