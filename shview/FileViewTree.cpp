// The file list's calls into the folder tree that drives it.
#include "shview/FileView.h"

#include "shview/FolderView.h"

void TFileView::TreeGoBack()
{
    if (TFolderView* tree = FolderView.get())
        if (ui::TreeNode previous = tree->PreviousNode())
            tree->Select(previous);
}

void TFileView::TreeOpenChild(const ITEMIDLIST* relative)
{
    if (TFolderView* tree = FolderView.get())
        tree->OpenChild(relative);
}

void TFileView::TreeRenameChild(const ITEMIDLIST* oldRelative, const ITEMIDLIST* newRelative)
{
    if (TFolderView* tree = FolderView.get())
        tree->RenameChild(oldRelative, newRelative);
}
