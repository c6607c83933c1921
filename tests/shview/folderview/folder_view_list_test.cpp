// The folder tree driving a real file list, and the list calling back.
#include "shview/fileview/FileView.h"
#include "tests/shview/folderview/folder_view_fixture.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/test_folder.h"

#include <commctrl.h>

namespace fvtest {

using testsupport::CountingMalloc;
using testsupport::TestFolder;
namespace {

using idlist::AbsoluteIDList;

class FolderViewListTest : public FolderViewTest {
protected:
    void SetUp() override
    {
        FolderViewTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(list.Create(host));
        list.SetBounds(500, 0, 290, 580);
        tree->SetFileView(&list);
        testsupport::PumpUntilIdle(20, 2000);
    }
    void TearDown() override
    {
        tree.reset();
        FolderViewTest::TearDown();
    }
    // Whether the list shows the folder at `path`.
    bool ListShows(const std::wstring& path)
    {
        AbsoluteIDList expected = idlist::IDListFromPath(path);
        return list.FolderIDList() && expected &&
               idlist::IDListCompare(idlist::DesktopFolder(), list.FolderIDList(), expected.get()) == 0;
    }
    bool ListShowsNode(ui::TreeNode node)
    {
        AbsoluteIDList expected = tree->NodeIDList(node);
        return list.FolderIDList() && expected &&
               idlist::IDListCompare(idlist::DesktopFolder(), list.FolderIDList(), expected.get()) == 0;
    }
    void DoubleClickInList(int i)
    {
        list.SetSelected(i, true);
        list.SetFocused(i);
        POINT p = list.ItemPosition(i);
        PostMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x + 16, p.y + 16));
        PostMessageW(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x + 16, p.y + 16));
        testsupport::PumpUntilIdle(10, 1000);
    }
    int Find(const std::wstring& caption) const
    {
        for (int i = 0; i < list.Count(); ++i)
            if (list.ItemText(i) == caption)
                return i;
        return -1;
    }
    void RenameInList(const std::wstring& caption, const std::wstring& typed)
    {
        int i = Find(caption);
        ASSERT_GE(i, 0);
        list.SetFocus();
        list.EditLabel(i);
        HWND edit = reinterpret_cast<HWND>(SendMessageW(list.Handle(), LVM_GETEDITCONTROL, 0, 0));
        ASSERT_TRUE(edit);
        SetWindowTextW(edit, typed.c_str());
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        testsupport::PumpUntilIdle(10, 500);
    }

    TFileView list; // outlives the tree: TearDown lets the tree go first
};

TEST_F(FolderViewListTest, TheListShowsEverySelectedFolder)
{
    EXPECT_EQ(list.FolderView.get(), tree.get());
    EXPECT_EQ(tree->FileView(), &list);
    tree->SelectPath(a);
    EXPECT_TRUE(ListShows(a));
    EXPECT_GE(Find(L"b"), 0);
    tree->SelectPath(c);
    EXPECT_TRUE(ListShows(c));
    EXPECT_EQ(list.Count(), 0);
    tree->SelectIDList(idlist::IDListFromPath(files).get());
    EXPECT_TRUE(ListShows(files));
    EXPECT_GE(Find(L"note.txt"), 0);
}

TEST_F(FolderViewListTest, SelectionsWhileUpdatingDoNotReachTheList)
{
    tree->SelectPath(a);
    ui::TreeNode bNode = tree->FindChild(tree->Selected(), idlist::IDListLast(idlist::IDListFromPath(b).get()).get());
    ASSERT_TRUE(bNode);
    int changes = 0;
    tree->OnChange = [&](ui::Component*, ui::TreeNode) { ++changes; };
    tree->Updating = true;
    tree->Select(bNode);
    tree->Updating = false;
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tree->CurrentNode(), bNode);
    EXPECT_TRUE(ListShows(a));
    tree->UpdateLinkedViews(tree->Selected());
    EXPECT_TRUE(ListShows(b));
}

TEST_F(FolderViewListTest, TheListLinkFollowsTheListAndItsRemoval)
{
    tree->SelectPath(a);
    {
        TFileView other;
        ASSERT_TRUE(other.Create(host));
        tree->SetFileView(&other);
        EXPECT_FALSE(list.FolderView) << "the old list is let go";
        EXPECT_EQ(other.FolderView.get(), tree.get());
        tree->SelectPath(b);
        EXPECT_TRUE(ListShows(a)) << "no longer linked";
    }
    EXPECT_EQ(tree->FileView(), nullptr) << "the list is gone";
    tree->SelectPath(c); // nothing left to tell
    EXPECT_EQ(tree->Text(tree->Selected()), L"c");
    tree->SetFileView(&list);
    tree->SetFileView(nullptr);
    EXPECT_FALSE(list.FolderView);
}

TEST_F(FolderViewListTest, ADoubleClickedFolderInTheListIsOpenedInTheTree)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    int i = Find(L"b");
    ASSERT_GE(i, 0);
    DoubleClickInList(i);
    ASSERT_TRUE(tree->Selected());
    EXPECT_EQ(tree->Text(tree->Selected()), L"b");
    EXPECT_EQ(tree->Parent(tree->Selected()), aNode);
    EXPECT_TRUE(ListShows(b));
}

