// The automatic refresh's monitors: where they point, their device notices,
// and the look now and then at the folder in view and at drives that could
// not be armed.
#include "app/refresh/auto_refresh.h"

#include "app/messages.h"
#include "ui/seams.h"
#include "ui/text.h"
#include "ui/window.h"

#include <dbt.h>

namespace {

// The folder holding `path` ("C:\a" -> "C:\"); none for a root.
std::wstring ParentOf(std::wstring_view path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.remove_suffix(1);
    const std::size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring_view::npos || cut + 1 == path.size())
        return {};
    if (cut == 2 && path[1] == L':')
        return std::wstring(path.substr(0, 3));
    return std::wstring(path.substr(0, cut));
}

// The root of the volume `path` lies on ("E:\", a share, a mount point).
std::wstring VolumeOf(const std::wstring& path)
{
    std::wstring volume(path.size() + 2, L'\0');
    if (!GetVolumePathNameW(path.c_str(), volume.data(), DWORD(volume.size())))
        return ui::DriveRoot(path);
    volume.resize(ui::UpToNull(volume).size());
    return volume;
}

bool SameVolume(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

LRESULT AutoRefresh::DeviceChange(WPARAM event, LPARAM data)
{
    const std::vector<std::wstring> volumes = NoticeVolumes(data);
    switch (event) {
    case DBT_DEVICEQUERYREMOVE:
        // Every handle on the volume goes, so that the removal is not refused
        // because of this program; the registrations stay, to hear whether it
        // failed.
        for (const std::wstring& volume : volumes) {
            if (!Held(volume))
                held_.push_back(volume);
            LetGo(volume, false);
        }
        return TRUE;
    case DBT_DEVICEQUERYREMOVEFAILED:
        for (const std::wstring& volume : volumes) {
            std::erase_if(held_, [&](const std::wstring& v) { return SameVolume(v, volume); });
            LetGo(volume, true);
        }
        if (!volumes.empty())
            WatchFolders();
        return TRUE;
    case DBT_DEVICEREMOVEPENDING:
    case DBT_DEVICEREMOVECOMPLETE:
        for (const std::wstring& volume : volumes) {
            if (!Held(volume))
                held_.push_back(volume);
            LetGo(volume, true);
        }
        // The views go to the nearest folder that is still there.
        if (event == DBT_DEVICEREMOVECOMPLETE) {
            FTreeChanged = true;
            Post();
        }
        return TRUE;
    case DBT_DEVICEARRIVAL:
        // A drive that comes back is watched again.
        if (volumes.empty())
            held_.clear();
        for (const std::wstring& volume : volumes)
            std::erase_if(held_, [&](const std::wstring& v) { return SameVolume(v, volume); });
        if (window_)
            ui::PostPrivate(window_, WM_WATCHFOLDERS);
        FTreeChanged = true;
        Post();
        return TRUE;
    default:
        return TRUE;
    }
}

std::vector<std::wstring> AutoRefresh::NoticeVolumes(LPARAM data) const
{
    std::vector<std::wstring> volumes;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header && header->dbch_devicetype == DBT_DEVTYP_HANDLE) {
        HDEVNOTIFY notify = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(data)->dbch_hdevnotify;
        for (const DeviceWatch* watch : {&fileWatch_, &parentWatch_})
            if (notify && watch->notify == notify)
                volumes.push_back(watch->volume);
        for (const DeviceWatch& watch : drives_)
            if (notify && watch.notify == notify)
                volumes.push_back(watch.volume);
    } else if (header && header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
        const DWORD units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask;
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            if (units & (1u << (letter - L'A')))
                volumes.push_back({letter, L':', L'\\'});
    }
    return volumes;
}

std::vector<std::pair<TDirMonitor*, AutoRefresh::DeviceWatch*>> AutoRefresh::Watches()
{
    std::vector<std::pair<TDirMonitor*, DeviceWatch*>> watches{{&DirMonitorFile, &fileWatch_},
                                                               {&parentMonitor_, &parentWatch_}};
    for (std::size_t i = 0; i < FDriveMonitors.size() && i < drives_.size(); ++i)
        watches.emplace_back(FDriveMonitors[i].get(), &drives_[i]);
    return watches;
}

const AutoRefresh::DeviceWatch* AutoRefresh::WatchOf(const TDirMonitor& monitor) const noexcept
{
    if (&monitor == &DirMonitorFile)
        return &fileWatch_;
    if (&monitor == &parentMonitor_)
        return &parentWatch_;
    for (std::size_t i = 0; i < FDriveMonitors.size() && i < drives_.size(); ++i)
        if (FDriveMonitors[i].get() == &monitor)
            return &drives_[i];
    return nullptr;
}

