// The main window follows the disk by itself: the monitors' reports, device
// events and refresh requests come together into one rebuild and at most one
// refill, which keep what the user had open and marked.
#include "app/messages.h"
#include "tests/support/main_form.h"
#include "tests/support/nested_loop.h"
#include "tests/support/seam_recorders.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dbt.h>


using testsupport::MainForm;
using testsupport::PumpFor;
using testsupport::PumpUntil;
using testsupport::PumpUntilIdle;
using testsupport::TempDir;

namespace {

// A folder made directly in the root of drive C: (a subtree watch there
// sees it), removed again when the object goes.
class RootFolder {
public:
    RootFolder()
    {
        path_ = L"C:\\tarimoku-refresh-" + std::to_wstring(GetCurrentProcessId());
    }
    ~RootFolder() { testsupport::RemoveTree(path_); }
    bool Make() const { return CreateDirectoryW(path_.c_str(), nullptr) != FALSE; }
    std::wstring Name() const { return path_.substr(3); }

private:
    std::wstring path_;
};

// Long enough for several ticks of the monitors (one a second).
constexpr DWORD kSettle = 2500;

class Refresh : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.Created());
        form->refresh.syncSpacingMs = 0; // each report carried out at once
    }
    TempDir dir; // made before the monitors start, gone after the window
    MainForm form;
};

// Raises the window's busy count as the views do around a fill.
void RaiseBusy(TfrmTarimoku& form, bool raised) { form.FolderView.OnBusy(&form.FolderView, raised); }

} // namespace

TEST_F(Refresh, AFileMadeInTheFolderInViewIsListedWithoutRebuildingTheTree)
{
    form.Open(dir.Path());
    ASSERT_TRUE(form->refresh.FolderMonitor().Active());
    ASSERT_EQ(form->refresh.FolderMonitor().Directory(), dir.Path());
    auto before = form->refresh.refreshCounts;
    dir.File(L"arrived.cur", "x");
    EXPECT_TRUE(PumpUntil([&] { return form.Lists(L"arrived.cur"); }, 15000));
    EXPECT_EQ(form->refresh.refreshCounts.treeRebuilds, before.treeRebuilds);
    EXPECT_GE(form->refresh.refreshCounts.listRefills, before.listRefills + 1);
    EXPECT_EQ(form->FBusy.Count(), 0);
}

TEST_F(Refresh, AFolderMadeUnderADriveRootIsAddedInPlaceKeepingExpansionAndSelection)
{
    dir.Folder(L"inner");
    form.Open(L"C:\\windows");
    ui::TreeNode windows = form->FolderView.Selected();
    ASSERT_NE(windows, nullptr);
    form->FolderView.Expand(windows);
    ui::TreeNode drive = form->FolderView.Parent(windows);
    form.Open(dir.Path());
    std::wstring selected = form.SelectedTextPath();
    PumpFor(kSettle); // the monitors armed, nothing pending
    auto before = form->refresh.refreshCounts;

    RootFolder made;
    ASSERT_TRUE(made.Make());
    auto appeared = [&] {
        for (ui::TreeNode n = form->FolderView.FirstChild(drive); n; n = form->FolderView.NextSibling(n))
            if (form->FolderView.Text(n) == made.Name())
                return true;
        return false;
    };
    ASSERT_TRUE(PumpUntil(appeared, 15000));
    PumpFor(kSettle);
    EXPECT_EQ(form->refresh.refreshCounts.treeRebuilds, before.treeRebuilds);
    EXPECT_GE(form->refresh.refreshCounts.treeSyncs, before.treeSyncs + 1);
    EXPECT_EQ(form.SelectedTextPath(), selected);
    EXPECT_TRUE(form->FolderView.IsExpanded(windows)) << "the same node, still expanded";
    EXPECT_EQ(form->refresh.refreshCounts.listRefills, before.listRefills) << "the list was left alone";
    EXPECT_TRUE(form.Lists(L"inner"));
    EXPECT_EQ(form->FBusy.Count(), 0);
}

