// The automatic refresh's view of the real panes: the folder tree, the file
// list and the main window's busy count.
#pragma once
#include "app/refresh/auto_refresh.h"
#include "shview/fileview/list_keep.h"

class TFolderView;
class TFileView;

class ViewPanes : public RefreshPanes {
public:
    ViewPanes(TFolderView& tree, TFileView& list, ::Busy& busy) : tree_(tree), list_(list), busy_(busy) {}

    std::wstring SelectedPath() const override;
    // The busy count raised, a fill reading a node, or an in-place rename open.
    bool Busy() const override;
    // Through a scratch copy of the expanded part of the tree (TreeState).
    bool RebuildTree(bool keepMarks) override;
    int SyncTree() override;
    void RefillList(bool keepMarks) override;
    bool FolderExists(const std::wstring& path) const override;

private:
    // Puts the marks back once the list is filled, if it still shows `folder`.
    void RestoreMarksAfterFill(const std::wstring& folder, shview::ListMarks marks);

    TFolderView& tree_;
    TFileView& list_;
    ::Busy& busy_; // the window's (RefreshPanes::Busy names the question)
};
