// The main window: tool bar, folder tree on the left, file list on the right.
#pragma once
#include "app/refresh/auto_refresh.h"
#include "app/commands/command_states.h"
#include "app/commands/command_targets.h"
#include "app/drops/drops_port.h"
#include "app/drops/pane_drops.h"
#include "app/busy.h"
#include "app/pane_layout.h"
#include "app/pane_paths.h"
#include "app/previews/preview_list.h"
#include "app/previews/previews.h"
#include "app/refresh/refresh_port.h"
#include "app/cursors/role_menu.h"
#include "app/cursors/scheme_menu.h"
#include "dialogs/RestorePos.h"
#include "res/resource.h"
#include "shell/ContextMenuEx.h"
#include "shell/DropSourceEx.h"
#include "shview/fileview/FileView.h"
#include "shview/folderview/FolderView.h"
#include "ui/handles.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/splitter.h"
#include "ui/timer.h"
#include "ui/toolbar.h"
#include "ui/window.h"

#include <functional>
#include <string>
#include <vector>

class TfrmTarimoku : public ui::Window {
public:
    TfrmTarimoku();
    ~TfrmTarimoku() override;

    // Creates the window and its components (hidden): the tree builds itself
    // from the desktop and shows it in the list; FormCreate runs here. An
    // exception while the tree builds is shown and the window comes up with
    // what was built. False when the window or one of its panes cannot be
    // made; other exceptions pass to the caller.
    bool Create();
    // Opens the folder of the command line: exactly one argument naming an
    // existing folder (the program's own name not counted); anything else is ignored.
    virtual void OpenCommandLineFolder(const std::vector<std::wstring>& arguments);
    // Shows the window for the first time (FormShow runs here) and gives the
    // keyboard to the tree, or to the list when the command line opened a folder.
    void Show(int showCommand = SW_SHOWNORMAL);
    HACCEL Accelerators() const noexcept { return accelerators_; }
    HMENU MainMenu() const noexcept { return GetMenu(Handle()); }

    // Layout of the form as stored, at 96 DPI: the window shows them scaled
    // to the DPI of its monitor (Dpi()).
    static constexpr int kInitialWidth = 491;
    static constexpr int kInitialHeight = 409;
    static constexpr int kToolBarHeight = panes::kToolBarHeight;
    static constexpr int kTreeWidth = 173;
    static constexpr int kSplitterWidth = panes::kSplitterWidth;
    static constexpr int kButtonSize = panes::kButtonSize;
    static constexpr int kButtonIndent = 2;
    static constexpr int kButtonGap = 8;
    static constexpr int kTreeIndent = 19;
    int Dpi() const noexcept { return dpi_; }

    // Components.
    ui::Panel pnlToolBar;
    ui::ToolBar ToolButtons; // sbtnNewFolder, sbtnRename, sbtnDelete, sbtnFolderUp
    ui::Splitter Splitter1;
    TFolderView FolderView;
    TFileView FileView;
    TContextMenuEx ContextMenuEx;
    // The window's placement, kept between runs. The program points it at
    // kPlacementKey / kPlacementName before Create (test windows keep none).
    TRestorePos RestorePos;
    static constexpr wchar_t kPlacementKey[] = L"SOFTWARE\\RUVANE\\Tarimoku";
    static constexpr wchar_t kPlacementName[] = L"frmPosi";
    // The seventeen cursor roles (item i has tag i), then the sub-menu that
    // gives roles back to the system; roleMenu fills it and keeps it in step
    // with the scheme.
    ui::PopupMenu PopupMenuMouse{IDM_ROLE_FIRST};
    CursorRoleMenu roleMenu;

    // Raised while a refresh, a navigation or a file operation runs.
    Busy FBusy;

    // Previews of the cursor files in the list: the .ani files animated, the
    // .cur files shown as their own image. They follow the list's items
    // (FollowItems); the window runs timer 1 and the idle loader for them.
private:
    FileViewPreviewList previewList_{FileView, [this] { return FBusy.Raised(); }};

public:
    Previews ListPreviews{previewList_};
    static constexpr UINT_PTR kAnimateTimer = 1;
    static constexpr UINT kAnimatePeriodMs = 55;

    // Automatic refresh (app/refresh/auto_refresh.h): the monitors, the two flags
    // and the handlers of WM_WATCHFOLDERS, WM_REFRESHVIEWS and WM_DEVICECHANGE.
    AutoRefresh refresh{FBusy};
    // The refresh command: both panes afresh (see AutoRefresh::RequestRefresh).
    void RequestRefresh(bool afresh = true) { refresh.RequestRefresh(afresh); }

private:
    ViewDropPanes dropPanes_{FolderView, FileView, [this] { refresh.ListChanged(); }};

public:
    // Files dropped on either pane (app/drops/pane_drops.h).
    PaneDrops drops{dropPanes_, FBusy};

