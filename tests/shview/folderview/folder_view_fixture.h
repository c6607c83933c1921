// A folder tree in a shown window over a real folder tree made by the test:
//   <temp>\a\b\c, <temp>\empty, <temp>\files (one file, no folder)
#pragma once
#include "tests/support/seam_recorders.h"
#include "shview/folderview/FolderView.h"
#include "idlist/idlist.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace fvtest {

class FolderViewTest : public ::testing::Test {
protected:
    // A folder the list cannot read says so in a box: recorded, not shown.
    testsupport::BoxRecorder unreadable;
    void SetUp() override;
    void TearDown() override;

    HWND TreeWindow() const { return tree->Handle(); }
    // The node of a folder, found (and filled on the way) through the tree.
    ui::TreeNode NodeOf(const std::wstring& path);
    // The middle of the node's text, in client coordinates (scrolled into view).
    POINT PointOf(ui::TreeNode node);
    // Presses and releases a button on the node (the control tracks the press).
    void RightClick(ui::TreeNode node);
    void LeftClick(ui::TreeNode node);
    // A left click on the node's expand (or collapse) button.
    void ClickButton(ui::TreeNode node);
    // A left press that moves beyond the drag distance before the release.
    void LeftDrag(ui::TreeNode node);
    // Edits the node's label in place and confirms `text` with Enter; false
    // if the control refused to edit.
    bool EditAndConfirm(ui::TreeNode node, const std::wstring& text);
    std::vector<std::wstring> ChildTexts(ui::TreeNode node) const;
    // The full path of a name inside the test's folder.
    std::wstring PathOf(std::wstring_view name) const;

    idlist::ShellModule module;
    testsupport::TempDir temp;
    std::wstring a, b, c, empty, files;
    HWND host = nullptr;
    std::unique_ptr<TFolderView> tree;
};

bool SamePath(const std::wstring& x, const std::wstring& y);

} // namespace fvtest
