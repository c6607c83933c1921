// Until the folder tree is built, the list's calls into it link against
// these; no test here makes a tree.
#include "shview/FileView.h"
#include "shview/FolderView.h"

void TFolderView::OpenChild(const ITEMIDLIST*) {}
void TFolderView::RenameChild(const ITEMIDLIST*, const ITEMIDLIST*) {}
