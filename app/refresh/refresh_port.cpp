#include "app/refresh/refresh_port.h"

#include "app/pane_paths.h"
#include "shview/fileview/FileView.h"
#include "shview/folderview/FolderView.h"
#include "shview/fileview/list_marks.h"
#include "shview/folderview/TreeState.h"

#include <commctrl.h>

#include <stdexcept>

std::wstring ViewPanes::SelectedPath() const { return tree_.SelectedPath(); }

bool ViewPanes::Busy() const
{
    // Refilling under an in-place rename would cut it off.
    bool editing = (list_.Handle() && ListView_GetEditControl(list_.Handle())) ||
                   (tree_.Handle() && TreeView_GetEditControl(tree_.Handle()));
    // A list still being filled is not yet what its folder holds.
    return busy_.Raised() || tree_.FillingNode() || editing || list_.Filling();
}

bool ViewPanes::RebuildTree(bool keepMarks)
{
    // Selecting the same folder again refills the list: unless asked to start
    // afresh, what the user had marked there is put back.
    std::wstring folder = tree_.SelectedPath();
    shview::ListMarks marks;
    if (keepMarks)
        marks = shview::TakeListMarks(list_);
    bool found = true;
    {
        ui::RedrawOff redraw(tree_);
        // The expanded part of the tree, kept in a plain tree nobody sees.
        ui::TreeView scratch;
        if (!scratch.Create(GetParent(tree_.Handle()), 0, 0))
            throw std::runtime_error("the folder tree could not be copied");
        ShowWindow(scratch.Handle(), SW_HIDE);
        shview::SaveExpanded(scratch, tree_);
        std::wstring path = shview::NodeTextPath(tree_, tree_.Selected());

        Busy::Hold hold = busy_.Raise();
        ui::RedrawOff nodes(tree_);
        tree_.BuildTree();
        shview::RestoreExpanded(tree_, scratch);
        if (!path.empty()) {
            if (ui::TreeNode node = shview::FindNodeByTextPath(tree_, path))
                tree_.Select(node);
            else
                found = false;
        }
    }
    if (keepMarks && !folder.empty())
        RestoreMarksAfterFill(folder, std::move(marks));
    return found;
}

int ViewPanes::SyncTree()
{
    TFolderView::SyncCounts counts = tree_.ReadExpandedAgain();
    return counts.added + counts.removed;
}

void ViewPanes::RefillList(bool keepMarks)
{
    std::wstring folder = tree_.SelectedPath();
    shview::ListMarks marks;
    if (keepMarks)
        marks = shview::TakeListMarks(list_);
    list_.FillList();
    if (keepMarks)
        RestoreMarksAfterFill(folder, std::move(marks));
}

bool ViewPanes::FolderExists(const std::wstring& path) const { return ::FolderExists(path); }

void ViewPanes::RestoreMarksAfterFill(const std::wstring& folder, shview::ListMarks marks)
{
    // A folder that could not be read sends the tree elsewhere: the marks
    // belong to the folder they were taken in.
    list_.AfterFill([this, folder, marks = std::move(marks)] {
        if (tree_.SelectedPath() != folder)
            return;
        ui::RedrawOff redraw(list_);
        shview::RestoreListMarks(list_, marks);
    });
}
