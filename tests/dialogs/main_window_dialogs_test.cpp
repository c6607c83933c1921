// The main window's dialogs and placement, through its keys and menu.
#include "app/ufrmMain.h"
#include "res/resource.h"
#include "scheme/error_box.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/placement_keys.h"
#include "tests/support/wine_ui.h"
#include "ui/exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using dialogs::Bounds;
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
        form = std::make_unique<TfrmTarimoku>();
        if (!key.empty()) {
            form->RestorePos.SetRegistryKey(key);
            form->RestorePos.SetRegistryName(TfrmTarimoku::kPlacementName);
        }
        ASSERT_TRUE(form->Create());
        form->Show();
        testsupport::PumpUntilIdle();
    }
    void TearDown() override
    {
        form.reset();
        testsupport::PumpUntilIdle();
    }
    std::unique_ptr<TfrmTarimoku> form;
};

TEST_F(MainWindowDialogs, CtrlGShowsTheTypedFolderWithThePreviewsHeldAndCancelChangesNothing)
{
    testsupport::TempDir dir;
    std::wstring target = dir.Folder(L"行き先");
    Open();
    int busyDuringChange = -1;
    form->FolderView.OnChange = [&](ui::Component* sender, ui::TreeNode node) {
        busyDuringChange = form->FBusy;
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
        EXPECT_EQ(form->FBusy, 0);
        if (r.key == VK_RETURN)
            EXPECT_EQ(busyDuringChange, 1); // the tree changed with FBusy raised
        else
            EXPECT_EQ(busyDuringChange, -1);
        // Centred on the main window.
        GetWindowRect(form->Handle(), &mainRect);
        EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2, (mainRect.left + mainRect.right) / 2, 1);
    }
}

TEST_F(MainWindowDialogs, TheHelpMenuOpensTheAboutBox)
{
    Open();
    std::wstring version;
    DialogDriver driver(L"バージョン情報", [&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), form->Handle());
        version = DialogDriver::TextOf(GetDlgItem(dialog, IDC_ABOUT_LBLVERSION));
        DialogDriver::PostKey(GetDlgItem(dialog, IDCANCEL), VK_RETURN);
    });
    // As the menu sends it.
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
    EXPECT_EQ(driver.Handled(), 1);
    EXPECT_EQ(version, L"Version 1.11 (" + std::to_wstring(TARIMOKU_VERSION_BUILD) + L")");
}

TEST_F(MainWindowDialogs, OpensWhereItWasClosedAndWritesItsBoundsWhenDestroyed)
{
    // First run: the default placement, written when the window goes.
    TestRegistryKey key;
    Open(key.Path());
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, TfrmTarimoku::kInitialWidth);
    EXPECT_EQ(r.bottom - r.top, TfrmTarimoku::kInitialHeight);
    EXPECT_TRUE(form->RestorePos.RestorePending());
    SetWindowPos(form->Handle(), nullptr, 10, 20, 300, 200, SWP_NOZORDER);
    form.reset();
    EXPECT_EQ(key.Read(TfrmTarimoku::kPlacementName), L"10,20,300,200");

    // Next run: there before it is first shown.
    form = std::make_unique<TfrmTarimoku>();
    form->RestorePos.SetRegistryKey(key.Path());
    form->RestorePos.SetRegistryName(TfrmTarimoku::kPlacementName);
    ASSERT_TRUE(form->Create());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(WindowBounds(form->Handle()), (Bounds{10, 20, 300, 200}));
    form->Show();
    testsupport::PumpUntilIdle();
    EXPECT_EQ(WindowBounds(form->Handle()), (Bounds{10, 20, 300, 200}));
}

TEST_F(MainWindowDialogs, AKeyThatCannotBeWrittenIsToldOnceAndTheWindowStillGoes)
{
    TestRegistryKey key;
    ASSERT_TRUE(key.Write(TfrmTarimoku::kPlacementName, L"10,20,300,200"));
    std::vector<std::wstring> messages;
    scheme::ScopedErrorSink sink([&](HWND, const std::wstring& text) { messages.push_back(text); });
    Open(key.Path());
    schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, key.Path());
    if (!readOnly.Applied())
        GTEST_SKIP() << "the key could not be made read-only";
    std::vector<std::wstring> escaped;
    ui::SetExceptionSink([&](const std::wstring& m) { escaped.push_back(m); });
    HWND window = form->Handle();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(messages, std::vector<std::wstring>{L"ウィンドウの位置を保存できませんでした。"});
    EXPECT_TRUE(escaped.empty());
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)); // the loop ends normally
    EXPECT_EQ(quit.wParam, 0u);
    form.reset();
    ui::SetExceptionSink({});
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(key.Read(TfrmTarimoku::kPlacementName), L"10,20,300,200");
}

} // namespace
