#include "app/auto_refresh.h"

#include "app/messages.h"
#include "app/ufrmMain.h"
#include "scheme/utilities.h"
#include "ui/application.h"
#include "ui/window.h"

#include <dbt.h>

namespace {

// Raises the panes' busy count for a scope, also on an exception.
class HoldBusy {
public:
    explicit HoldBusy(RefreshPanes& panes) : panes_(panes) { panes_.HoldBusy(true); }
    ~HoldBusy() { panes_.HoldBusy(false); }
    HoldBusy(const HoldBusy&) = delete;
    HoldBusy& operator=(const HoldBusy&) = delete;

private:
    RefreshPanes& panes_;
};

// Sets a flag for a scope.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& flag_;
};

HDEVNOTIFY RegisterSystem(HWND window, HANDLE handle)
{
    DEV_BROADCAST_HANDLE filter{};
    filter.dbch_size = sizeof(filter);
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = handle;
    return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

} // namespace

AutoRefresh::AutoRefresh() = default;

AutoRefresh::~AutoRefresh() { Stop(); }

void AutoRefresh::Attach(HWND window, RefreshPanes& panes)
{
    window_ = window;
    panes_ = &panes;
    // One period for every monitor of the process: each polls once a second.
    TDirMonitor::SetInterval(1000);
    DirMonitorFile.SetFilter({dmfFileName, dmfDirName});
    DirMonitorFile.SetIncludeSubDir(false);
    DirMonitorFile.OnChange = ui::Bind(this, &AutoRefresh::DirMonitorFileChange);
    if (window_)
        check_.Start(window_, kCheckTimer, kCheckMs, [this] { Check(); });
}

void AutoRefresh::Stop()
{
    retry_.Stop();
    check_.Stop();
    sync_.Stop();
    DirMonitorFile.SetActive(false);
    for (std::size_t i = 0; i < FDriveMonitors.size(); ++i) {
        UnregisterDrive(i);
        FDriveMonitors[i]->SetActive(false);
    }
    window_ = nullptr;
}

void AutoRefresh::Post()
{
    if (window_)
        ui::PostPrivate(window_, WM_REFRESHVIEWS);
}

unsigned long long AutoRefresh::Now() const { return Clock ? Clock() : GetTickCount64(); }

void AutoRefresh::StopPreviews()
{
    if (OnStopPreviews)
        OnStopPreviews();
}

void AutoRefresh::StartPreviews()
{
    if (OnStartPreviews)
        OnStartPreviews();
}

void AutoRefresh::DirMonitorFileChange(TDirMonitor*)
{
    FListChanged = true;
    Post();
}

void AutoRefresh::DirMonitorFolderChange(TDirMonitor*)
{
    syncPending_ = true;
    ScheduleSync();
}

unsigned AutoRefresh::SyncWait() const
{
    if (!synced_)
        return 0;
    unsigned long long since = Now() - lastSync_;
    return since >= SyncSpacingMs ? 0 : unsigned(SyncSpacingMs - since);
}

void AutoRefresh::ScheduleSync()
{
    if (!window_ || sync_.Running())
        return;
    unsigned wait = SyncWait();
    if (wait == 0) {
        Post();
        return;
    }
    sync_.Start(window_, kSyncTimer, wait, [this] {
        sync_.Stop();
        Post();
    });
}

void AutoRefresh::RequestRefresh(bool afresh)
{
    if (panes_) {
        HoldBusy busy(*panes_);
        FTreeChanged = true;
        FListChanged = true;
    } else {
        FTreeChanged = FListChanged = true;
    }
    if (afresh)
        afresh_ = true;
    Post();
}

LRESULT AutoRefresh::DeviceChange(WPARAM event, LPARAM data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    std::size_t drive = FDriveMonitors.size();
    if (header && header->dbch_devicetype == DBT_DEVTYP_HANDLE)
        drive = DriveOf(reinterpret_cast<const DEV_BROADCAST_HANDLE*>(data)->dbch_hdevnotify);
    bool ours = drive < FDriveMonitors.size();
    switch (event) {
    case DBT_DEVICEQUERYREMOVE:
        // The drive's monitor holds a handle on it: let it go, so that the
        // removal is not refused because of this program.
        if (ours) {
            drives_[drive].heldOff = true;
            FDriveMonitors[drive]->SetActive(false);
        }
        return TRUE;
    case DBT_DEVICEQUERYREMOVEFAILED:
        if (ours) {
            drives_[drive].heldOff = false;
            UnregisterDrive(drive);
            ArmDrive(drive);
        }
        return TRUE;
    case DBT_DEVICEREMOVECOMPLETE:
        if (ours)
            UnregisterDrive(drive);
        FTreeChanged = true;
        Post();
        return TRUE;
    case DBT_DEVICEARRIVAL:
        // A drive that comes back is watched again.
        for (DriveWatch& watch : drives_)
            watch.heldOff = false;
        if (window_)
            ui::PostPrivate(window_, WM_WATCHFOLDERS);
        FTreeChanged = true;
        Post();
        return TRUE;
    default:
        return TRUE;
    }
}