    // The tree's selection change: the new folder command's state, the
    // monitors and the caption follow the folder.
    void FolderViewChange(ui::Component* sender, ui::TreeNode node);
    // Commands the previews' tests run directly.
    void mitemDeleteClick();
    void mitemRefreshClick();
    void sbtnFolderUpClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Creates the folder tree, which builds itself from the desktop.
    virtual void CreateFolderTree();

private:
    void FormCreate();
    void FormShow();
    // FormShow, once, at the window's first show in whatever state.
    void FirstShown();
    void FormClose();
    void FormDestroy();
    void CreateComponents();
    // The command table: the menu bar's, the tool buttons' and the keys' handlers.
    void AddCommands();
    void Layout();
    // The form's and the panes' fonts at the window's DPI.
    void MakeFonts();
    // WM_DPICHANGED: fonts, tool bar, splitter and panes at the new DPI, the
    // window at the suggested rectangle.
    void DpiChanged(int dpi, const RECT& suggested);
    // WM_GETMINMAXINFO: the smallest window at which the tool bar and both
    // panes stay usable.
    void MinimumSize(MINMAXINFO& info);
    // WM_DESTROY: stores the placement; a failure is told once, in the error box.
    void SavePlacement();

    // Cursor roles (ufrmMainCursor.cpp). Fills the role menu (FormCreate).
    void BuildRoleMenu();
    // The list's mouse-up: a right click on one cursor file opens the role menu
    // instead of the shell's context menu.
    void FileViewMouseUp(ui::Control* sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
    // A role of the role menu was chosen for the selected cursor file.
    void RoleMenuClick(ui::MenuItem* sender);
    // A role of the "既定に戻す" sub-menu was chosen: it gets the system's cursor back.
    void RestoreMenuClick(ui::MenuItem* sender);
    void mitemDispCtrlPnlMouseClick();
    // The box for a shell command the shell refused.
    void ContextMenuCommandFailed(TContextMenuEx*, HWND);
    // The context menu's install of a cursor pack (app/cursors/cursor_pack_menu.h).
    void ContextMenuInstall(TContextMenuEx*, HWND, const std::wstring& path);

    // File and folder commands (ufrmMainCommands.cpp): the menu bar, the
    // tool buttons and the keys of the panes. Most act on the pane that has
    // the keyboard focus.
    void mitemNewFolderClick();
    void mitemRenameClick();
    void mitemSelAllClick();
    void mitemReverseClick();
    void mitemExitClick();
    // Ctrl+G: the go-to-folder dialog; OK shows the typed folder in the tree.
    void GoTo1Click();
    // The about box.
    void mitemAboutClick();
    // The list's selection or focus changed (index -1: the items went).
    void FileViewChange(ui::Component* sender, int index);
    void FolderViewEnter(ui::Control* sender);
    void FileViewEnter(ui::Control* sender);
    // Both panes: Delete deletes in the pane that has the focus.
    void FileViewKeyDown(ui::Control* sender, WORD& key, ui::ShiftState shift);
    // Both panes' keys: Tab and F6 move the focus to the other pane (with
    // Shift back), anything else goes to FileViewKeyDown.
    void PaneKeyDown(ui::Control* sender, WORD& key, ui::ShiftState shift);
    // Both panes' characters: the Tab that moved the focus goes no further;
    // the list's others go to FileViewKeyPress.
    void PaneKeyPress(ui::Control* sender, wchar_t& key);
    // Gives the focus to the pane after (or before) `from` in the order tree, list.
    void FocusNextPane(HWND from, bool back);
    // The list: Backspace goes up one folder, Enter opens a selected folder.
    void FileViewKeyPress(ui::Control* sender, wchar_t& key);
    // The panes' begin-drag notifications (either mouse button); false for
    // every other notification (ufrmMainDrag.cpp).
    bool BeginDrag(const NMHDR& header);

    // What the command states follow: the focus and the panes' selections.
    commands::PaneState ReadPaneState() const;
    // Delete, rename and folder up for the pane with the focus and its selection.
    void UpdateCommandStates();
    // A new folder in the folder in view, then a refill of the list.
    void CreateNewFolder();
    bool ListFocused() const noexcept;
    bool TreeFocused() const noexcept;
    // Changes the folder in view with FBusy raised.
    void Navigate(const std::function<void()>& change);
    // Selects the parent of the tree's selected node, if it has one.
    void GoUpOneFolder();

    // Starts the drags out of both panes (the views' own links stay empty).
    TDropSourceEx DropSourceEx;
    ui::Timer animateTimer_;
    ViewPanes refreshPanes_{FolderView, FileView, FBusy}; // what the refresh sees of the panes
    MenuAndButtons commandTargets_{*this, ToolButtons};
    commands::CommandStates commandStates_{commandTargets_,
                                           {IDM_DELETE, IDM_RENAME, IDM_FOLDERUP},
                                           [this] { return ReadPaneState(); }};
    commands::CommandTable commandTable_;
    SchemeMenu schemeMenu_; // the menu bar's スキーム menu
    ui::UniqueFont formFont_;
    ui::UniqueFont listFont_; // the icon-title font, when the system gives it
    ui::UniqueFont treeFont_; // a copy of it for the tree
    HACCEL accelerators_ = nullptr;
    int dpi_ = 96;
    int treeWidth_ = kTreeWidth; // in the window's pixels
    bool shown_ = false;
    // The pane that had the focus last: it gets it back when the window does.
    HWND focusedPane_ = nullptr;
};
