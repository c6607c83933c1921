// Files dropped on the folder tree or the file list, moved or copied with the
// shell into the folder under the pointer: the two panes' drop targets and
// the highlight of the folder a drop would go into.
#pragma once
#include "app/busy.h"
#include "app/drops/drops_port.h"
#include "ui/handles.h"

#include <ole2.h>

#include <string>
#include <vector>

class PaneDrops {
public:
    // The file operation runs with `busy` raised: its dialogs run nested loops.
    PaneDrops(DropPanes& panes, Busy& busy) : panes_(panes), busy_(busy) {}
    ~PaneDrops() { Revoke(); }
    PaneDrops(const PaneDrops&) = delete;
    PaneDrops& operator=(const PaneDrops&) = delete;

    // Registers a drop target on each pane (kept locked while registered);
    // the tree then reports the start of a drag as well.
    void Register();
    // Revokes and unlocks both targets; nothing stays highlighted.
    void Revoke();
    IDropTarget* FolderTarget() const noexcept { return FFolderDropTarget.get(); }
    IDropTarget* FileTarget() const noexcept { return FFileDropTarget.get(); }
    // What is highlighted as the drop target now: none, -1 for none.
    ui::TreeNode HighlightedNode() const noexcept { return FDropNode; }
    int HighlightedItem() const noexcept { return FDropItem; }

    // The tree's handlers: a drop goes into the real folder under the pointer.
    void FolderDrop(const std::vector<std::wstring>& files, DWORD keyState, POINT pt, DWORD& effect);
    void FolderDragEnter();
    void FolderDragLeave();
    void FolderDragOver(DWORD keyState, POINT pt, DWORD& effect);
    // The list's handlers: a drop goes into the folder item under the
    // pointer, else into the folder in view.
    void FileDrop(const std::vector<std::wstring>& files, DWORD keyState, POINT pt, DWORD& effect);
    void FileDragEnter();
    void FileDragLeave();
    void FileDragOver(DWORD keyState, POINT pt, DWORD& effect);

private:
    // Moves or copies the files into `target` with the shell (which asks
    // before it replaces anything). Answers the effect performed: the one
    // asked for, or none when nothing was done, the operation failed or the
    // user stopped it.
    DWORD DropFiles(const std::vector<std::wstring>& files, const std::wstring& target, DWORD effect);
    // The list item kept as highlighted, unless a refill has replaced the
    // items since (a refresh runs while a drag from elsewhere hovers): then
    // the index names another item or none, and no highlight is ours.
    void ForgetReplacedItem();

    DropPanes& panes_;
    Busy& busy_;
    ui::TreeNode FDropNode = nullptr; // tree node highlighted as the drop target
    int FDropItem = -1;               // list item highlighted as the drop target
    ui::ComPtr<IDropTarget> FFolderDropTarget;
    ui::ComPtr<IDropTarget> FFileDropTarget;
};