std::size_t AutoRefresh::DriveOf(HDEVNOTIFY notify) const noexcept
{
    for (std::size_t i = 0; i < drives_.size(); ++i)
        if (notify && drives_[i].notify == notify)
            return i;
    return FDriveMonitors.size();
}

HDEVNOTIFY AutoRefresh::DriveNotification(std::size_t i) const noexcept
{
    return i < drives_.size() ? drives_[i].notify : nullptr;
}

bool AutoRefresh::DriveHeldOff(std::size_t i) const noexcept { return i < drives_.size() && drives_[i].heldOff; }

void AutoRefresh::RegisterDrive(std::size_t i)
{
    TDirMonitor& monitor = *FDriveMonitors[i];
    DriveWatch& watch = drives_[i];
    HANDLE handle = monitor.Listed() ? monitor.NotifyHandle() : nullptr;
    if (handle == INVALID_HANDLE_VALUE)
        handle = nullptr;
    if (watch.notify && watch.registeredFor == handle)
        return;
    UnregisterDrive(i);
    if (!handle || !window_)
        return;
    watch.notify = RegisterHandle ? RegisterHandle(window_, handle) : RegisterSystem(window_, handle);
    watch.registeredFor = watch.notify ? handle : nullptr;
}

void AutoRefresh::UnregisterDrive(std::size_t i)
{
    if (i >= drives_.size() || !drives_[i].notify)
        return;
    if (UnregisterHandle)
        UnregisterHandle(drives_[i].notify);
    else
        UnregisterDeviceNotification(drives_[i].notify);
    drives_[i].notify = nullptr;
    drives_[i].registeredFor = nullptr;
}

void AutoRefresh::ArmDrive(std::size_t i)
{
    TDirMonitor& monitor = *FDriveMonitors[i];
    if (i >= roots_.size()) {
        UnregisterDrive(i);
        monitor.SetActive(false);
        return;
    }
    // A drive whose removal was asked for stays let go of (its registration
    // still tells whether the removal failed).
    if (drives_[i].heldOff) {
        monitor.SetActive(false);
        return;
    }
    monitor.SetDirectory(roots_[i]);
    // A monitor that could not be armed when it was switched on stays
    // unlisted: switching it off and on is what lists it once it arms.
    if (monitor.Active() && !monitor.Listed())
        monitor.SetActive(false);
    monitor.SetActive(true);
    RegisterDrive(i);
}

void AutoRefresh::WatchFolders()
{
    std::wstring folder = panes_ ? panes_->SelectedPath() : std::wstring();
    if (FolderExists(folder)) {
        DirMonitorFile.SetDirectory(folder);
        DirMonitorFile.SetActive(true);
        watched_ = folder;
        reportedGone_.clear();
    } else {
        DirMonitorFile.SetActive(false);
        watched_.clear();
    }

    std::vector<std::wstring> roots;
    if (LogicalDrives)
        LogicalDrives(roots);
    else
        scheme::GetLogicalDriveList(roots);
    for (std::size_t i = roots.size(); i-- > 0;) {
        UINT type = DriveType ? DriveType(roots[i]) : GetDriveTypeW(roots[i].c_str());
        if (type == DRIVE_REMOVABLE)
            roots.erase(roots.begin() + std::ptrdiff_t(i));
    }
    roots_ = roots;
    // Monitors are made when more drives appear and kept when they go.
    while (FDriveMonitors.size() < roots.size()) {
        auto monitor = std::make_unique<TDirMonitor>();
        monitor->SetFilter({dmfDirName});
        monitor->SetIncludeSubDir(true);
        monitor->OnChange = ui::Bind(this, &AutoRefresh::DirMonitorFolderChange);
        FDriveMonitors.push_back(std::move(monitor));
    }
    drives_.resize(FDriveMonitors.size());
    for (std::size_t i = 0; i < FDriveMonitors.size(); ++i) {
        // A drive whose letter now names another drive is not held off.
        if (i >= roots.size())
            drives_[i].heldOff = false;
        ArmDrive(i);
    }
}