TEST_F(Refresh, RequestsBeforeTheHandlerRunsComeTogether)
{
    enum Request { File, Folder, Arrival, Removal, QueryRemove, RemovePending, Command };
    struct Row {
        const char* what;
        std::vector<Request> requests;
        int rebuilds;
        int refills;
        int syncs;
    };
    const Row rows[] = {
        {"three file reports: one refill", {File, File, File}, 0, 1, 0},
        {"three drive reports: one pass in place", {Folder, Folder, Folder}, 0, 0, 1},
        {"mixed reports: one pass and one refill", {File, Folder, File}, 0, 1, 1},
        {"a device arrival rebuilds", {Arrival}, 1, 0, 0},
        {"a completed removal rebuilds", {Removal}, 1, 0, 0},
        {"a query-remove of no drive of ours does nothing", {QueryRemove}, 0, 0, 0},
        {"a pending removal does nothing", {RemovePending}, 0, 0, 0},
        {"the refresh command twice: one of each at most", {Command, Command}, 1, 0, 0},
        {"a drive report with the command: the rebuild covers it", {Folder, Command}, 1, 0, 0},
    };
    form.Open(dir.Path());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PumpUntilIdle();
        auto before = form->refresh.refreshCounts;
        for (Request request : row.requests) {
            switch (request) {
            case File: form->refresh.DirMonitorFileChange(nullptr); break;
            case Folder: form->refresh.DirMonitorFolderChange(nullptr); break;
            case Arrival: SendMessageW(form->Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0); break;
            case Removal: SendMessageW(form->Handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0); break;
            case QueryRemove: SendMessageW(form->Handle(), WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, 0); break;
            case RemovePending: SendMessageW(form->Handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVEPENDING, 0); break;
            case Command: form->RequestRefresh(); break;
            }
        }
        EXPECT_EQ(form->FBusy.Count(), 0);
        PumpUntilIdle();
        EXPECT_EQ(form->refresh.refreshCounts.treeRebuilds - before.treeRebuilds, row.rebuilds);
        EXPECT_EQ(form->refresh.refreshCounts.listRefills - before.listRefills, row.refills);
        EXPECT_EQ(form->refresh.refreshCounts.treeSyncs - before.treeSyncs, row.syncs);
        EXPECT_FALSE(form->refresh.TreePending());
        EXPECT_FALSE(form->refresh.ListPending());
        EXPECT_EQ(form.SelectedTextPath().empty(), false);
        EXPECT_EQ(form->FolderView.SelectedPath(), dir.Path());
    }
}

TEST_F(Refresh, DriveMonitorsFollowTheNonRemovableDrives)
{
    TempDir a, c, d;
    testsupport::DriveSeams drives;
    drives.types = {{a.Path(), DRIVE_REMOVABLE}, {c.Path(), DRIVE_FIXED}, {d.Path(), DRIVE_CDROM}};
    struct Row {
        const char* what;
        std::vector<std::wstring> drives;
        std::vector<bool> active; // of the first monitors; any beyond them are off
        std::vector<std::wstring> directories;
    };
    const Row rows[] = {
        {"removable drives are left out", {a.Path(), c.Path(), d.Path()}, {true, true}, {c.Path(), d.Path()}},
        {"a drive that goes switches its monitor off", {a.Path(), c.Path()}, {true, false}, {c.Path(), d.Path()}},
        {"a drive that comes back reuses it", {c.Path(), d.Path()}, {true, true}, {c.Path(), d.Path()}},
    };
    std::vector<const TDirMonitor*> first;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        drives.roots = row.drives;
        PostMessageW(form->Handle(), WM_WATCHFOLDERS, 0, 0);
        PumpUntilIdle();
        ASSERT_GE(form->refresh.DriveCount(), row.active.size());
        for (std::size_t i = 0; i < form->refresh.DriveCount(); ++i) {
            const TDirMonitor& monitor = form->refresh.DriveMonitor(i);
            EXPECT_EQ(monitor.Active(), i < row.active.size() && row.active[i]) << i;
            if (i < row.directories.size()) {
                EXPECT_EQ(monitor.Directory(), row.directories[i]) << i;
            }
            EXPECT_TRUE(monitor.IncludeSubDir());
            EXPECT_EQ(monitor.Filter(), TDirMonitorFilter({dmfDirName}));
            if (first.size() <= i)
                first.push_back(&monitor);
            EXPECT_EQ(&monitor, first[i]) << "monitors are reused";
        }
    }
}

