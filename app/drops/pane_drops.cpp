#include "app/drops/pane_drops.h"

#include "app/drops/drop_rules.h"
#include "shell/FileDropTarget.h"
#include "ui/component.h"
#include "ui/seams.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

ui::ComPtr<IDropTarget> RegisterTarget(HWND window, ui::ComPtr<TFileDropTarget> target)
{
    auto shared = ui::ComPtr<IDropTarget>::Share(target.get());
    CoLockObjectExternal(shared.get(), TRUE, FALSE);
    RegisterDragDrop(window, shared.get());
    return shared;
}

void RevokeTarget(HWND window, ui::ComPtr<IDropTarget>& target)
{
    if (!target)
        return;
    RevokeDragDrop(window);
    CoLockObjectExternal(target.get(), FALSE, TRUE);
    target.reset();
}


} // namespace

void PaneDrops::Register()
{
    FFolderDropTarget = RegisterTarget(
        panes_.TreeWindow(),
        TFileDropTarget::Create(ui::Bind(this, &PaneDrops::FolderDrop), ui::Bind(this, &PaneDrops::FolderDragEnter),
                                ui::Bind(this, &PaneDrops::FolderDragLeave),
                                ui::Bind(this, &PaneDrops::FolderDragOver)));
    FFileDropTarget = RegisterTarget(
        panes_.ListWindow(),
        TFileDropTarget::Create(ui::Bind(this, &PaneDrops::FileDrop), ui::Bind(this, &PaneDrops::FileDragEnter),
                                ui::Bind(this, &PaneDrops::FileDragLeave), ui::Bind(this, &PaneDrops::FileDragOver)));
    // The tree reports the start of a drag only without TVS_DISABLEDRAGDROP.
    if (HWND tree = panes_.TreeWindow()) {
        LONG_PTR style = GetWindowLongPtrW(tree, GWL_STYLE);
        SetWindowLongPtrW(tree, GWL_STYLE, style & ~LONG_PTR(TVS_DISABLEDRAGDROP));
    }
}

void PaneDrops::Revoke()
{
    RevokeTarget(panes_.ListWindow(), FFileDropTarget);
    RevokeTarget(panes_.TreeWindow(), FFolderDropTarget);
    FDropNode = nullptr;
    FDropItem = -1;
}

DWORD PaneDrops::DropFiles(const std::vector<std::wstring>& files, const std::wstring& target, DWORD effect)
{
    UINT function = 0;
    if (effect == DROPEFFECT_MOVE)
        function = FO_MOVE;
    else if (effect == DROPEFFECT_COPY)
        function = FO_COPY;
    else
        return DROPEFFECT_NONE; // a link drop does nothing
    const std::wstring from = drop::DoubleNullList(files);
    if (from.size() < 2 || drop::Refused(files, target))
        return DROPEFFECT_NONE;
    const std::wstring to = target + L'\0';
    // The previews keep running through the shell's questions and follow
    // the list when the refresh refills it.
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = panes_.Owner();
    operation.wFunc = function;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    // The shell asks before it replaces a file of the same name.
    operation.fFlags = FOF_ALLOWUNDO;
    int result = 0;
    {
        Busy::Hold hold = busy_.Raise();
        auto& run = ui::CurrentSeams().fileOperation;
        result = run ? run(operation) : SHFileOperationW(&operation);
    }
    if (result != 0 || operation.fAnyOperationsAborted)
        return DROPEFFECT_NONE;
    return effect;
}

// ---- Folder tree ----------------------------------------------------------

void PaneDrops::FolderDragEnter() { FDropNode = nullptr; }

void PaneDrops::FolderDragOver(DWORD, POINT pt, DWORD& effect)
{
    ui::TreeNode node = panes_.FolderNodeAt(pt);
    if (node) {
        if (FDropNode != node) {
            FDropNode = node;
            panes_.HighlightNode(node);
        }
    } else {
        if (FDropNode) {
            panes_.HighlightNode(nullptr);
            FDropNode = nullptr;
        }
        effect = DROPEFFECT_NONE;
    }
    if (effect == DROPEFFECT_LINK)
        effect = DROPEFFECT_COPY;
}

void PaneDrops::FolderDragLeave() { panes_.HighlightNode(nullptr); }

void PaneDrops::FolderDrop(const std::vector<std::wstring>& files, DWORD, POINT pt, DWORD& effect)
{
    panes_.HighlightNode(nullptr);
    ui::TreeNode node = panes_.FolderNodeAt(pt);
    const std::wstring target = node ? panes_.NodeFolder(node) : std::wstring();
    // Files dropped on their own folder's node stay where they are, as in the list.
    if (drop::Refused(files, target)) {
        effect = DROPEFFECT_NONE;
        return;
    }
    if (effect == DROPEFFECT_MOVE && !files.empty())
        panes_.ListChanged();
    effect = DropFiles(files, target, effect);
}

// ---- File list ------------------------------------------------------------

void PaneDrops::ForgetReplacedItem()
{
    if (FDropItem >= 0 && !panes_.ItemHighlighted(FDropItem))
        FDropItem = -1;
}

void PaneDrops::FileDragEnter() { FDropItem = -1; }

void PaneDrops::FileDragOver(DWORD, POINT pt, DWORD& effect)
{
    ForgetReplacedItem();
    const int item = panes_.FolderItemAt(pt);
    if (item >= 0) {
        if (FDropItem != item) {
            if (FDropItem >= 0)
                panes_.HighlightItem(FDropItem, false);
            FDropItem = item;
            panes_.HighlightItem(item, true);
        }
    } else {
        if (FDropItem >= 0) {
            panes_.HighlightItem(FDropItem, false);
            FDropItem = -1;
        }
        // Over a file or empty space the drop goes into the folder in view.
        if (panes_.ViewFolder().empty())
            effect = DROPEFFECT_NONE;
    }
    if (effect == DROPEFFECT_LINK)
        effect = DROPEFFECT_COPY;
}

void PaneDrops::FileDragLeave()
{
    ForgetReplacedItem();
    if (FDropItem >= 0) {
        panes_.HighlightItem(FDropItem, false);
        FDropItem = -1;
    }
}

void PaneDrops::FileDrop(const std::vector<std::wstring>& files, DWORD, POINT pt, DWORD& effect)
{
    FileDragLeave();
    const int item = panes_.FolderItemAt(pt);
    std::wstring target = item >= 0 ? panes_.ItemFolder(item) : std::wstring();
    if (target.empty())
        target = panes_.ViewFolder();
    // Files dropped back into their own folder stay where they are (DropFiles refuses).
    effect = DropFiles(files, target, effect);
}
