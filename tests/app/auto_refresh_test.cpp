// The automatic refresh through its narrow interface, over stand-in panes:
// drive reports come together, every monitor lets its volume go when its
// removal is asked for and comes back when it is not, and the folder in view
// stays watched without a break.
#include "app/refresh/auto_refresh.h"
#include "tests/support/fake_refresh_panes.h"
#include "tests/support/pump_until.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/windows_profile.h"
#include "tests/support/wine_ui.h"
#include "ui/handles.h"

#include <gtest/gtest.h>

#include <dbt.h>

#include <algorithm>
#include <functional>

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
    refresh.syncSpacingMs = 0;
    panes.selectAfterSync = L"elsewhere";
    refresh.DirMonitorFileChange(nullptr);
    refresh.DirMonitorFolderChange(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return panes.selected == L"elsewhere"; }));
    PumpFor(300);
    EXPECT_EQ(panes.refills, 0);
    EXPECT_FALSE(refresh.ListPending());
}

TEST_F(AutoRefreshTest, EveryHandleOnAVolumeLetsItGoWhileItsRemovalIsAskedFor)
{
    testsupport::WindowsProfile profile; // its drives' kinds are the system's own
    const std::wstring removable = profile.kDriveRoots[0], network = profile.kDriveRoots[1];
    drives = {removable, network};
    for (const std::wstring& root : drives) {
        driveSeams.types[root] = GetDriveTypeW(root.c_str());
        CreateDirectoryW((root + L"view").c_str(), nullptr);
    }
    ASSERT_EQ(driveSeams.types[removable], UINT(DRIVE_REMOVABLE));
    PumpUntilIdle(); // the drives' arrival, told to every window
    TempDir fixed;
    struct Row {
        const char* what;
        std::wstring folder; // in view
        std::size_t asked;   // the monitor the notices name: the folder's, its parent's, the drive's
        bool driveToo;       // the drive's own monitor lies on that volume
    };
    const Row rows[] = {
        {"a fixed drive", fixed.Folder(L"view"), 0, false},
        {"a removable drive", removable + L"view", 1, false},
        {"a network drive, watched whole too", network + L"view", 2, true},
    };
    struct Step {
        const char* what;
        WPARAM event; // 0: the folders looked at again
        bool letGo, registered;
    };
    const Step steps[] = {
        {"removal asked for", DBT_DEVICEQUERYREMOVE, true, true},
        {"the folders looked at again", 0, true, true},
        {"removal refused", DBT_DEVICEQUERYREMOVEFAILED, false, true},
        {"asked again", DBT_DEVICEQUERYREMOVE, true, true},
        {"removed", DBT_DEVICEREMOVECOMPLETE, true, false},
        {"back again", DBT_DEVICEARRIVAL, false, true},
    };
    for (const Row& row : rows) {
        panes.selected = row.folder;
        SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0);
        ASSERT_EQ(refresh.DriveCount(), 1u) << "none for the removable drive";
        const TDirMonitor* monitors[] = {&refresh.FolderMonitor(), &refresh.ParentMonitor(), &refresh.DriveMonitor(0)};
        const bool onVolume[] = {true, true, row.driveToo};
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(row.what) + ": " + step.what);
            const int rebuilds = panes.rebuilds;
            if (step.event == 0)
                SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0);
            else if (step.event == DBT_DEVICEARRIVAL)
                SendMessageW(host.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
            else
                Device(step.event, refresh.Notification(*monitors[row.asked]));
            PumpUntilIdle();
            for (std::size_t i = 0; i < std::size(monitors); ++i) {
                const bool on = !(onVolume[i] && step.letGo);
                EXPECT_EQ(monitors[i]->Listed(), on) << i;
                EXPECT_EQ(refresh.HeldOff(*monitors[i]), !on) << i;
                HDEVNOTIFY notify = refresh.Notification(*monitors[i]);
                EXPECT_EQ(notify != nullptr, !onVolume[i] || step.registered) << i;
                if (on && notify) {
                    EXPECT_EQ(registered[std::size_t(notify) - 1], monitors[i]->NotifyHandle()) << i;
                }
            }
            // The views go to the nearest folder there, and come back with the drive.
            const bool moved = step.event == DBT_DEVICEREMOVECOMPLETE || step.event == DBT_DEVICEARRIVAL;
            EXPECT_EQ(panes.rebuilds - rebuilds, int(moved));
        }
    }
    refresh.Stop(); // before the drives go
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
    EXPECT_EQ(refresh.Notification(monitor), nullptr);
    ASSERT_TRUE(CreateDirectoryW(late.c_str(), nullptr));
    for (int i = 0; i < AutoRefresh::kArmEveryChecks; ++i)
        refresh.Check();
    EXPECT_TRUE(monitor.Listed());
    EXPECT_EQ(monitor.Directory(), late);
    EXPECT_NE(refresh.Notification(monitor), nullptr);
    // It reports like any other.
    base.Folder(L"late\\made");
    refresh.syncSpacingMs = 0;
    EXPECT_TRUE(PumpUntil([&] { return panes.syncs > 0; }, 15000));
}

TEST_F(AutoRefreshTest, AFileMadeAnyTimeReachesTheListThoughTheFolderKeepsItsWriteTime)
{
    TempDir base;
    const std::wstring view = base.Folder(L"view");
    panes.selected = view;
    SendMessageW(host.Handle(), WM_WATCHFOLDERS, 0, 0);
    ASSERT_EQ(refresh.ParentMonitor().Directory(), base.Path());
    const HDEVNOTIFY notify = refresh.Notification(refresh.FolderMonitor());
    // As on FAT (two-second steps) or behind a network client's cache.
    int made = 0;
    auto makeFileKeepingTheWriteTime = [&] {
        WIN32_FILE_ATTRIBUTE_DATA before{};
        GetFileAttributesExW(view.c_str(), GetFileExInfoStandard, &before);
        base.File(L"view\\made" + std::to_wstring(++made) + L".txt", "x");
        ui::UniqueFile folder{CreateFileW(view.c_str(), FILE_WRITE_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
        EXPECT_TRUE(SetFileTime(folder.get(), nullptr, nullptr, &before.ftLastWriteTime));
    };
    // The file is made just as the refresh looks whether the folder is there:
    // its look once a second, or on the parent's report of a folder beside it.
    const std::function<void()> looks[] = {[&] { refresh.Check(); }, [&] { base.Folder(L"sibling"); }};
    for (const auto& look : looks) {
        SCOPED_TRACE(&look - looks);
        const int refills = panes.refills;
        panes.onLook = makeFileKeepingTheWriteTime;
        look();
        EXPECT_TRUE(PumpUntil([&] {
            TDirMonitor::Poll();
            return !panes.onLook && panes.refills > refills;
        }));
        EXPECT_EQ(std::count(unregistered.begin(), unregistered.end(), notify), 0) << "the folder was never let go of";
    }
}