TEST_F(Refresh, TheFolderMonitorWatchesOnlyAFolderWithAPath)
{
    form.Open(dir.Path());
    EXPECT_TRUE(form->refresh.FolderMonitor().Active());
    EXPECT_EQ(form->refresh.FolderMonitor().Filter(), TDirMonitorFilter({dmfFileName, dmfDirName}));
    EXPECT_FALSE(form->refresh.FolderMonitor().IncludeSubDir());
    EXPECT_EQ(TDirMonitor::Interval(), 1000);
    form.Open(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"); // My Computer
    ASSERT_NE(form->FolderView.Selected(), form->FolderView.Root());
    EXPECT_FALSE(form->refresh.FolderMonitor().Active());
    EXPECT_NE(form->refresh.DriveCount(), 0u);
}

TEST_F(Refresh, AnAutomaticRefillKeepsSelectionFocusAndScrollPosition)
{
    for (int i = 0; i < 300; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"f%03d.txt", i);
        dir.File(name, "x");
    }
    form.Open(dir.Path());
    TFileView& list = form->FileView;
    ASSERT_EQ(list.Count(), 300);
    list.fillSliceItems = 40; // the refill in slices: the marks come back at its end
    struct Row {
        const char* what;
        const wchar_t* created; // made before the refill (sorts first), or none
        const wchar_t* deleted; // deleted before the refill, or none
        std::vector<std::wstring> selected;
        std::vector<std::wstring> kept;
    };
    const Row rows[] = {
        {"an item added above", L"a-new.txt", nullptr, {L"f150.txt", L"f151.txt", L"f200.txt"},
         {L"f150.txt", L"f151.txt", L"f200.txt"}},
        {"a selected item deleted", nullptr, L"f151.txt", {L"f150.txt", L"f151.txt", L"f200.txt"},
         {L"f150.txt", L"f200.txt"}},
    };
    auto indexOf = [&](const std::wstring& caption) {
        auto captions = form.Captions();
        for (std::size_t i = 0; i < captions.size(); ++i)
            if (captions[i] == caption)
                return int(i);
        return -1;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const std::wstring& name : row.selected)
            list.SetSelected(indexOf(name), true);
        list.SetFocused(indexOf(L"f200.txt"));
        list.EnsureVisible(indexOf(L"f299.txt"));
        list.EnsureVisible(indexOf(L"f140.txt"));
        PumpUntilIdle();
        // The first item reaching into the view, and where it is.
        int top = 0;
        RECT before{};
        for (; top < list.Count(); ++top) {
            ListView_GetItemRect(list.Handle(), top, &before, LVIR_BOUNDS);
            if (before.bottom > 0)
                break;
        }
        ASSERT_GT(top, 100) << "the view is scrolled";
        std::wstring topCaption = list.ItemText(top);
        if (row.created)
            dir.File(row.created, "x");
        if (row.deleted)
            DeleteFileW((dir / row.deleted).c_str());
        auto refills = form->refresh.refreshCounts.listRefills;
        ASSERT_TRUE(PumpUntil([&] { return form->refresh.refreshCounts.listRefills > refills; }, 15000));
        PumpUntilIdle();
        EXPECT_EQ(form.SelectedCaptions(), row.kept);
        int focused = ListView_GetNextItem(list.Handle(), -1, LVNI_FOCUSED);
        ASSERT_GE(focused, 0);
        EXPECT_EQ(list.ItemText(focused), L"f200.txt");
        RECT after{};
        ListView_GetItemRect(list.Handle(), indexOf(topCaption), &after, LVIR_BOUNDS);
        EXPECT_EQ(after.top, before.top) << "the top item stays at the top";
        for (int i = 0; i < list.Count(); ++i)
            list.SetSelected(i, false);
    }
}