HDEVNOTIFY AutoRefresh::Notification(const TDirMonitor& monitor) const noexcept
{
    const DeviceWatch* watch = WatchOf(monitor);
    return watch ? watch->notify : nullptr;
}

bool AutoRefresh::HeldOff(const TDirMonitor& monitor) const noexcept
{
    const DeviceWatch* watch = WatchOf(monitor);
    return watch && Held(watch->volume);
}

bool AutoRefresh::Held(const std::wstring& volume) const
{
    for (const std::wstring& held : held_)
        if (SameVolume(held, volume))
            return true;
    return false;
}

void AutoRefresh::LetGo(const std::wstring& volume, bool unregister)
{
    for (auto [monitor, watch] : Watches()) {
        if (!SameVolume(watch->volume, volume))
            continue;
        monitor->SetActive(false);
        if (unregister)
            Unregister(*watch);
    }
}

void AutoRefresh::Register(TDirMonitor& monitor, DeviceWatch& watch)
{
    HANDLE handle = monitor.Listed() ? monitor.NotifyHandle() : nullptr;
    if (handle == INVALID_HANDLE_VALUE)
        handle = nullptr;
    if (watch.notify && watch.registeredFor == handle)
        return;
    Unregister(watch);
    if (!handle || !window_)
        return;
    watch.notify = ui::CurrentSeams().registerDeviceHandle(window_, handle);
    watch.registeredFor = watch.notify ? handle : nullptr;
}

void AutoRefresh::Unregister(DeviceWatch& watch)
{
    if (!watch.notify)
        return;
    ui::CurrentSeams().unregisterDevice(watch.notify);
    watch.notify = nullptr;
    watch.registeredFor = nullptr;
}

void AutoRefresh::Arm(TDirMonitor& monitor, DeviceWatch& watch, const std::wstring& folder,
                      const std::wstring& volume)
{
    // A volume whose removal was asked for stays let go of (a registration
    // on it still tells whether the removal failed).
    if (Held(volume)) {
        monitor.SetActive(false);
        if (!SameVolume(watch.volume, volume))
            Unregister(watch);
        watch.volume = volume;
        return;
    }
    watch.volume = volume;
    monitor.SetDirectory(folder);
    // A monitor that could not be armed when it was switched on stays
    // unlisted: switching it off and on is what lists it once it arms.
    if (monitor.Active() && !monitor.Listed())
        monitor.SetActive(false);
    monitor.SetActive(true);
    Register(monitor, watch);
}

void AutoRefresh::Disarm(TDirMonitor& monitor, DeviceWatch& watch)
{
    Unregister(watch);
    monitor.SetActive(false);
    watch.volume.clear();
}

void AutoRefresh::WatchFolders()
{
    std::wstring folder = panes_ ? panes_->SelectedPath() : std::wstring();
    if (panes_ && panes_->FolderExists(folder)) {
        const std::wstring volume = VolumeOf(folder);
        Arm(DirMonitorFile, fileWatch_, folder, volume);
        const std::wstring parent = ParentOf(folder);
        if (parent.empty())
            Disarm(parentMonitor_, parentWatch_);
        else
            Arm(parentMonitor_, parentWatch_, parent, volume);
        watched_ = folder;
        reportedGone_.clear();
    } else {
        Disarm(DirMonitorFile, fileWatch_);
        Disarm(parentMonitor_, parentWatch_);
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
        if (i < roots.size())
            Arm(*FDriveMonitors[i], drives_[i], roots[i], roots[i]);
        else
            Disarm(*FDriveMonitors[i], drives_[i]);
    }
}

void AutoRefresh::ParentMonitorChange(TDirMonitor*) { CheckFolderInView(); }

void AutoRefresh::Check()
{
    CheckFolderInView();
    // Drives that could not be armed (no medium, offline) are tried again now and then.
    if (++checks_ % kArmEveryChecks == 0) {
        for (std::size_t i = 0; i < FDriveMonitors.size() && i < roots_.size(); ++i) {
            TDirMonitor& monitor = *FDriveMonitors[i];
            if (monitor.Active() && !monitor.Listed())
                Arm(monitor, drives_[i], roots_[i], roots_[i]);
        }
    }
}

void AutoRefresh::CheckFolderInView()
{
    if (!panes_ || watched_.empty() || watched_ == reportedGone_ || Held(fileWatch_.volume) ||
        panes_->FolderExists(watched_))
        return;
    // Gone, or going: let go of it and look again.
    Disarm(DirMonitorFile, fileWatch_);
    if (panes_->FolderExists(watched_)) {
        // Out of reach for a moment only: watched again and read again.
        WatchFolders();
        DirMonitorFileChange(nullptr);
        return;
    }
    reportedGone_ = watched_;
    DirMonitorFolderChange(nullptr);
}
