// The main window's file and folder commands: new folder, delete, rename,
// selection, refresh and folder navigation, from the menu bar, the tool bar
// and the keys of the two panes, and which of them are enabled when.
#include "app/busy_count.h"
#include "app/ufrmMain.h"

#include "app/messages.h"
#include "app/new_folder_name.h"
#include "scheme/error_box.h"
#include "scheme/text_utils.h"

#include "res/resource.h"
#include "res/texts.h"

std::function<bool(const std::wstring&)> TfrmTarimoku::MakeDirectory = [](const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
};

namespace {
// Holds the command states still for a scope and computes them once at its end.
class HoldStates {
public:
    HoldStates(int& hold, std::function<void()> update) : hold_(hold), update_(std::move(update)) { ++hold_; }
    ~HoldStates()
    {
        if (--hold_ == 0)
            update_();
    }
    HoldStates(const HoldStates&) = delete;
    HoldStates& operator=(const HoldStates&) = delete;

private:
    int& hold_;
    std::function<void()> update_;
};
} // namespace

bool TfrmTarimoku::ListFocused() const noexcept { return FileView.Handle() && GetFocus() == FileView.Handle(); }

bool TfrmTarimoku::TreeFocused() const noexcept
{
    return FolderView.Handle() && GetFocus() == FolderView.Handle();
}

void TfrmTarimoku::SetCommandEnabled(UINT id, bool enabled)
{
    if (HMENU menu = MainMenu())
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    ToolButtons.SetEnabled(id, enabled);
}

void TfrmTarimoku::UpdateCommandStates()
{
    if (!Handle() || holdCommandStates_ > 0)
        return;
    bool canDelete = false;
    bool canRename = false;
    if (ListFocused()) {
        canDelete = canRename = FileView.SelectedCount() > 0;
    } else if (TreeFocused()) {
        canRename = FolderView.Selected() != nullptr;
        canDelete = !FolderView.SelectedIsVirtual();
    }
    SetCommandEnabled(IDM_DELETE, canDelete);
    SetCommandEnabled(IDM_RENAME, canRename);
    ui::TreeNode node = FolderView.Selected();
    ToolButtons.SetEnabled(IDM_FOLDERUP, node && FolderView.Parent(node));
}

void TfrmTarimoku::FileViewChange(ui::Component*, int) { UpdateCommandStates(); }

void TfrmTarimoku::FolderViewEnter(ui::Control* sender)
{
    focusedPane_ = sender ? sender->Handle() : nullptr;
    UpdateCommandStates();
}

void TfrmTarimoku::FileViewEnter(ui::Control* sender)
{
    focusedPane_ = sender ? sender->Handle() : nullptr;
    UpdateCommandStates();
}

void TfrmTarimoku::mitemNewFolderClick() { CreateNewFolder(); }

void TfrmTarimoku::CreateNewFolder()
{
    if (FolderView.SelectedIsVirtual())
        return;
    std::wstring parent = FolderView.SelectedPath();
    scheme::AddBackslash(parent);
    // Every existing name is skipped, a file's as well as a folder's.
    std::wstring path = commands::NewFolderPath(parent, [](const std::wstring& candidate) {
        return GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    if (!MakeDirectory || !MakeDirectory(path))
        scheme::ShowError(Handle(), texts::NewFolderFailed);
    // The list is refilled either way; the tree learns of the folder from
    // the drive monitors.
    FListChanged = true;
    ui::PostPrivate(Handle(), WM_REFRESHVIEWS);
}

void TfrmTarimoku::mitemDeleteClick()
{
    if (ListFocused()) {
        // The previews follow the list: they let go of the items only when
        // a refill replaces them, and keep running when the user says no.
        FileView.DeleteSelectedFiles();
    } else if (TreeFocused() && FolderView.Selected() && !FolderView.SelectedIsVirtual()) {
        ContextMenuEx.InvokePathCommand(FolderView.Handle(), FolderView.SelectedPath(), icDelete);
    }
}

void TfrmTarimoku::mitemRenameClick()
{
    if (ListFocused() && FileView.SelectedCount() > 0) {
        // The focused item, which need not be the first selected one.
        int focused = FileView.FocusedItem();
        if (focused >= 0)
            FileView.EditLabel(focused);
    } else if (TreeFocused()) {
        if (ui::TreeNode node = FolderView.Selected())
            FolderView.EditLabel(node);
    }
}

void TfrmTarimoku::mitemSelAllClick()
{
    FileView.SetFocus();
    HoldStates hold(holdCommandStates_, [this] { UpdateCommandStates(); });
    for (int i = 0, n = FileView.Count(); i < n; ++i)
        FileView.SetSelected(i, true);
}

void TfrmTarimoku::mitemReverseClick()
{
    FileView.SetFocus();
    HoldStates hold(holdCommandStates_, [this] { UpdateCommandStates(); });
    for (int i = 0, n = FileView.Count(); i < n; ++i)
        FileView.SetSelected(i, !FileView.IsSelected(i));
}

void TfrmTarimoku::mitemRefreshClick() { RequestRefresh(); }

void TfrmTarimoku::Navigate(const std::function<void()>& change)
{
    // The previews follow the list's fill; they hold still meanwhile.
    TBusyCount busy(FBusy);
    change();
}

void TfrmTarimoku::GoUpOneFolder()
{
    ui::TreeNode node = FolderView.Selected();
    ui::TreeNode parent = node ? FolderView.Parent(node) : nullptr;
    if (parent)
        Navigate([&] { FolderView.Select(parent); });
}

void TfrmTarimoku::sbtnFolderUpClick() { GoUpOneFolder(); }

void TfrmTarimoku::FileViewKeyDown(ui::Control* sender, WORD& key, ui::ShiftState)
{
    if (key == VK_DELETE && sender && sender->Handle() && GetFocus() == sender->Handle())
        mitemDeleteClick();
}

void TfrmTarimoku::FileViewKeyPress(ui::Control*, wchar_t& key)
{
    if (key == L'\b') {
        if (ListFocused())
            GoUpOneFolder();
    } else if (key == L'\r') {
        // Only a folder opens here; a file is left to the double click.
        std::wstring path = FileView.SelectedPath();
        if (FolderExists(path))
            Navigate([&] { FolderView.SelectPath(path); });
    }
}
