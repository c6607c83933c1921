// The folder tree's building, filling, selecting and identifiers, on Wine's
// real shell and a folder tree made by the test.
#include "tests/shview/folderview/folder_view_fixture.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/test_folder.h"

#include <commctrl.h>

namespace fvtest {

using testsupport::CountingMalloc;
using testsupport::TestFolder;
namespace {

using idlist::AbsoluteIDList;
using idlist::ChildIDList;

TEST_F(FolderViewTest, AFreshTreeHasTheDesktopAsItsOnlyRootWithItsFolders)
{
    ui::TreeNode root = tree->Root();
    ASSERT_TRUE(root);
    EXPECT_EQ(tree->NextSibling(root), nullptr);
    EXPECT_EQ(tree->Selected(), root);
    EXPECT_EQ(tree->CurrentNode(), root);
    EXPECT_TRUE(tree->IsExpanded(root));
    EXPECT_FALSE(GetWindowLongW(TreeWindow(), GWL_STYLE) & TVS_LINESATROOT);
    EXPECT_EQ(TreeView_GetIndent(TreeWindow()), 19u);

    IShellFolder* desktop = idlist::DesktopFolder();
    AbsoluteIDList desktopID;
    ASSERT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktopID.put()));
    EXPECT_EQ(tree->Text(root), idlist::IDListDisplayName(desktopID.get(), SHGDN_INFOLDER));
    EXPECT_EQ(idlist::IDListCount(tree->NodeData(root)), 0u);

    // The desktop's folders in its own order, each with a button exactly when
    // the shell says it has sub-folders.
    std::vector<std::wstring> expected;
    ui::ComPtr<IEnumIDList> items;
    ASSERT_EQ(desktop->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, items.put()), S_OK);
    std::vector<ChildIDList> ids;
    for (ChildIDList id; items->Next(1, id.put(), nullptr) == S_OK;)
        ids.push_back(std::move(id));
    std::sort(ids.begin(), ids.end(), [&](const ChildIDList& x, const ChildIDList& y) {
        return idlist::IDListCompare(desktop, x.get(), y.get()) < 0;
    });
    for (auto& id : ids)
        expected.push_back(idlist::IDListDisplayName(desktop, id.get(), SHGDN_INFOLDER));
    EXPECT_EQ(ChildTexts(root), expected);
    ASSERT_FALSE(expected.empty());

    std::size_t i = 0;
    for (ui::TreeNode child = tree->FirstChild(root); child && i < ids.size(); child = tree->NextSibling(child), ++i) {
        PCUITEMID_CHILD item = ids[i].get();
        SFGAOF attributes = SFGAO_HASSUBFOLDER;
        ASSERT_HRESULT_SUCCEEDED(desktop->GetAttributesOf(1, &item, &attributes));
        EXPECT_EQ(tree->ChildrenFlag(child), (attributes & SFGAO_HASSUBFOLDER) != 0) << tree->Text(child);
        EXPECT_FALSE(tree->HasChildNodes(child)) << "children come on the first expansion";
        EXPECT_EQ(idlist::IDListCompare(desktop, tree->NodeData(child), item), 0);
    }
}

TEST_F(FolderViewTest, ExpandingAFolderWithoutSubFoldersRemovesItsButton)
{
    ui::TreeNode emptyNode = NodeOf(empty);
    ui::TreeNode filesNode = NodeOf(files);
    ASSERT_TRUE(emptyNode);
    ASSERT_TRUE(filesNode);
    // Wine's shell says every folder has sub-folders.
    EXPECT_TRUE(tree->ChildrenFlag(emptyNode));
    tree->Expand(emptyNode);
    EXPECT_FALSE(tree->ChildrenFlag(emptyNode));
    EXPECT_FALSE(tree->HasChildNodes(emptyNode));
    // Files are not nodes.
    tree->Expand(filesNode);
    EXPECT_FALSE(tree->ChildrenFlag(filesNode));
    EXPECT_FALSE(tree->HasChildNodes(filesNode));
}

