// The tree state utilities across a rebuild of the real folder tree, as the
// main window runs them on a refresh.
#include "shview/folderview/TreeState.h"
#include "tests/shview/folderview/folder_view_fixture.h"

namespace fvtest {
namespace {

class FolderViewStateTest : public FolderViewTest {
protected:
    // Saves the expanded nodes and the selection's text path, runs `change`,
    // rebuilds and restores; answers the node found for the old selection.
    template <class Change>
    ui::TreeNode RebuildAround(Change change)
    {
        ui::TreeView copy;
        EXPECT_TRUE(copy.Create(host, 0));
        copy.SetVisible(false);
        shview::SaveExpanded(copy, *tree);
        std::wstring path = shview::NodeTextPath(*tree, tree->Selected());
        change();
        tree->BeginUpdate();
        tree->BuildTree();
        shview::RestoreExpanded(*tree, copy);
        ui::TreeNode found = path.empty() ? nullptr : shview::FindNodeByTextPath(*tree, path);
        tree->EndUpdate();
        return found;
    }
};

TEST_F(FolderViewStateTest, TheSelectionAndTheExpandedFoldersSurviveARebuild)
{
    tree->SelectPath(c);
    ui::TreeNode old = tree->Selected();
    std::wstring oldPath = shview::NodeTextPath(*tree, old);
    ui::TreeNode found = RebuildAround([] {});
    ASSERT_TRUE(found);
    EXPECT_EQ(shview::NodeTextPath(*tree, found), oldPath);
    EXPECT_TRUE(tree->IsExpanded(tree->Parent(found))) << "b was expanded";
    EXPECT_TRUE(tree->IsExpanded(tree->Parent(tree->Parent(found)))) << "a was expanded";
}

TEST_F(FolderViewStateTest, ADeletedFolderGivesItsNearestAncestorWithChildren)
{
    tree->SelectPath(c);
    ui::TreeNode found = RebuildAround([&] { ASSERT_TRUE(RemoveDirectoryW(c.c_str())); });
    ASSERT_TRUE(found);
    // b, restored and expanded, turned out empty: the answer is a.
    EXPECT_EQ(tree->Text(found), L"a");
    ui::TreeNode bNode = tree->FirstChild(found);
    ASSERT_TRUE(bNode);
    EXPECT_EQ(tree->Text(bNode), L"b");
    EXPECT_FALSE(tree->ChildrenFlag(bNode));
}

TEST_F(FolderViewStateTest, ADeletedFolderWithASurvivingSiblingGivesItsParent)
{
    temp.Folder(L"a\\b\\keep");
    tree->SelectPath(c);
    ui::TreeNode found = RebuildAround([&] { ASSERT_TRUE(RemoveDirectoryW(c.c_str())); });
    ASSERT_TRUE(found);
    EXPECT_EQ(tree->Text(found), L"b");
    EXPECT_EQ(ChildTexts(found), std::vector<std::wstring>{L"keep"});
}

} // namespace
} // namespace fvtest