TEST_F(FolderViewListTest, AFolderMadeSinceTheTreeReadItsParentOpensFromTheList)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    tree->Expand(aNode);
    ASSERT_EQ(ChildTexts(aNode), std::vector<std::wstring>{L"b"});
    temp.Folder(L"a\\new");
    list.FillList();
    int i = Find(L"new");
    ASSERT_GE(i, 0);

    DoubleClickInList(i);
    ASSERT_TRUE(tree->Selected());
    EXPECT_EQ(tree->Text(tree->Selected()), L"new");
    EXPECT_EQ(tree->Parent(tree->Selected()), aNode);
    EXPECT_TRUE(ListShows(PathOf(L"a\\new")));
    // Read again, not twice: the node the tree had stays, once.
    EXPECT_EQ(ChildTexts(aNode), (std::vector<std::wstring>{L"b", L"new"}));
}

TEST_F(FolderViewListTest, AFolderThatIsNotThereChangesNeitherTreeNorList)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    std::wstring gone = temp.Folder(L"a\\gone");
    idlist::ChildIDList goneItem = idlist::IDListLast(idlist::IDListFromPath(gone).get());
    ASSERT_TRUE(goneItem);
    RemoveDirectoryW(gone.c_str());
    int changes = 0;
    tree->OnChange = [&](ui::Component*, ui::TreeNode) { ++changes; };

    tree->OpenChild(goneItem.get());
    EXPECT_EQ(tree->Selected(), aNode);
    EXPECT_EQ(tree->CurrentNode(), aNode);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(ListShows(a));
    EXPECT_EQ(ChildTexts(aNode), std::vector<std::wstring>{L"b"});
}

// The control moves its selection to a folder it collapses above it without
// a notice; the list (and whatever OnChange drives) follows all the same.
TEST_F(FolderViewListTest, CollapsingAFolderAboveTheSelectionTakesTheListAlong)
{
    enum class How { Button, Program };
    constexpr int kDrive = 0; // the folder collapsed is the drive (level 2)
    struct Case {
        const char* what;
        std::wstring selected;
        int up; // levels from the selection to the folder collapsed
        How how;
    };
    const Case cases[] = {
        {"the parent's button", b, 1, How::Button},
        {"a grandparent's button", c, 2, How::Button},
        {"the program collapsing the parent", c, 1, How::Program},
        {"the drive's button", c, kDrive, How::Button},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        tree->SelectPath(k.selected);
        ui::TreeNode selected = tree->Selected();
        ASSERT_TRUE(selected);
        ui::TreeNode folder = selected;
        for (int i = 0; folder && (k.up == kDrive ? tree->Level(folder) > 2 : i < k.up); ++i)
            folder = tree->Parent(folder);
        ASSERT_TRUE(folder);
        ASSERT_TRUE(tree->IsExpanded(folder));
        std::vector<ui::TreeNode> changes;
        tree->OnChange = [&](ui::Component*, ui::TreeNode node) { changes.push_back(node); };

        if (k.how == How::Button)
            ClickButton(folder);
        else
            tree->Collapse(folder);
        tree->OnChange = nullptr;
        EXPECT_FALSE(tree->IsExpanded(folder));
        EXPECT_EQ(tree->Selected(), folder);
        EXPECT_EQ(tree->CurrentNode(), folder);
        EXPECT_EQ(tree->PreviousNode(), selected);
        EXPECT_EQ(changes, std::vector<ui::TreeNode>{folder});
        EXPECT_TRUE(ListShowsNode(folder));
    }
}

TEST_F(FolderViewListTest, AFolderRenamedInTheListKeepsItsNodeChildrenAndExpansion)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    ui::TreeNode bNode = tree->FindChild(aNode, idlist::IDListLast(idlist::IDListFromPath(b).get()).get());
    ASSERT_TRUE(bNode);
    tree->Expand(bNode);
    ui::TreeNode cNode = tree->FirstChild(bNode);
    ASSERT_TRUE(cNode);

    RenameInList(L"b", L"b renamed");
    EXPECT_GE(Find(L"b renamed"), 0);
    EXPECT_EQ(tree->Text(bNode), L"b renamed");
    EXPECT_EQ(tree->FirstChild(bNode), cNode);
    EXPECT_TRUE(tree->IsExpanded(bNode));
    EXPECT_EQ(tree->Selected(), aNode);
    tree->SelectPath(PathOf(L"a\\b renamed\\c"));
    EXPECT_EQ(tree->Selected(), cNode);
    EXPECT_TRUE(ListShows(PathOf(L"a\\b renamed\\c")));
}

TEST_F(FolderViewListTest, AFolderTheListCannotReadSendsTheTreeBack)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    ui::TreeNode bNode = tree->FindChild(aNode, idlist::IDListLast(idlist::IDListFromPath(b).get()).get());
    ASSERT_TRUE(bNode);
    auto desktop = TestFolder::Over(idlist::DesktopFolder());
    desktop->unreadable = {b};
    {
        idlist::ScopedShellObjects scope(nullptr, desktop.get());
        tree->Select(bNode);
    }
    EXPECT_GE(desktop->enumFailures, 1);
    EXPECT_EQ(tree->Selected(), aNode);
    EXPECT_EQ(tree->CurrentNode(), aNode);
    EXPECT_TRUE(ListShows(a));
    EXPECT_GE(Find(L"b"), 0);
}

} // namespace
} // namespace fvtest
