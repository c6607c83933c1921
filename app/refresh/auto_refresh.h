// The main window's automatic refresh: the monitors of the folder in view, of
// the folder holding it and of the drives, the refresh requests and the handlers of
// WM_WATCHFOLDERS, WM_REFRESHVIEWS and WM_DEVICECHANGE, which the window
// forwards. Requests only note what is out of date and post WM_REFRESHVIEWS;
// its handler carries them out, once each however many came before it, and
// never while the program is busy or inside another message's loop (a menu,
// a box, a drag, a shell dialog): then it waits and runs once afterwards.
//
// It reaches the panes only through RefreshPanes; the previews follow the
// list's own fills and need nothing of it.
#pragma once
#include "app/busy.h"
#include "dirmon/DirMonitor.h"
#include "ui/timer.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// What the automatic refresh asks of the folder tree and the file list.
class RefreshPanes {
public:
    virtual ~RefreshPanes() = default;
    // The folder the tree shows (its path), empty without one.
    virtual std::wstring SelectedPath() const = 0;
    // True while a refresh must wait: the busy count is raised (a fill, a
    // menu, a drag, a file operation) or an in-place rename is open.
    virtual bool Busy() const = 0;
    // Builds the tree afresh from the desktop keeping its expanded folders
    // and its selection (a vanished one: its nearest surviving ancestor);
    // the list is refilled by the selection, every item read again, its
    // marks and place kept when the same folder is shown again. False when
    // nothing was found to select.
    virtual bool RebuildTree() = 0;
    // Reads the expanded folders of the tree again and applies the
    // differences in place; the answer is the number of nodes added and removed.
    virtual int SyncTree() = 0;
    // Refills the list from its folder, its marks kept when asked.
    virtual void RefillList(bool keepMarks) = 0;
    // True when `path` names a folder that is there (the refresh's look at
    // whether the folder in view still is).
    virtual bool FolderExists(const std::wstring& path) const = 0;
};

class AutoRefresh {
public:
    // The work runs with `busy` raised.
    explicit AutoRefresh(Busy& busy);
    ~AutoRefresh();
    AutoRefresh(const AutoRefresh&) = delete;
    AutoRefresh& operator=(const AutoRefresh&) = delete;

    // Sets the monitors up for `window`, whose messages go to the handlers
    // below, and starts the check of the folder in view.
    void Attach(HWND window, RefreshPanes& panes);
    // Switches every monitor and timer off (the window is going).
    void Stop();

    // The monitor of the folder in view, the one of its parent (folder
    // names: it renamed or gone) and those of the drives, in drive-list order.
    const TDirMonitor& FolderMonitor() const noexcept { return DirMonitorFile; }
    const TDirMonitor& ParentMonitor() const noexcept { return parentMonitor_; }
    std::size_t DriveCount() const noexcept { return FDriveMonitors.size(); }
    const TDirMonitor& DriveMonitor(std::size_t i) const { return *FDriveMonitors.at(i); }
    // What the next WM_REFRESHVIEWS carries out: a refill of the list, a
    // rebuild of the tree.
    bool ListPending() const noexcept { return FListChanged; }
    bool TreePending() const noexcept { return FTreeChanged; }
    // The list is out of date (files moved out of it, a folder made in it):
    // the next refresh refills it.
    void ListChanged() noexcept { FListChanged = true; }

    // The refresh command: both panes built afresh. `afresh` false keeps the
    // list's selection, focus and scroll position as an automatic refill does.
    void RequestRefresh(bool afresh = true);
    // Rebuilds the folder tree keeping its expanded folders and its selection.
    void RebuildFolderTree();
    // The folder in view changed: a refill of the list.
    void DirMonitorFileChange(TDirMonitor* sender);
    // Folders came or went beside the folder in view: is it still there?
    void ParentMonitorChange(TDirMonitor* sender);
    // A drive reported folders made or gone: the expanded folders of the tree
    // are read again in place, at most once every syncSpacingMs.
    void DirMonitorFolderChange(TDirMonitor* sender);

    // WM_WATCHFOLDERS: points the monitors at the folder in view and the drives.
    void WatchFolders();
    // WM_REFRESHVIEWS: carries out what is pending, or puts it off.
    void RefreshViews();
    // WM_DEVICECHANGE; answers what the window returns.
    LRESULT DeviceChange(WPARAM event, LPARAM data);

