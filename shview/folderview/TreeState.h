// Keeping what the user had open across a rebuild of the folder tree: the
// expanded part of the tree is copied into a hidden plain tree view, the
// selection is named by its text path (node texts from the root down, joined
// by "\"), and after the rebuild the same nodes are expanded and found again.
// Everything matches node texts (display names), level by level.
//
// Also the font the main window gives both panes from the system's
// icon-title LOGFONT.
#pragma once
#include "ui/handles.h"
#include "ui/treeview.h"

#include <string>
#include <string_view>

namespace shview {

// The texts of `node` and its ancestors from the root down, joined by "\"
// with none leading or trailing; empty for no node.
std::wstring NodeTextPath(const ui::TreeView& tree, ui::TreeNode node);

// Replaces the contents of `copy` with the root of `tree` and every expanded
// node below it whose ancestors are all expanded: text and children flag.
void SaveExpanded(ui::TreeView& copy, const ui::TreeView& tree);

// The first child of `node` whose text is exactly `text` (letter case counts).
ui::TreeNode FindChildByText(const ui::TreeView& tree, ui::TreeNode node, std::wstring_view text);

// Expands, one level each, the nodes of `tree` that match a node of `copy`
// (made by SaveExpanded) at the same place, from the root down. In the folder
// tree the expansion fills the nodes. The roots are not expanded here.
void RestoreExpanded(ui::TreeView& tree, const ui::TreeView& copy);

// The node of a text path, letter case ignored as the user's locale ignores
// it; else its deepest surviving ancestor that has child nodes; else none.
ui::TreeNode FindNodeByTextPath(const ui::TreeView& tree, std::wstring_view path);

// A font from face name, height, character set, weight (bold above 400),
// italic, underline and strike-out of `logFont`; nothing else of it is used.
ui::UniqueFont FontFromLogFont(const LOGFONTW& logFont);

} // namespace shview
