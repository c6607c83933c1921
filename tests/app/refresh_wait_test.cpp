// The main window's automatic refresh where it meets the rest of the window:
// it waits for nested loops and busy work, applies a drive's report in place
// without touching the list, and leaves a folder in view that vanished.
#include "tests/support/main_form.h"
#include "tests/support/nested_loop.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using testsupport::MainForm;
using testsupport::PumpFor;
using testsupport::PumpUntil;
using testsupport::PumpUntilIdle;
using testsupport::TempDir;

namespace {

class RefreshWait : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.Created());
        form->Refresh.SyncSpacingMs = 0;
    }
    TempDir dir;
    MainForm form;
};

// Raises the window's busy count as the views do around a fill.
void RaiseBusy(TfrmTarimoku& form, bool raised) { form.FolderView.OnBusy(&form.FolderView, raised); }

} // namespace

TEST_F(RefreshWait, ARefreshAskedForInsideANestedLoopWaitsAndRunsOnceAfterIt)
{
    enum Loop { Fill, Menu, Box, FileOperation, Drag };
    struct Row {
        const char* what;
        Loop loop;
    };
    const Row rows[] = {
        {"a fill: busy, the shell's dialog loop", Fill},
        {"a menu: the system's menu loop", Menu},
        {"a box: the system's box loop", Box},
        {"a file operation's question: busy and a box", FileOperation},
        {"a drag: a loop of its own, nothing busy", Drag},
    };
    dir.File(L"one.txt", "x");
    form.Open(dir.Path());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PumpUntilIdle();
        auto before = form->Refresh.RefreshCounts;
        int insideRefills = -1;
        // Asks for a refill, lets the loop run a while (the request's message
        // and the retry timer come by), then ends the loop.
        int ticks = 0;
        auto tick = [&](const std::function<void()>& end) {
            if (++ticks == 1)
                form->Refresh.DirMonitorFileChange(&form->Refresh.DirMonitorFile);
            if (ticks == 30) {
                insideRefills = form->Refresh.RefreshCounts.ListRefills - before.ListRefills;
                end();
            }
        };
        ASSERT_TRUE(testsupport::RunInsideDispatch([&] {
            switch (row.loop) {
            case Fill:
            case Drag: {
                if (row.loop == Fill)
                    RaiseBusy(*form, true);
                bool ended = false;
                testsupport::LoopTicker ticker([&] { tick([&] { ended = true; }); });
                while (!ended)
                    testsupport::ForeignLoop(20);
                if (row.loop == Fill)
                    RaiseBusy(*form, false);
                break;
            }
            case Menu: {
                HMENU popup = CreatePopupMenu();
                AppendMenuW(popup, MF_STRING, 1, L"item");
                SetForegroundWindow(form->Handle());
                testsupport::LoopTicker ticker([&] { tick([] { EndMenu(); }); });
                TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, form->Handle(), nullptr);
                DestroyMenu(popup);
                break;
            }
            case Box:
            case FileOperation: {
                if (row.loop == FileOperation)
                    RaiseBusy(*form, true);
                testsupport::LoopTicker ticker([&] {
                    tick([] {
                        if (HWND box = testsupport::ThreadDialog())
                            PostMessageW(box, WM_COMMAND, IDOK, 0);
                    });
                    if (ticks > 30 && ticks % 10 == 0)
                        if (HWND box = testsupport::ThreadDialog())
                            PostMessageW(box, WM_COMMAND, IDOK, 0);
                });
                MessageBoxW(form->Handle(), L"waiting", L"test", MB_OK);
                if (row.loop == FileOperation)
                    RaiseBusy(*form, false);
                break;
            }
            }
        }));
        EXPECT_EQ(insideRefills, 0) << "nothing ran inside the loop";
        EXPECT_GT(form->Refresh.RefreshCounts.Deferred, before.Deferred);
        ASSERT_TRUE(PumpUntil([&] { return form->Refresh.RefreshCounts.ListRefills > before.ListRefills; }));
        PumpFor(600);
        EXPECT_EQ(form->Refresh.RefreshCounts.ListRefills, before.ListRefills + 1) << "once";
        EXPECT_EQ(form->FBusy, 0);
        EXPECT_TRUE(form.Lists(L"one.txt"));
    }
}

