// The main window's file and folder commands: new folder, delete, rename,
// selection, refresh and folder navigation, from the menu bar, the tool bar
// and the keys of the two panes, and which of them are enabled when.
#include "app/ufrmMain.h"

#include "app/messages.h"
#include "app/commands/new_folder_name.h"
#include "scheme/error_box.h"
#include "scheme/text_utils.h"
#include "ui/seams.h"

#include "res/resource.h"
#include "res/texts.h"

bool TfrmTarimoku::ListFocused() const noexcept { return FileView.Handle() && GetFocus() == FileView.Handle(); }

bool TfrmTarimoku::TreeFocused() const noexcept
{
    return FolderView.Handle() && GetFocus() == FolderView.Handle();
}

commands::PaneState TfrmTarimoku::ReadPaneState() const
{
    commands::PaneState state;
    if (ListFocused())
        state.focus = commands::Focus::List;
    else if (TreeFocused())
        state.focus = commands::Focus::Tree;
    state.listSelected = FileView.SelectedCount();
    ui::TreeNode node = FolderView.Selected();
    state.treeSelected = node != nullptr;
    state.treeSelectedVirtual = FolderView.SelectedIsVirtual();
    state.treeSelectedHasParent = node && FolderView.Parent(node);
    return state;
}

void TfrmTarimoku::UpdateCommandStates()
{
    if (Handle())
        commandStates_.Update();
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
    auto& makeDirectory = ui::CurrentSeams().makeDirectory;
    if (!makeDirectory || !makeDirectory(path))
        scheme::ShowError(Handle(), texts::NewFolderFailed);
    // The list is refilled either way; the tree learns of the folder from
    // the drive monitors.
    refresh.ListChanged();
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
    commands::CommandStates::Hold hold(commandStates_);
    for (int i = 0, n = FileView.Count(); i < n; ++i)
        FileView.SetSelected(i, true);
}

void TfrmTarimoku::mitemReverseClick()
{
    FileView.SetFocus();
    commands::CommandStates::Hold hold(commandStates_);
    for (int i = 0, n = FileView.Count(); i < n; ++i)
        FileView.SetSelected(i, !FileView.IsSelected(i));
}

void TfrmTarimoku::mitemRefreshClick() { RequestRefresh(); }

void TfrmTarimoku::Navigate(const std::function<void()>& change)
{
    // The previews follow the list's fill; they hold still meanwhile.
    Busy::Hold busy = FBusy.Raise();
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
