// Reading the expanded folders of the real tree again in place, as a drive's
// report has the main window do, and the mark of the node being filled.
#include "tests/shview/folderview/folder_view_fixture.h"

namespace fvtest {
namespace {

using FolderViewSyncTest = FolderViewTest;

TEST_F(FolderViewSyncTest, DifferencesAreAppliedInPlaceAndTheSelectionFallsBack)
{
    struct Row {
        const char* what;
        const wchar_t* prepared;              // made before the selection, or none
        const wchar_t* selected;              // selected (and so expanded up to) first
        std::vector<const wchar_t*> made;     // folders made before the pass
        std::vector<const wchar_t*> removed;  // folders removed before the pass
        std::vector<std::wstring> aChildren;  // a's child nodes afterwards
        const wchar_t* selectedAfter;         // relative to the test folder
        int added, removedNodes;
    };
    const Row rows[] = {
        {"nothing changed", nullptr, L"a\\b", {}, {}, {L"b"}, L"a\\b", 0, 0},
        {"a folder made in an expanded folder", nullptr, L"a\\b", {L"a\\new"}, {}, {L"b", L"new"}, L"a\\b", 1, 0},
        {"a folder made in a collapsed one is not read", nullptr, L"a\\b", {L"empty\\later"}, {}, {L"b", L"new"}, L"a\\b", 0, 0},
        {"the selection's folder gone: its parent", nullptr, L"a\\b\\c", {}, {L"a\\b\\c"}, {L"b", L"new"}, L"a\\b", 0, 1},
        {"an ancestor of the selection gone", L"a\\new\\deep", L"a\\new\\deep", {}, {L"a\\new"}, {L"b"}, L"a", 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.prepared)
            temp.Folder(row.prepared);
        tree->SelectPath(PathOf(row.selected));
        ASSERT_TRUE(SamePath(tree->SelectedPath(), PathOf(row.selected)));
        ui::TreeNode aNode = NodeOf(a);
        ui::TreeNode emptyNode = NodeOf(empty);
        tree->Collapse(emptyNode);
        for (const wchar_t* folder : row.made)
            temp.Folder(folder);
        for (const wchar_t* folder : row.removed)
            ASSERT_TRUE(testsupport::RemoveTree(PathOf(folder)));

        TFolderView::SyncCounts counts = tree->ReadExpandedAgain();
        // Other processes may change the temporary folder meanwhile.
        EXPECT_GE(counts.added, row.added);
        EXPECT_GE(counts.removed, row.removedNodes);
        EXPECT_EQ(NodeOf(a), aNode) << "nodes that stay are the same nodes";
        EXPECT_TRUE(tree->IsExpanded(aNode));
        EXPECT_EQ(ChildTexts(aNode), row.aChildren);
        EXPECT_FALSE(tree->IsExpanded(emptyNode));
        EXPECT_TRUE(SamePath(tree->SelectedPath(), PathOf(row.selectedAfter)));
        EXPECT_EQ(tree->CurrentNode(), tree->Selected()) << "the linked views follow the selection";
    }
}

TEST_F(FolderViewSyncTest, ANodeIsMarkedWhileItsChildrenAreRead)
{
    ui::TreeNode bNode = NodeOf(b); // a is filled on the way, b not yet
    ASSERT_TRUE(bNode);
    ui::TreeNode aNode = tree->Parent(bNode);
    std::vector<ui::TreeNode> marked;
    tree->OnBusy = [&](ui::Component*, bool raised) {
        if (raised)
            marked.push_back(tree->FillingNode());
    };
    tree->Expand(bNode); // b is filled here
    EXPECT_EQ(tree->FillingNode(), nullptr);
    ASSERT_FALSE(marked.empty());
    EXPECT_EQ(marked.front(), bNode);
    // A rebuild asked for while a node is being read leaves the tree alone.
    tree->OnBusy = [&](ui::Component*, bool raised) {
        if (raised)
            tree->BuildTree();
    };
    tree->ReadChildrenAgain(aNode);
    EXPECT_EQ(NodeOf(a), aNode);
    EXPECT_EQ(tree->Text(tree->FirstChild(aNode)), L"b");
}

} // namespace
} // namespace fvtest
