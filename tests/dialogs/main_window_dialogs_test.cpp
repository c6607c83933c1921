// The main window's dialogs and placement, through its keys and menu.
#include "res/resource.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_form.h"
#include "tests/support/placement_keys.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using testsupport::DialogDriver;
using testsupport::TestRegistryKey;

// Presses a key with Ctrl held as the program's message loop sees it: the
// accelerator table turns it into the menu command.
bool TranslateCtrlKey(HWND window, HACCEL accelerators, UINT vk)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE saved[256];
    memcpy(saved, keys, sizeof(saved));
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg{window, WM_KEYDOWN, vk, 1, GetTickCount(), {}};
    bool translated = TranslateAcceleratorW(window, accelerators, &msg) != 0;
    SetKeyboardState(saved);
    return translated;
}

class MainWindowDialogs : public ::testing::Test {
protected:
    void Open(const std::wstring& key = {})
    {
        testsupport::MainForm::Options options;
        if (!key.empty()) {
            options.before = [&](TfrmTarimoku& made) {
                made.RestorePos.SetRegistryKey(key);
                made.RestorePos.SetRegistryName(TfrmTarimoku::kPlacementName);
            };
        }
        ASSERT_TRUE(form.Make(options));
    }
    testsupport::MainFormSlot form;
};

TEST_F(MainWindowDialogs, CtrlGShowsTheTypedFolderWithThePreviewsHeldAndCancelChangesNothing)
{
    testsupport::TempDir dir;
    std::wstring target = dir.Folder(L"行き先");
    Open();
    int busyDuringChange = -1;
    form->FolderView.OnChange = [&](ui::Component* sender, ui::TreeNode node) {
        busyDuringChange = form->FBusy.Count();
        form->FolderViewChange(sender, node);
    };
    const std::wstring before = form->FolderView.SelectedPath();

    struct Row {
        const char* what;
        std::wstring typed;
        UINT key;
        std::wstring shown;
    };
    const Row rows[] = {
        {"Esc", target, VK_ESCAPE, before},
        {"Enter on a folder", target, VK_RETURN, target},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        RECT dialogRect{}, mainRect{};
        DialogDriver driver(L"フォルダへ移動", [&](HWND dialog) {
            GetWindowRect(dialog, &dialogRect);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), form->Handle());
            HWND edit = GetDlgItem(dialog, IDC_GO_EDTPATH);
            SetWindowTextW(edit, r.typed.c_str());
            DialogDriver::PostKey(edit, r.key);
        });
        busyDuringChange = -1;
        // The dialog runs and ends inside the command.
        ASSERT_TRUE(TranslateCtrlKey(form->Handle(), form->Accelerators(), 'G'));
        testsupport::PumpFor(200);
        EXPECT_EQ(driver.Handled(), 1);
        EXPECT_EQ(form->FolderView.SelectedPath(), r.shown);
        EXPECT_EQ(form->FBusy.Count(), 0);
        if (r.key == VK_RETURN)
            EXPECT_EQ(busyDuringChange, 1); // the tree changed with FBusy raised
        else
            EXPECT_EQ(busyDuringChange, -1);
        // Centred on the main window.
        GetWindowRect(form->Handle(), &mainRect);
        EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2, (mainRect.left + mainRect.right) / 2, 1);
    }
}

TEST_F(MainWindowDialogs, FirstRunOpensAtTheDefaultPlacementAndWritesItsBoundsWhenDestroyed)
{
    TestRegistryKey key;
    Open(key.Path());
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, TfrmTarimoku::kInitialWidth);
    EXPECT_EQ(r.bottom - r.top, TfrmTarimoku::kInitialHeight);
    EXPECT_TRUE(form->RestorePos.RestorePending());
    SetWindowPos(form->Handle(), nullptr, 10, 20, 300, 200, SWP_NOZORDER);
    form.Close();
    EXPECT_EQ(key.Read(TfrmTarimoku::kPlacementName), L"10,20,300,200");
}

} // namespace