TEST_F(FolderViewTest, SelectPathFillsAndExpandsTheWayToADeepFolder)
{
    std::vector<ui::TreeNode> changes;
    tree->OnChange = [&](ui::Component* sender, ui::TreeNode node) {
        EXPECT_EQ(sender, tree.get());
        changes.push_back(node);
    };
    ui::TreeNode root = tree->Root();
    tree->SelectPath(c);
    ui::TreeNode selected = tree->Selected();
    ASSERT_TRUE(selected);
    EXPECT_EQ(tree->Text(selected), L"c");
    EXPECT_TRUE(SamePath(tree->SelectedPath(), c)) << testing::PrintToString(tree->SelectedPath());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.back(), selected);
    EXPECT_EQ(tree->CurrentNode(), selected);
    EXPECT_EQ(tree->PreviousNode(), root);
    // Every node on the way is filled and expanded; the target itself is not.
    for (ui::TreeNode up = tree->Parent(selected); up; up = tree->Parent(up)) {
        EXPECT_TRUE(tree->IsExpanded(up)) << tree->Text(up);
        EXPECT_TRUE(tree->HasChildNodes(up)) << tree->Text(up);
    }
    EXPECT_EQ(tree->Text(tree->Parent(selected)), L"b");
    EXPECT_EQ(tree->Text(tree->Parent(tree->Parent(selected))), L"a");
    EXPECT_FALSE(tree->IsExpanded(selected));

    // The absolute identifier of the node names the same folder.
    AbsoluteIDList expected = idlist::IDListFromPath(c);
    AbsoluteIDList got = tree->NodeIDList(selected);
    EXPECT_EQ(idlist::IDListCompare(idlist::DesktopFolder(), got.get(), expected.get()), 0);
    EXPECT_EQ(tree->FindNode(expected.get()), selected);
}

TEST_F(FolderViewTest, PathsThatCannotBeParsedChangeNothing)
{
    tree->SelectPath(a);
    ui::TreeNode before = tree->Selected();
    ASSERT_TRUE(before);
    int changes = 0;
    tree->OnChange = [&](ui::Component*, ui::TreeNode) { ++changes; };
    tree->SelectPath(PathOf(L"missing\\folder"));
    tree->SelectPath(L"/tmp");          // a Unix path: never handed to the shell
    tree->SelectPath(L"//server/share"); // nor anything else starting with "/"
    EXPECT_EQ(tree->Selected(), before);
    EXPECT_EQ(changes, 0);

    // A file parses but is no node: the tree is left without a selection.
    tree->SelectPath(PathOf(L"files\\note.txt"));
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tree->SelectedPath(), L"");
}

TEST_F(FolderViewTest, SelectIDListOfTheEmptyIdentifierSelectsTheRoot)
{
    tree->SelectPath(b);
    ASSERT_NE(tree->Selected(), tree->Root());
    AbsoluteIDList desktop;
    ASSERT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.put()));
    tree->SelectIDList(desktop.get());
    EXPECT_EQ(tree->Selected(), tree->Root());
    EXPECT_EQ(tree->CurrentNode(), tree->Root());
}

TEST_F(FolderViewTest, SelectedIsVirtualForTheRootVirtualFoldersAndNoSelection)
{
    EXPECT_TRUE(tree->SelectedIsVirtual()); // the root

    AbsoluteIDList computer;
    ASSERT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()));
    tree->SelectIDList(computer.get());
    ASSERT_TRUE(tree->Selected());
    EXPECT_NE(tree->Selected(), tree->Root());
    EXPECT_TRUE(tree->SelectedIsVirtual());

    tree->SelectPath(a);
    ASSERT_TRUE(tree->Selected());
    EXPECT_FALSE(tree->SelectedIsVirtual());

    tree->Select(nullptr);
    EXPECT_TRUE(tree->SelectedIsVirtual());
}

