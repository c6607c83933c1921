// Where the keyboard starts and how it moves between the panes, and the
// smallest window the main window lets itself be made.
#include "tests/support/key_input.h"
#include "tests/support/wine_ui.h"

#include "tests/support/main_form.h"
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <string>
#include <vector>

namespace {

// A key pressed on the focused control as the program's loop handles it,
// with Shift held or not.
void PressOnFocus(const TfrmTarimoku& form, UINT vk, bool shift)
{
    testsupport::PressKey(form.Handle(), form.Accelerators(), GetFocus(), vk, false, shift);
    testsupport::PumpUntilIdle(10, 1000);
}

int WidthOf(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return r.right - r.left;
}

class PaneKeys : public ::testing::Test {
protected:
    // Makes the window, opens the command line's folder, if any, and shows it.
    void Start(const std::vector<std::wstring>& arguments = {})
    {
        testsupport::MainForm::Options options;
        options.make = [&](TfrmTarimoku& made) {
            if (!made.Create())
                return false;
            made.OpenCommandLineFolder(arguments);
            return true;
        };
        ASSERT_TRUE(form.Make(options));
    }
    HWND Tree() const { return form->FolderView.Handle(); }
    HWND List() const { return form->FileView.Handle(); }

    testsupport::TempDir dir;
    testsupport::MainFormSlot form;
};

TEST_F(PaneKeys, TheKeyboardStartsInTheTreeOrInTheListOfTheCommandLinesFolder)
{
    Start();
    EXPECT_EQ(GetFocus(), Tree());
    form.Close();
    dir.File(L"one.txt", "x");
    Start({dir.Path()});
    EXPECT_EQ(GetFocus(), List());
    EXPECT_EQ(form->FileView.Count(), 1);
}

TEST_F(PaneKeys, TabAndF6MoveBetweenThePanesAndShiftMovesBack)
{
    Start();
    struct Case {
        const char* what;
        bool fromTree;
        UINT key;
        bool shift;
    };
    // Two panes: forward and back both reach the other one.
    const Case cases[] = {
        {"Tab in the tree", true, VK_TAB, false},       {"Tab in the list", false, VK_TAB, false},
        {"Shift+Tab in the list", false, VK_TAB, true}, {"Shift+Tab in the tree", true, VK_TAB, true},
        {"F6 in the tree", true, VK_F6, false},         {"F6 in the list", false, VK_F6, false},
        {"Shift+F6 in the list", false, VK_F6, true},   {"Shift+F6 in the tree", true, VK_F6, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND from = c.fromTree ? Tree() : List();
        SetFocus(from);
        ASSERT_EQ(GetFocus(), from);
        ui::TreeNode selected = form->FolderView.Selected();
        PressOnFocus(*form, c.key, c.shift);
        EXPECT_EQ(GetFocus(), c.fromTree ? List() : Tree());
        // The key did nothing else: the tree did not search for a tab.
        EXPECT_EQ(form->FolderView.Selected(), selected);
    }
}

TEST_F(PaneKeys, KeysInARenameBoxAreTheBoxsAndLeaveTheNameOnDisk)
{
    const std::wstring file = dir.File(L"keep.txt", "x"), folder = dir.Folder(L"keepdir");
    Start({dir.Path()});
    const struct {
        UINT vk;
        bool ctrl;
        const wchar_t* left; // the box's text after the key: "half", the caret after "ha"
    } keys[] = {{'A', true, L"half"}, {VK_DELETE, false, L"haf"}, {VK_F5, false, L"half"}, {'G', true, L"half"}};
    for (bool tree : {false, true}) {
        for (const auto& key : keys) {
            SCOPED_TRACE(testing::Message() << (tree ? "tree " : "list ") << key.vk);
            // The list's file, or the tree's node of the sub-folder (the folder in view stays).
            idlist::AbsoluteIDList id = idlist::IDListFromPath(folder);
            SetFocus(tree ? Tree() : List());
            if (tree)
                form->FolderView.EditLabel(form->FolderView.FindNode(id.get()));
            else
                form->FileView.EditLabel(0);
            HWND edit = tree ? TreeView_GetEditControl(Tree()) : ListView_GetEditControl(List());
            ASSERT_TRUE(edit);
            SetWindowTextW(edit, L"half");
            SendMessageW(edit, EM_SETSEL, 2, 2);
            ASSERT_FALSE(form->refresh.ListPending() || form->refresh.TreePending());
            const int selected = form->FileView.SelectedCount();
            {
                testsupport::DialogWatchdog dialogs(IDCANCEL); // Ctrl+G as a command: the go-to dialog
                EXPECT_FALSE(testsupport::PressKey(form->Handle(), form->Accelerators(), edit, key.vk, key.ctrl));
                testsupport::PumpUntilIdle(10, 1000);
                EXPECT_EQ(dialogs.Pressed(), 0);
            }
            EXPECT_FALSE(form->refresh.ListPending() || form->refresh.TreePending());
            EXPECT_EQ(form->FileView.SelectedCount(), selected);
            ASSERT_EQ(GetFocus(), edit); // still renaming
            wchar_t text[32] = L"";
            GetWindowTextW(edit, text, 32);
            EXPECT_STREQ(text, key.left);
            DWORD from = 0, to = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            EXPECT_EQ(key.vk == 'A' ? 0u : 2u, from); // Ctrl+A selects the whole text
            // Cancelled, nothing was renamed.
            if (tree)
                TreeView_EndEditLabelNow(Tree(), TRUE);
            else
                SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
            testsupport::PumpUntilIdle(10, 1000);
            EXPECT_TRUE(testsupport::FileExists(file) && FolderExists(folder));
            EXPECT_FALSE(testsupport::FileExists(dir / L"half") || testsupport::FileExists(dir / L"haf"));
        }
    }
}

TEST_F(PaneKeys, ANarrowWindowAndTheSplitterLeaveTheToolBarAndBothPanesUsable)
{
    Start();
    // Asked for less, the window stays at its smallest.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER);
    testsupport::PumpUntilIdle(10, 1000);
    RECT rc;
    GetClientRect(form->Handle(), &rc);
    panes::Size client = panes::MinimumClient();
    EXPECT_GE(rc.right, client.width);
    EXPECT_GE(rc.bottom, client.height);
    EXPECT_GE(WidthOf(Tree()), panes::kMinPaneWidth);
    EXPECT_GE(WidthOf(List()), panes::kMinPaneWidth);
    HWND bar = form->ToolButtons.Handle();
    RECT last{};
    SendMessageW(bar, TB_GETITEMRECT, WPARAM(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) - 1),
                 reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.right, rc.right) << "the last tool button is whole";

    // The splitter dragged past either edge stops where the other pane keeps its width.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    testsupport::PumpUntilIdle(10, 1000);
    GetClientRect(form->Handle(), &rc);
    HWND splitter = form->Splitter1.Handle();
    const std::pair<int, int> drags[] = {
        {-300, panes::kMinPaneWidth},
        {rc.right + 300, rc.right - panes::kSplitterWidth - panes::kMinPaneWidth},
    };
    for (auto [to, tree] : drags) {
        SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
        POINT at{to + 1, 40};
        MapWindowPoints(form->Handle(), splitter, &at, 1);
        SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        testsupport::PumpUntilIdle(10, 500);
        EXPECT_EQ(WidthOf(Tree()), tree) << to;
        EXPECT_GE(WidthOf(List()), panes::kMinPaneWidth) << to;
    }
}

} // namespace
