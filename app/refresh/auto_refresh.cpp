// Requests, their coalescing and the handler that carries them out.
#include "app/refresh/auto_refresh.h"

#include "app/messages.h"
#include "ui/application.h"
#include "ui/scoped_value.h"
#include "ui/seams.h"
#include "ui/window.h"

AutoRefresh::AutoRefresh(Busy& busy) : busy_(busy) {}

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
    parentMonitor_.SetFilter({dmfDirName});
    parentMonitor_.SetIncludeSubDir(false);
    parentMonitor_.OnChange = ui::Bind(this, &AutoRefresh::ParentMonitorChange);
    if (window_)
        check_.Start(window_, kCheckTimer, kCheckMs, [this] { Check(); });
}

void AutoRefresh::Stop()
{
    retry_.Stop();
    check_.Stop();
    sync_.Stop();
    for (auto [monitor, watch] : Watches())
        Disarm(*monitor, *watch);
    window_ = nullptr;
}

void AutoRefresh::Post()
{
    if (window_)
        ui::PostPrivate(window_, WM_REFRESHVIEWS);
}

unsigned long long AutoRefresh::Now() const { return ui::CurrentSeams().tickCount(); }

void AutoRefresh::DirMonitorFileChange(TDirMonitor* sender)
{
    // A folder deleted while the monitor holds it ends the monitor's wait too.
    if (sender)
        CheckFolderInView();
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
        Busy::Hold hold = busy_.Raise();
        FTreeChanged = true;
        FListChanged = true;
    } else {
        FTreeChanged = FListChanged = true;
    }
    if (afresh)
        afresh_ = true;
    Post();
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

    ui::ScopedValue running(running_, true);
    Busy::Hold hold = busy_.Raise();
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
    // A folder in view deleted while the monitor held it open goes only once
    // the monitor lets go of it.
    CheckFolderInView();
    ++RefreshCounts.TreeSyncs;
    syncPending_ = false;
    synced_ = true;
    lastSync_ = Now();
    std::wstring before = panes_->SelectedPath();
    panes_->SyncTree();
    // The selection moved: its folder has refilled the list and asked for
    // the previews and the monitors again.
    if (panes_->SelectedPath() != before)
        FListChanged = false;
}

void AutoRefresh::RefillList(bool keepMarks)
{
    ++RefreshCounts.ListRefills;
    // The previews follow the list's own fill.
    panes_->RefillList(keepMarks);
}

void AutoRefresh::RebuildFolderTree()
{
    if (!panes_)
        return;
    ++RefreshCounts.TreeRebuilds;
    bool keep = !afresh_;
    // The folder monitor's open handle keeps a deleted folder in view alive
    // (pending deletion, still enumerated) until it is closed: a folder that
    // cannot be looked at is let go of before the tree looks again. Selecting
    // a node afterwards posts WM_WATCHFOLDERS, which points the monitors at
    // the folder then in view (the same one stays open).
    CheckFolderInView();
    panes_->RebuildTree(keep);
    // Selecting a node has refilled the list and asked for the previews and
    // the monitors again.
    FListChanged = false;
}