TEST_F(Refresh, ARefillWaitsForAnInPlaceRenameToEnd)
{
    dir.File(L"one.txt", "x");
    form.Open(dir.Path());
    TFileView& list = form->FileView;
    ASSERT_EQ(list.Count(), 1);
    SetForegroundWindow(form->Handle());
    SetFocus(list.Handle());
    list.EditLabel(0);
    HWND edit = ListView_GetEditControl(list.Handle());
    ASSERT_NE(edit, nullptr);
    auto before = form->refresh.refreshCounts;
    dir.File(L"two.txt", "x");
    form->refresh.DirMonitorFileChange(nullptr);
    PumpFor(600);
    EXPECT_EQ(form->refresh.refreshCounts.listRefills, before.listRefills);
    EXPECT_GT(form->refresh.refreshCounts.deferred, before.deferred);
    EXPECT_EQ(ListView_GetEditControl(list.Handle()), edit) << "the edit goes on";

    SendMessageW(list.Handle(), LVM_CANCELEDITLABEL, 0, 0);
    if (ListView_GetEditControl(list.Handle()))
        SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !ListView_GetEditControl(list.Handle()); }));
    EXPECT_TRUE(PumpUntil([&] { return form.Lists(L"two.txt"); }));
    EXPECT_GT(form->refresh.refreshCounts.listRefills, before.listRefills);
}

