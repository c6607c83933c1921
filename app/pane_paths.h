// What a pane's node or item is as a folder: paths, captions, virtual
// folders; and the process's command line.
#pragma once
#include "ui/treeview.h"

#include <string>
#include <vector>

class TFolderView;
class TFileView;

// True when `path` names an existing folder (a file, a missing and an empty path: false).
bool FolderExists(const std::wstring& path);
// Parsing name of a tree node (a file-system folder's path); empty for none.
std::wstring GetNodePath(const TFolderView& tree, ui::TreeNode node);
// A node's folder as the caption shows it: its file-system path, else (My
// Computer and the like) its display name; empty for none.
std::wstring GetNodeCaption(const TFolderView& tree, ui::TreeNode node);
// True for none, the root, and a node without a file-system path.
bool IsVirtualNode(const TFolderView& tree, ui::TreeNode node);
// Parsing name of a list item; empty without a folder, an item or an identifier.
std::wstring GetItemPath(const TFileView& list, int index);
// The arguments of the process's command line, the program's own name not counted.
std::vector<std::wstring> CommandLineArguments();
