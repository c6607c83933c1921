// The automatic refresh through its narrow interface, over stand-in panes:
// drive reports come together, and the drives' monitors let a drive go when
// its removal is asked for and come back when it is not.
#include "app/refresh/auto_refresh.h"
#include "tests/support/fake_refresh_panes.h"
#include "tests/support/pump_until.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <dbt.h>

using testsupport::FakeRefreshPanes;
using testsupport::PumpFor;
using testsupport::PumpUntil;
using testsupport::PumpUntilIdle;
using testsupport::RefreshHost;
using testsupport::TempDir;

namespace {

class AutoRefreshTest : public testing::Test {
protected:
    void SetUp() override
    {
        refresh.Attach(host.Handle(), panes);
    }
    void TearDown() override { refresh.Stop(); }
    void Device(WPARAM event, HDEVNOTIFY notify)
    {
        DEV_BROADCAST_HANDLE data{};
        data.dbch_size = sizeof(data);
        data.dbch_devicetype = DBT_DEVTYP_HANDLE;
        data.dbch_hdevnotify = notify;
        SendMessageW(host.Handle(), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&data));
    }

    testsupport::ClockSeams clock;
    unsigned long long& now = clock.ms;
    testsupport::DriveSeams driveSeams;
    std::vector<std::wstring>& drives = driveSeams.roots;
    std::vector<HANDLE> registered;
    std::vector<HDEVNOTIFY> unregistered;
    ui::ScopedSeam<ui::RegisterDeviceHandleFn> register_{ui::CurrentSeams().registerDeviceHandle,
                                                         [this](HWND, HANDLE handle) {
                                                             registered.push_back(handle);
                                                             return reinterpret_cast<HDEVNOTIFY>(registered.size());
                                                         }};
    ui::ScopedSeam<ui::UnregisterDeviceFn> unregister_{ui::CurrentSeams().unregisterDevice,
                                                       [this](HDEVNOTIFY notify) { unregistered.push_back(notify); }};
    FakeRefreshPanes panes;
    AutoRefresh refresh{panes.busy};
    RefreshHost host{refresh};
};

} // namespace

TEST_F(AutoRefreshTest, DriveReportsAreCarriedOutAtMostOnceASecond)
{
    refresh.DirMonitorFolderChange(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return panes.syncs == 1; }));
    EXPECT_EQ(panes.busyWhileWorking, 1) << "the work runs with the busy count raised";
    // Three more reports within the second: one pass, when the second is over.
    for (int i = 0; i < 3; ++i) {
        now += 100;
        refresh.DirMonitorFolderChange(nullptr);
    }
    PumpFor(300);
    EXPECT_EQ(panes.syncs, 1);
    now += 700;
    ASSERT_TRUE(PumpUntil([&] { return panes.syncs == 2; }));
    PumpFor(300);
    EXPECT_EQ(panes.syncs, 2);
    EXPECT_EQ(panes.rebuilds, 0);
    EXPECT_EQ(panes.refills, 0) << "the list is left alone";
}

TEST_F(AutoRefreshTest, APassThatMovesTheSelectionLeavesTheRefillToIt)
{
    refresh.SyncSpacingMs = 0;
    panes.selectAfterSync = L"elsewhere";
    refresh.DirMonitorFileChange(nullptr);
    refresh.DirMonitorFolderChange(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return panes.selected == L"elsewhere"; }));
    PumpFor(300);
    EXPECT_EQ(panes.refills, 0);
    EXPECT_FALSE(refresh.ListPending());
}

