// The main window: tool bar, folder tree on the left, file list on the right.
#pragma once
#include "ui/handles.h"
#include "ui/listview.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/splitter.h"
#include "ui/toolbar.h"
#include "ui/treeview.h"
#include "ui/window.h"

#include <functional>
#include <map>
#include <string>

class TfrmTarimoku : public ui::Window {
public:
    TfrmTarimoku();
    ~TfrmTarimoku() override;

    // Creates the window and its components (hidden); FormCreate runs here.
    bool Create();
    // Shows the window for the first time; FormShow runs here.
    void Show(int showCommand = SW_SHOWNORMAL);
    HACCEL Accelerators() const noexcept { return accelerators_; }
    HMENU MainMenu() const noexcept { return GetMenu(Handle()); }

    // Layout of the form as stored.
    static constexpr int kInitialWidth = 491;
    static constexpr int kInitialHeight = 409;
    static constexpr int kToolBarHeight = 30;
    static constexpr int kTreeWidth = 173;
    static constexpr int kSplitterWidth = 3;
    static constexpr int kButtonSize = 24;

    // Components.
    ui::Panel pnlToolBar;
    ui::ToolBar ToolButtons; // sbtnNewFolder, sbtnRename, sbtnDelete, sbtnFolderUp
    ui::Splitter Splitter1;
    ui::TreeView FolderView;
    ui::ListView FileView;

    // Above zero while a refresh, a navigation or a file operation runs.
    int FBusy = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();

    // Runs the handler wired to a menu, tool button or accelerator command.
    void RunCommand(UINT id);
    void mitemExitClick();

private:
    void CreateComponents();
    void Layout();

    ui::UniqueFont formFont_;
    HACCEL accelerators_ = nullptr;
    int treeWidth_ = kTreeWidth;
    bool shown_ = false;
    std::map<UINT, std::function<void()>> commands_;
};

// The program's one main window.
extern TfrmTarimoku* frmTarimoku;
