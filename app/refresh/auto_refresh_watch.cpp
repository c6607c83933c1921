// The automatic refresh's monitors: where they point, the drives' device
// notices, and the look now and then at the folder in view and at drives
// that could not be armed.
#include "app/refresh/auto_refresh.h"

#include "app/messages.h"
#include "app/pane_paths.h"
#include "ui/seams.h"
#include "ui/window.h"

#include <dbt.h>

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
    watch.notify = ui::CurrentSeams().registerDeviceHandle(window_, handle);
    watch.registeredFor = watch.notify ? handle : nullptr;
}

void AutoRefresh::UnregisterDrive(std::size_t i)
{
    if (i >= drives_.size() || !drives_[i].notify)
        return;
    ui::CurrentSeams().unregisterDevice(drives_[i].notify);
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

    std::vector<std::wstring> roots = ui::CurrentSeams().logicalDrives();
    for (std::size_t i = roots.size(); i-- > 0;) {
        if (ui::CurrentSeams().driveType(roots[i]) == DRIVE_REMOVABLE)
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