TEST_F(AutoRefreshTest, ARemovalAskedForLetsTheDriveGoUntilItFailsOrTheDriveReturns)
{
    TempDir c, d;
    drives = {c.Path(), d.Path()};
    SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0);
    ASSERT_EQ(refresh.DriveCount(), 2u);
    ASSERT_TRUE(refresh.DriveMonitor(1).Listed());
    ASSERT_EQ(registered.size(), 2u);
    EXPECT_EQ(registered[1], refresh.DriveMonitor(1).NotifyHandle()) << "the monitor's own handle";
    enum Event { QueryRemove, QueryRemoveFailed, RemoveComplete, Arrival, FolderChange };
    struct Row {
        const char* what;
        Event event;
        bool first, second; // the monitors on afterwards
        bool secondRegistered;
    };
    const Row rows[] = {
        {"query-remove switches that drive's monitor off", QueryRemove, true, false, true},
        {"another folder in view keeps it off", FolderChange, true, false, true},
        {"the removal failed: on again", QueryRemoveFailed, true, true, true},
        {"asked again: off", QueryRemove, true, false, true},
        {"removed: no longer registered", RemoveComplete, true, false, false},
        {"the drive returns: watched again", Arrival, true, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HDEVNOTIFY notify = refresh.DriveNotification(1);
        std::size_t unregisteredBefore = unregistered.size();
        switch (row.event) {
        case QueryRemove: Device(DBT_DEVICEQUERYREMOVE, notify); break;
        case QueryRemoveFailed: Device(DBT_DEVICEQUERYREMOVEFAILED, notify); break;
        case RemoveComplete: Device(DBT_DEVICEREMOVECOMPLETE, notify); break;
        case Arrival: SendMessageW(host.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0); break;
        case FolderChange: SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0); break;
        }
        PumpUntilIdle();
        EXPECT_EQ(refresh.DriveMonitor(0).Active(), row.first);
        EXPECT_EQ(refresh.DriveMonitor(1).Active(), row.second);
        EXPECT_EQ(refresh.DriveMonitor(1).Listed(), row.second);
        EXPECT_EQ(refresh.DriveNotification(1) != nullptr, row.secondRegistered);
        if (row.second && row.secondRegistered) {
            EXPECT_EQ(registered.back(), refresh.DriveMonitor(1).NotifyHandle());
        }
        if (row.event == QueryRemoveFailed || row.event == RemoveComplete) {
            ASSERT_EQ(unregistered.size(), unregisteredBefore + 1);
            EXPECT_EQ(unregistered.back(), notify);
        }
    }
}

TEST_F(AutoRefreshTest, ADriveThatCouldNotBeArmedIsWatchedOnceItArms)
{
    TempDir base;
    std::wstring late = base / L"late";
    drives = {late};
    SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0);
    ASSERT_EQ(refresh.DriveCount(), 1u);
    const TDirMonitor& monitor = refresh.DriveMonitor(0);
    EXPECT_TRUE(monitor.Active());
    EXPECT_FALSE(monitor.Listed());
    EXPECT_EQ(refresh.DriveNotification(0), nullptr);
    ASSERT_TRUE(CreateDirectoryW(late.c_str(), nullptr));
    for (int i = 0; i < AutoRefresh::kArmEveryChecks; ++i)
        refresh.Check();
    EXPECT_TRUE(monitor.Listed());
    EXPECT_EQ(monitor.Directory(), late);
    EXPECT_NE(refresh.DriveNotification(0), nullptr);
    // It reports like any other.
    base.Folder(L"late\\made");
    refresh.SyncSpacingMs = 0;
    EXPECT_TRUE(PumpUntil([&] { return panes.syncs > 0; }, 15000));
}

TEST_F(AutoRefreshTest, AFolderInViewDeletedIsReportedOnceAndItsChangesAreNotLost)
{
    TempDir base;
    base.Folder(L"view");
    panes.selected = base / L"view";
    refresh.SyncSpacingMs = 0;
    SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0);
    ASSERT_TRUE(refresh.FolderMonitor().Active());
    // A file made while the check has let go of the folder is still reported.
    base.File(L"view\\new.txt", "x");
    refresh.Check();
    EXPECT_TRUE(refresh.FolderMonitor().Active());
    EXPECT_TRUE(PumpUntil([&] { return panes.refills > 0; }));
    ASSERT_TRUE(testsupport::RemoveTree(base / L"view"));
    refresh.Check();
    refresh.Check();
    EXPECT_FALSE(refresh.FolderMonitor().Active());
    EXPECT_TRUE(PumpUntil([&] { return panes.syncs == 1; }));
    PumpFor(300);
    EXPECT_EQ(panes.syncs, 1) << "once";
}