TEST_F(RefreshWait, ADriveReportAppliesTheDifferencesInPlaceWithoutTouchingTheList)
{
    struct Row {
        const char* what;
        const wchar_t* made;    // a folder made before the report, or none
        const wchar_t* removed; // a folder removed before it, or none
        const wchar_t* selectedAfter; // relative to the test folder
        bool listRefilled;
    };
    const Row rows[] = {
        {"a folder made in an expanded folder", L"sub\\added", nullptr, L"sub\\inner", false},
        {"a sibling removed", nullptr, L"sub\\added", L"sub\\inner", false},
        {"the folder in view removed: its parent", nullptr, L"sub\\inner", L"sub", true},
    };
    dir.Folder(L"sub\\inner\\deeper");
    dir.Folder(L"sub\\other");
    for (int i = 0; i < 40; ++i)
        dir.File(L"sub\\inner\\f" + std::to_wstring(i) + L".txt", "x");
    form.Open(dir / L"sub\\inner");
    TFolderView& tree = form->FolderView;
    ui::TreeNode sub = tree.Parent(tree.Selected());
    ASSERT_TRUE(sub);
    tree.Expand(tree.Selected());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PumpUntilIdle();
        ui::TreeNode selected = tree.Selected();
        ui::TreeNode top = TreeView_GetFirstVisible(tree.Handle());
        auto before = form->Refresh.RefreshCounts;
        ui::TreeNode other = shview::FindChildByText(tree, sub, L"other");
        if (row.made)
            dir.Folder(row.made);
        if (row.removed) {
            ASSERT_TRUE(testsupport::RemoveTree(dir / row.removed));
        }
        form->Refresh.DirMonitorFolderChange(nullptr); // as the drive's monitor reports it
        PumpUntilIdle();
        EXPECT_EQ(form->Refresh.RefreshCounts.TreeRebuilds, before.TreeRebuilds);
        EXPECT_GE(form->Refresh.RefreshCounts.TreeSyncs, before.TreeSyncs + 1);
        EXPECT_EQ(tree.SelectedPath(), dir / row.selectedAfter);
        // The list is refilled only by the selection moving away.
        bool refilled = tree.Selected() != selected || form->Refresh.RefreshCounts.ListRefills != before.ListRefills;
        EXPECT_EQ(refilled, row.listRefilled);
        EXPECT_EQ(shview::FindChildByText(tree, sub, L"other"), other) << "nodes that stay are the same nodes";
        EXPECT_TRUE(tree.IsExpanded(sub));
        if (!row.listRefilled) {
            EXPECT_EQ(tree.Selected(), selected);
            EXPECT_EQ(TreeView_GetFirstVisible(tree.Handle()), top);
        }
        std::vector<std::wstring> children;
        for (ui::TreeNode n = tree.FirstChild(sub); n; n = tree.NextSibling(n))
            children.push_back(tree.Text(n));
        EXPECT_EQ(std::count(children.begin(), children.end(), L"added"), row.made ? 1 : 0);
        EXPECT_EQ(form->FBusy, 0);
    }
    EXPECT_TRUE(form.Lists(L"other"));
}

TEST_F(RefreshWait, AFolderInViewDeletedFromOutsideGivesWayToItsParent)
{
    dir.Folder(L"gone");
    dir.File(L"kept.txt", "x");
    form.Open(dir / L"gone");
    ASSERT_TRUE(form->Refresh.DirMonitorFile.Active());
    ASSERT_TRUE(testsupport::RemoveTree(dir / L"gone"));
    // No report: the monitor of a deleted folder may not signal.
    EXPECT_TRUE(PumpUntil([&] { return form->FolderView.SelectedPath() == dir.Path(); }, 10000));
    PumpUntilIdle();
    EXPECT_TRUE(form.Lists(L"kept.txt"));
    wchar_t caption[MAX_PATH * 2] = L"";
    GetWindowTextW(form->Handle(), caption, MAX_PATH * 2);
    EXPECT_NE(std::wstring(caption).find(dir.Path()), std::wstring::npos);
    EXPECT_EQ(std::wstring(caption).find(L"gone"), std::wstring::npos);
    EXPECT_EQ(form->Refresh.DirMonitorFile.Directory(), dir.Path());
    EXPECT_TRUE(form->Refresh.DirMonitorFile.Active());
}