TEST_F(FolderViewTest, OpenChildSelectsAChildOfTheSelection)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    AbsoluteIDList bAbsolute = idlist::IDListFromPath(b);
    ChildIDList bItem = idlist::IDListLast(bAbsolute.get());
    tree->OpenChild(bItem.get());
    ASSERT_TRUE(tree->Selected());
    EXPECT_EQ(tree->Text(tree->Selected()), L"b");
    EXPECT_EQ(tree->Parent(tree->Selected()), aNode);
    EXPECT_EQ(tree->PreviousNode(), aNode);
    EXPECT_EQ(tree->FindChild(aNode, bItem.get()), tree->Selected());
    EXPECT_EQ(tree->FindChild(nullptr, bItem.get()), nullptr);
    EXPECT_EQ(tree->FindChild(aNode, nullptr), nullptr);
}

TEST_F(FolderViewTest, AFolderMadeAfterItsParentWasFilledEmptyIsFoundByPath)
{
    ui::TreeNode emptyNode = NodeOf(empty);
    ASSERT_TRUE(emptyNode);
    tree->Expand(emptyNode);
    ASSERT_FALSE(tree->ChildrenFlag(emptyNode));
    std::wstring late = PathOf(L"empty\\late");
    CreateDirectoryW(late.c_str(), nullptr);
    tree->SelectPath(late);
    ASSERT_TRUE(tree->Selected());
    EXPECT_EQ(tree->Text(tree->Selected()), L"late");
    EXPECT_TRUE(tree->ChildrenFlag(emptyNode));
}

TEST_F(FolderViewTest, AFolderThatCannotBeReadGetsNoChildrenAndTheSelectionStays)
{
    ui::TreeNode aNode = NodeOf(a);
    ASSERT_TRUE(aNode);
    tree->SelectPath(files);
    ui::TreeNode current = tree->Selected();
    auto desktop = TestFolder::Over(idlist::DesktopFolder());
    desktop->unreadable = {a};
    {
        idlist::ScopedShellObjects scope(nullptr, desktop.get());
        tree->Expand(aNode);
    }
    EXPECT_EQ(desktop->enumFailures, 1);
    EXPECT_FALSE(tree->HasChildNodes(aNode));
    EXPECT_TRUE(tree->ChildrenFlag(aNode)) << "it may be readable later";
    EXPECT_EQ(tree->Selected(), current);
    EXPECT_EQ(tree->CurrentNode(), current);
    EXPECT_FALSE(tree->Updating);
    // Readable again: the next expansion fills it.
    tree->Collapse(aNode);
    tree->Expand(aNode);
    EXPECT_EQ(ChildTexts(aNode), std::vector<std::wstring>{L"b"});
}