TEST_F(Refresh, ARefreshAskedForInsideANestedLoopWaitsAndRunsOnceAfterIt)
{
    enum Loop {
        Fill,
        Menu,
        Box,
        FileOperation,
        Drag
    };
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
        auto before = form->refresh.refreshCounts;
        int insideRefills = -1;
        // Asks for a refill, lets the loop run a while (the request's message
        // and the retry timer come by), then ends the loop.
        int ticks = 0;
        auto tick = [&](const std::function<void()>& end) {
            if (++ticks == 1)
                form->refresh.DirMonitorFileChange(nullptr);
            if (ticks == 30) {
                insideRefills = form->refresh.refreshCounts.listRefills - before.listRefills;
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
        EXPECT_GT(form->refresh.refreshCounts.deferred, before.deferred);
        ASSERT_TRUE(PumpUntil([&] { return form->refresh.refreshCounts.listRefills > before.listRefills; }));
        PumpFor(600);
        EXPECT_EQ(form->refresh.refreshCounts.listRefills, before.listRefills + 1) << "once";
        EXPECT_EQ(form->FBusy.Count(), 0);
        EXPECT_TRUE(form.Lists(L"one.txt"));
    }
}

// A drive's report as the window carries it out: in place, no rebuild, and
// the list refilled only when the selection had to move to the nearest
// folder left. (What the tree itself does with the differences is
// FolderViewSyncTest's.) A subtree watch under Wine misses changes inside
// folders that were there before it started, so the report is made here as
// the drive's monitor would make it.
TEST_F(Refresh, ADriveReportAppliesTheDifferencesInPlaceAndTheListFollowsOnlyAMovedSelection)
{
    struct Row {
        const char* what;
        const wchar_t* selected;      // relative to the test folder
        const wchar_t* made;          // a folder made before the report, or none
        const wchar_t* removed;       // a folder removed before it, or none
        const wchar_t* selectedAfter; // relative to the test folder; empty: the folder itself
        const wchar_t* listed;        // an item the list then shows; none: it is empty
        bool listRefilled;
    };
    const Row rows[] = {
        {"a folder made in an expanded folder", L"sub\\inner", L"sub\\added", nullptr, L"sub\\inner", L"f0.txt", false},
        {"a sibling removed", L"sub\\inner", nullptr, L"sub\\added", L"sub\\inner", L"f0.txt", false},
        {"the folder in view removed: its parent", L"sub\\inner", nullptr, L"sub\\inner", L"sub", L"other", true},
        {"the parent is left empty", L"d\\e", nullptr, L"d\\e", L"d", nullptr, true},
        {"it goes with a sub-folder", L"f\\g", nullptr, L"f\\g", L"f", L"k", true},
    };
    for (const wchar_t* folder : {L"sub\\inner\\deeper", L"sub\\other", L"d\\e", L"f\\g\\h", L"f\\k"})
        dir.Folder(folder);
    for (int i = 0; i < 40; ++i)
        dir.File(L"sub\\inner\\f" + std::to_wstring(i) + L".txt", "x");
    TFolderView& tree = form->FolderView;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (tree.SelectedPath() != dir / row.selected) {
            form.Open(dir / row.selected);
            tree.Expand(tree.Selected());
        }
        PumpUntilIdle();
        ui::TreeNode selected = tree.Selected();
        ui::TreeNode parent = tree.Parent(selected);
        ui::TreeNode top = TreeView_GetFirstVisible(tree.Handle());
        auto before = form->refresh.refreshCounts;
        if (row.made)
            dir.Folder(row.made);
        // Deleted as the shell's delete to the Recycle Bin does, moved away first (deleted in
        // place, Wine keeps it pending and unreported while a handle on it is open).
        if (row.removed) {
            ASSERT_TRUE(MoveFileW((dir / row.removed).c_str(), (dir / L"bin").c_str()) &&
                        testsupport::RemoveTree(dir / L"bin"));
        }
        form->refresh.DirMonitorFolderChange(nullptr);
        PumpUntilIdle();
        EXPECT_EQ(form->refresh.refreshCounts.treeRebuilds, before.treeRebuilds);
        EXPECT_GE(form->refresh.refreshCounts.treeSyncs, before.treeSyncs + 1);
        EXPECT_EQ(tree.SelectedPath(), *row.selectedAfter ? dir / row.selectedAfter : dir.Path());
        // The list is refilled only by the selection moving away.
        bool refilled = tree.Selected() != selected || form->refresh.refreshCounts.listRefills != before.listRefills;
        EXPECT_EQ(refilled, row.listRefilled);
        if (row.listRefilled) {
            EXPECT_EQ(tree.Selected(), parent) << "nodes that stay are the same nodes";
        } else {
            EXPECT_EQ(tree.Selected(), selected);
            EXPECT_EQ(tree.Parent(selected), parent);
            EXPECT_EQ(TreeView_GetFirstVisible(tree.Handle()), top);
        }
        if (row.listed) {
            EXPECT_TRUE(form.Lists(row.listed));
        } else {
            EXPECT_EQ(form->FileView.Count(), 0);
        }
        EXPECT_EQ(form->FBusy.Count(), 0);
    }
}

TEST_F(Refresh, AFolderInViewDeletedFromOutsideGivesWayToItsParent)
{
    dir.Folder(L"gone");
    dir.File(L"kept.txt", "x");
    form.Open(dir / L"gone");
    ASSERT_TRUE(form->refresh.FolderMonitor().Active());
    ASSERT_TRUE(MoveFileW((dir / L"gone").c_str(), (dir / L"bin").c_str()) &&
                testsupport::RemoveTree(dir / L"bin"));
    // No report: the monitor of a deleted folder may not signal.
    EXPECT_TRUE(PumpUntil([&] { return form->FolderView.SelectedPath() == dir.Path(); }, 10000));
    PumpUntilIdle();
    EXPECT_TRUE(form.Lists(L"kept.txt"));
    wchar_t caption[MAX_PATH * 2] = L"";
    GetWindowTextW(form->Handle(), caption, MAX_PATH * 2);
    EXPECT_NE(std::wstring(caption).find(dir.Path()), std::wstring::npos);
    EXPECT_EQ(std::wstring(caption).find(L"gone"), std::wstring::npos);
    EXPECT_EQ(form->refresh.FolderMonitor().Directory(), dir.Path());
    EXPECT_TRUE(form->refresh.FolderMonitor().Active());
}