void AutoRefresh::Check()
{
    CheckFolderInView();
    // Drives that could not be armed (no medium, offline) are tried again now and then.
    if (++checks_ % kArmEveryChecks == 0) {
        for (std::size_t i = 0; i < FDriveMonitors.size() && i < roots_.size(); ++i) {
            TDirMonitor& monitor = *FDriveMonitors[i];
            if (monitor.Active() && !monitor.Listed() && !drives_[i].heldOff)
                ArmDrive(i);
        }
    }
}

AutoRefresh::HeldFolder AutoRefresh::ReleaseFolderInView()
{
    // The monitor's own handle keeps a deleted folder in view there (pending
    // deletion; the handle is not always signalled) until it is closed.
    HeldFolder held;
    if (watched_.empty() || !DirMonitorFile.Active())
        return held;
    held.active = true;
    held.known = GetFileAttributesExW(watched_.c_str(), GetFileExInfoStandard, &held.before) != FALSE;
    HANDLE handle = DirMonitorFile.NotifyHandle();
    held.signalled = handle != INVALID_HANDLE_VALUE && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    DirMonitorFile.SetActive(false);
    return held;
}

bool AutoRefresh::ResumeFolderInView(const HeldFolder& held)
{
    if (!held.active)
        return true;
    if (!FolderExists(watched_))
        return false;
    DirMonitorFile.SetActive(true);
    // A change the handle had seen, or one made while it was closed (the
    // folder's write time moved), is reported.
    WIN32_FILE_ATTRIBUTE_DATA after{};
    bool moved = !held.known || !GetFileAttributesExW(watched_.c_str(), GetFileExInfoStandard, &after) ||
                 CompareFileTime(&held.before.ftLastWriteTime, &after.ftLastWriteTime) != 0;
    if (held.signalled || moved)
        DirMonitorFileChange(&DirMonitorFile);
    return true;
}

void AutoRefresh::CheckFolderInView()
{
    if (watched_ == reportedGone_)
        return;
    // Let go of the folder for a moment and look.
    if (!ResumeFolderInView(ReleaseFolderInView())) {
        reportedGone_ = watched_;
        DirMonitorFolderChange(nullptr);
    }
}

void AutoRefresh::RefreshViews()
{
    if (!window_ || !panes_ || (!FTreeChanged && !FListChanged && !syncPending_)) {
        retry_.Stop();
        return;
    }
    // Never inside a fill, a menu, a box, a drag or a file operation: what
    // they hold could be taken away. Look again a little later.
    if (running_ || panes_->Busy() || ui::Application::InsideOtherDispatch(window_, WM_REFRESHVIEWS)) {
        ++RefreshCounts.Deferred;
        if (!retry_.Running())
            retry_.Start(window_, kRetryTimer, kRetryMs, [this] { Post(); });
        return;
    }
    retry_.Stop();

    Running running(running_);
    HoldBusy busy(*panes_);
    bool keep = !afresh_;
    if (FTreeChanged) {
        RebuildFolderTree();
        syncPending_ = false; // the rebuild has read everything again
    } else if (syncPending_) {
        if (SyncWait() == 0)
            SyncTree();
        else
            ScheduleSync();
    }
    if (FListChanged)
        RefillList(keep);
    FListChanged = false;
    FTreeChanged = false;
    afresh_ = false;
}

void AutoRefresh::SyncTree()
{
    ++RefreshCounts.TreeSyncs;
    syncPending_ = false;
    synced_ = true;
    lastSync_ = Now();
    std::wstring before = panes_->SelectedPath();
    // A deleted folder in view goes only once the monitor lets go of it.
    HeldFolder held = ReleaseFolderInView();
    panes_->SyncTree();
    // The selection moved: its folder has refilled the list and asked for
    // the previews and the monitors again.
    if (panes_->SelectedPath() != before)
        FListChanged = false;
    else if (!ResumeFolderInView(held) && window_)
        ui::PostPrivate(window_, WM_WATCHFOLDERS);
}

void AutoRefresh::RefillList(bool keepMarks)
{
    ++RefreshCounts.ListRefills;
    StopPreviews();
    panes_->RefillList(keepMarks);
    StartPreviews();
}

void AutoRefresh::RebuildFolderTree()
{
    if (!panes_)
        return;
    ++RefreshCounts.TreeRebuilds;
    bool keep = !afresh_;
    // The folder monitor's open handle keeps a deleted folder in view alive
    // (pending deletion, still enumerated) until it is closed: close it before
    // the tree looks again. Selecting a node afterwards posts WM_WATCHFOLDERS,
    // which arms it again on the folder then in view.
    DirMonitorFile.SetActive(false);
    if (!panes_->RebuildTree(keep))
        StopPreviews();
    // Selecting a node has refilled the list and asked for the previews and
    // the monitors again.
    FListChanged = false;
}
