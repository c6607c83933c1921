// The main window's automatic refresh: the monitors of the folder in view and
// of the drives, the refresh requests and the handler that carries them out.
#include "app/ufrmMain.h"

#include "app/messages.h"
#include "scheme/utilities.h"
#include "shview/FolderViewScopes.h"
#include "shview/ListKeep.h"
#include "shview/TreeState.h"

#include <commctrl.h>
#include <dbt.h>
#include <stdexcept>

namespace {

// FBusy raised for a scope, lowered also on an exception.
class BusyScope {
public:
    explicit BusyScope(int& busy) : busy_(busy) { ++busy_; }
    ~BusyScope() { --busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& busy_;
};

} // namespace

void TfrmTarimoku::SetUpMonitors()
{
    // One period for every monitor of the process: each polls once a second.
    TDirMonitor::SetInterval(1000);
    DirMonitorFile.SetFilter({dmfFileName, dmfDirName});
    DirMonitorFile.SetIncludeSubDir(false);
    DirMonitorFile.OnChange = ui::Bind(this, &TfrmTarimoku::DirMonitorFileChange);
}

void TfrmTarimoku::StopMonitors()
{
    refreshRetry_.Stop();
    DirMonitorFile.SetActive(false);
    for (auto& monitor : FDriveMonitors)
        monitor->SetActive(false);
}

void TfrmTarimoku::DirMonitorFileChange(TDirMonitor*)
{
    FListChanged = true;
    if (Handle())
        ui::PostPrivate(Handle(), WM_REFRESHVIEWS);
}

void TfrmTarimoku::DirMonitorFolderChange(TDirMonitor*)
{
    FTreeChanged = true;
    if (Handle())
        ui::PostPrivate(Handle(), WM_REFRESHVIEWS);
}

void TfrmTarimoku::RequestRefresh(bool afresh)
{
    BusyScope busy(FBusy);
    FTreeChanged = true;
    FListChanged = true;
    if (afresh)
        refreshAfresh_ = true;
    if (Handle())
        ui::PostPrivate(Handle(), WM_REFRESHVIEWS);
}

void TfrmTarimoku::DeviceChange(WPARAM event)
{
    if (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)
        DirMonitorFolderChange(nullptr);
}

void TfrmTarimoku::WatchFolders()
{
    std::wstring folder = FolderView.SelectedPath();
    if (FolderExists(folder)) {
        DirMonitorFile.SetDirectory(folder);
        DirMonitorFile.SetActive(true);
    } else {
        DirMonitorFile.SetActive(false);
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
    // Monitors are made when more drives appear and kept when they go.
    while (FDriveMonitors.size() < roots.size()) {
        auto monitor = std::make_unique<TDirMonitor>();
        monitor->SetFilter({dmfDirName});
        monitor->SetIncludeSubDir(true);
        monitor->OnChange = ui::Bind(this, &TfrmTarimoku::DirMonitorFolderChange);
        FDriveMonitors.push_back(std::move(monitor));
    }
    for (std::size_t i = 0; i < FDriveMonitors.size(); ++i) {
        TDirMonitor& monitor = *FDriveMonitors[i];
        if (i < roots.size()) {
            monitor.SetDirectory(roots[i]);
            monitor.SetActive(true);
        } else {
            monitor.SetActive(false);
        }
    }
}

bool TfrmTarimoku::LabelEditing() const
{
    return (FileView.Handle() && ListView_GetEditControl(FileView.Handle())) ||
           (FolderView.Handle() && TreeView_GetEditControl(FolderView.Handle()));
}

void TfrmTarimoku::RefreshViews()
{
    if (!Handle() || (!FTreeChanged && !FListChanged)) {
        refreshRetry_.Stop();
        return;
    }
    // Refilling under an in-place rename would cut it off: look again a
    // little later, until the edit has ended.
    if (LabelEditing()) {
        ++RefreshCounts.Deferred;
        if (!refreshRetry_.Running())
            refreshRetry_.Start(Handle(), kRefreshRetryTimer, kRefreshRetryMs,
                                [this] { ui::PostPrivate(Handle(), WM_REFRESHVIEWS); });
        return;
    }
    refreshRetry_.Stop();

    BusyScope busy(FBusy);
    if (FTreeChanged)
        RebuildFolderTree();
    if (FListChanged) {
        ++RefreshCounts.ListRefills;
        StopPreviews();
        bool keep = !refreshAfresh_;
        std::wstring folder = FolderView.SelectedPath();
        shview::ListMarks marks;
        if (keep)
            marks = shview::TakeListMarks(FileView);
        {
            shview::RedrawOff redraw(FileView);
            FileView.FillList();
            // A folder that could not be read sends the tree elsewhere: the
            // marks belong to the folder they were taken in.
            if (keep && FolderView.SelectedPath() == folder)
                shview::RestoreListMarks(FileView, marks);
        }
        StartPreview();
    }
    FListChanged = false;
    FTreeChanged = false;
    refreshAfresh_ = false;
}

void TfrmTarimoku::RebuildFolderTree()
{
    ++RefreshCounts.TreeRebuilds;
    // Selecting the same folder again refills the list: unless asked to start
    // afresh, what the user had marked there is put back.
    bool keep = !refreshAfresh_;
    std::wstring folder = FolderView.SelectedPath();
    shview::ListMarks marks;
    if (keep)
        marks = shview::TakeListMarks(FileView);
    // The folder monitor's open handle keeps a deleted folder in view alive
    // (pending deletion, still enumerated) until it is closed: close it before
    // the tree looks again. Selecting a node afterwards posts WM_WATCHFOLDERS,
    // which arms it again on the folder then in view.
    DirMonitorFile.SetActive(false);
    {
        shview::RedrawOff redraw(FolderView);
        // The expanded part of the tree, kept in a plain tree nobody sees.
        ui::TreeView scratch;
        if (!scratch.Create(Handle(), 0, 0))
            throw std::runtime_error("the folder tree could not be copied");
        ShowWindow(scratch.Handle(), SW_HIDE);
        shview::SaveExpanded(scratch, FolderView);
        std::wstring path = shview::NodeTextPath(FolderView, FolderView.Selected());

        BusyScope busy(FBusy);
        shview::RedrawOff nodes(FolderView);
        FolderView.BuildTree();
        shview::RestoreExpanded(FolderView, scratch);
        if (!path.empty()) {
            if (ui::TreeNode node = shview::FindNodeByTextPath(FolderView, path))
                FolderView.Select(node);
            else
                StopPreviews();
        }
    }
    // Selecting a node has refilled the list and asked for the previews and
    // the monitors again.
    FListChanged = false;
    if (keep && !folder.empty() && FolderView.SelectedPath() == folder) {
        shview::RedrawOff redraw(FileView);
        shview::RestoreListMarks(FileView, marks);
    }
}