TEST_F(FolderViewTest, IconsComeFromIShellIconWhenTheFolderOffersIt)
{
    auto desktop = TestFolder::Over(idlist::DesktopFolder());
    desktop->offerIcons = true;
    desktop->iconOf = [](const std::wstring&, UINT flags, int* index) {
        *index = (flags & GIL_OPENICON) ? 9 : 7;
        return S_OK;
    };
    {
        idlist::ScopedShellObjects scope(nullptr, desktop.get());
        tree->BuildTree();
    }
    ui::TreeNode child = tree->FirstChild(tree->Root());
    ASSERT_TRUE(child);
    EXPECT_EQ(tree->Image(child), 7);
    EXPECT_EQ(tree->SelectedImage(child), 9);
    // Without it (Wine's own folders) the indexes come from SHGetFileInfo.
    ui::TreeNode aNode = NodeOf(a);
    AbsoluteIDList absolute = idlist::IDListFromPath(a);
    EXPECT_EQ(tree->Image(aNode), idlist::IDListIconIndex(absolute.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    EXPECT_EQ(tree->SelectedImage(aNode),
              idlist::IDListIconIndex(absolute.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON));
}

TEST_F(FolderViewTest, ARebuildFreesEveryIdentifierBeforeTellingAndDropsTheRememberedNodes)
{
    tree->SelectPath(b);
    tree->SelectPath(c);
    ASSERT_TRUE(tree->PreviousNode());
    int before = tree->Count();
    CountingMalloc counting;
    std::vector<int> freesSeen;
    tree->OnDeleting = [&](ui::Component*, ui::TreeNode) { freesSeen.push_back(counting.AllFrees()); };
    {
        idlist::ScopedShellObjects scope(&counting, nullptr);
        tree->BuildTree();
    }
    ASSERT_EQ(int(freesSeen.size()), before);
    for (std::size_t i = 0; i < freesSeen.size(); ++i)
        EXPECT_GE(freesSeen[i], int(i) + 1) << "node " << i << " was reported before its identifier was freed";
    EXPECT_EQ(tree->Selected(), tree->Root());
    EXPECT_EQ(tree->CurrentNode(), tree->Root());
    EXPECT_EQ(tree->PreviousNode(), nullptr);
}

TEST_F(FolderViewTest, DestroyingTheTreeFreesEveryIdentifier)
{
    tree->SelectPath(c);
    int nodes = tree->Count();
    ASSERT_GT(nodes, 5);
    CountingMalloc counting;
    int deletingEvents = 0;
    tree->OnDeleting = [&](ui::Component*, ui::TreeNode) { ++deletingEvents; };
    {
        idlist::ScopedShellObjects scope(&counting, nullptr);
        tree.reset();
    }
    EXPECT_EQ(counting.AllFrees(), nodes);
    EXPECT_EQ(deletingEvents, 0) << "nobody is told while the tree itself goes";
}

TEST_F(FolderViewTest, DestroyingTheWindowFirstFreesEveryIdentifierToo)
{
    tree->SelectPath(c);
    int nodes = tree->Count();
    CountingMalloc counting;
    {
        idlist::ScopedShellObjects scope(&counting, nullptr);
        DestroyWindow(host);
        host = nullptr;
        EXPECT_EQ(tree->Handle(), nullptr);
        tree.reset();
    }
    EXPECT_EQ(counting.AllFrees(), nodes);
}

TEST_F(FolderViewTest, RenameChildFollowsAFolderRenamedElsewhereKeepingItsChildren)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    AbsoluteIDList bAbsolute = idlist::IDListFromPath(b);
    ui::TreeNode bNode = tree->FindChild(aNode, idlist::IDListLast(bAbsolute.get()).get());
    ASSERT_TRUE(bNode);
    tree->Expand(bNode);
    ui::TreeNode cNode = tree->FirstChild(bNode);
    ASSERT_TRUE(cNode);

    // Rename b through its parent folder, as the file list does.
    AbsoluteIDList aAbsolute = idlist::IDListFromPath(a);
    ui::ComPtr<IShellFolder> aFolder;
    ASSERT_HRESULT_SUCCEEDED(
        idlist::DesktopFolder()->BindToObject(aAbsolute.get(), nullptr, IID_IShellFolder, aFolder.put_void()));
    ChildIDList oldItem = idlist::IDListFirst(tree->NodeData(bNode));
    ChildIDList newItem;
    ASSERT_HRESULT_SUCCEEDED(aFolder->SetNameOf(nullptr, oldItem.get(), L"b2", SHGDN_NORMAL, newItem.put()));
    tree->RenameChild(oldItem.get(), newItem.get());

    EXPECT_EQ(tree->Text(bNode), L"b2");
    EXPECT_EQ(idlist::IDListCompare(aFolder.get(), tree->NodeData(bNode), newItem.get()), 0);
    EXPECT_EQ(tree->FirstChild(bNode), cNode);
    EXPECT_TRUE(tree->IsExpanded(bNode));
    EXPECT_EQ(tree->Selected(), aNode);
    tree->SelectPath(PathOf(L"a\\b2\\c"));
    EXPECT_EQ(tree->Selected(), cNode);

    // A name the selection has no child for changes nothing.
    tree->SelectPath(a);
    tree->RenameChild(oldItem.get(), newItem.get());
    EXPECT_EQ(tree->Text(bNode), L"b2");
}

} // namespace
} // namespace fvtest