    // The drives, their kinds, their device notices and the clock that spaces
    // drive reports are the system's, through the seams of ui/seams.h.
    // Drive reports are carried out at most once in this many ms.
    unsigned syncSpacingMs = 1000;
    // Every monitor's open handle is registered for the device notices of its
    // volume, whatever the drive's kind: when the volume's removal is asked
    // for, every monitor on it lets go, and takes it up again when the removal
    // fails or the drive returns. The registration of `monitor` (none: null),
    // and whether the removal of its volume has been asked for.
    HDEVNOTIFY Notification(const TDirMonitor& monitor) const noexcept;
    bool HeldOff(const TDirMonitor& monitor) const noexcept;

    // Work done so far, for tests and measurements.
    struct Counts {
        int treeRebuilds = 0;
        int treeSyncs = 0;
        int listRefills = 0;
        int deferred = 0; // runs put off: busy, a rename, another message's loop
    } refreshCounts;

    // How often a refresh put off looks again, and how often the folder in
    // view and drives not armed yet are looked at.
    static constexpr UINT_PTR kRetryTimer = 1002;
    static constexpr UINT kRetryMs = 250;
    static constexpr UINT_PTR kCheckTimer = 1003;
    static constexpr UINT kCheckMs = 1000;
    static constexpr UINT_PTR kSyncTimer = 1004;
    // Every this many checks, drives that could not be armed are tried again.
    static constexpr int kArmEveryChecks = 5;
    // One check now, as its timer does.
    void Check();

private:
    // A monitor's device registration and the volume its folder lies on.
    struct DeviceWatch {
        HDEVNOTIFY notify = nullptr;
        HANDLE registeredFor = nullptr;
        std::wstring volume;
    };
    void Post();
    unsigned long long Now() const;
    // Milliseconds until a drive report may be carried out.
    unsigned SyncWait() const;
    void ScheduleSync();
    void SyncTree();
    void RefillList(bool keepMarks);
    // Looks whether the folder in view is still there, its handle kept open;
    // only a folder that cannot be looked at is let go of (a folder deleted
    // while a handle is open on it stays until the handle closes) and looked
    // at again: gone, the tree is read again.
    void CheckFolderInView();
    // Every monitor beside its registration.
    std::vector<std::pair<TDirMonitor*, DeviceWatch*>> Watches();
    const DeviceWatch* WatchOf(const TDirMonitor& monitor) const noexcept;
    // Points `monitor` at `folder` on `volume` and registers its handle (again
    // when it changed); left off while the volume's removal is asked for.
    void Arm(TDirMonitor& monitor, DeviceWatch& watch, const std::wstring& folder, const std::wstring& volume);
    void Disarm(TDirMonitor& monitor, DeviceWatch& watch);
    void Register(TDirMonitor& monitor, DeviceWatch& watch);
    void Unregister(DeviceWatch& watch);
    // The volumes a device notice is about: the one of our registration it
    // names, or those of a volume's notice; none for anything else.
    std::vector<std::wstring> NoticeVolumes(LPARAM data) const;
    bool Held(const std::wstring& volume) const;
    // Switches off every monitor on `volume`, and unregisters them when asked.
    void LetGo(const std::wstring& volume, bool unregister);

    TDirMonitor DirMonitorFile;                               // the folder in view
    TDirMonitor parentMonitor_;                               // its parent: the folder in view renamed, gone
    std::vector<std::unique_ptr<TDirMonitor>> FDriveMonitors; // one per watched drive, in drive-list order
    bool FListChanged = false;                                // a refill of the file list is pending
    bool FTreeChanged = false;                                // a rebuild of the folder tree is pending
    Busy& busy_;
    HWND window_ = nullptr;
    RefreshPanes* panes_ = nullptr;
    bool afresh_ = false; // the pending refill need not keep the list's marks
    bool syncPending_ = false;
    bool running_ = false;
    unsigned long long lastSync_ = 0;
    bool synced_ = false;
    std::wstring watched_; // the folder DirMonitorFile was pointed at
    std::wstring reportedGone_;
    std::vector<std::wstring> roots_; // the drives watched, in monitor order
    DeviceWatch fileWatch_;
    DeviceWatch parentWatch_;
    std::vector<DeviceWatch> drives_;
    std::vector<std::wstring> held_; // volumes whose removal was asked for
    int checks_ = 0;
    ui::Timer retry_;
    ui::Timer check_;
    ui::Timer sync_;
};
