// The folder tree's mouse (shell menu, drag) and in-place rename.
#include "tests/shview/folderview/folder_view_fixture.h"
#include "tests/support/key_input.h"

#include <commctrl.h>

#include <functional>
#include <utility>

namespace fvtest {
namespace {

using idlist::AbsoluteIDList;
using idlist::ChildIDList;
using idlist::RelativeIDList;

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct Call {
    HWND window = nullptr;
    ui::ComPtr<IShellFolder> folder;
    POINT screen{};
    int count = 0;
    RelativeIDList items;
};

class RecordingMenu : public TContextMenuEx {
public:
    bool ShowItemMenu(HWND window, IShellFolder* folder, POINT screen, int count, PCUIDLIST_RELATIVE items) override
    {
        Call call;
        call.window = window;
        call.folder = ui::ComPtr<IShellFolder>::Share(folder);
        call.screen = screen;
        call.count = count;
        call.items = idlist::IDListCombineRelative(items, nullptr);
        calls.push_back(std::move(call));
        return false;
    }
    std::vector<Call> calls;
};

class RecordingDrag : public TDropSourceEx {
public:
    void DragItems(HWND window, IShellFolder* folder, int count, PCUIDLIST_RELATIVE items) override
    {
        Call call;
        call.window = window;
        call.folder = ui::ComPtr<IShellFolder>::Share(folder);
        call.count = count;
        call.items = idlist::IDListCombineRelative(items, nullptr);
        calls.push_back(std::move(call));
    }
    std::vector<Call> calls;
};

// The folder that holds a path's last item, bound afresh for comparisons.
ui::ComPtr<IShellFolder> ParentOf(const std::wstring& path)
{
    AbsoluteIDList absolute = idlist::IDListFromPath(path);
    ui::ComPtr<IShellFolder> parent;
    ChildIDList last;
    idlist::IDListBindParent(absolute.get(), parent, last);
    return parent;
}

TEST_F(FolderViewTest, ARightClickShowsTheMenuOfTheNodeUnderThePointerAndKeepsTheSelection)
{
    RecordingMenu menu;
    tree->ContextMenu = &menu;
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    ChildIDList bItem = idlist::IDListLast(idlist::IDListFromPath(b).get());
    ui::TreeNode bNode = tree->FindChild(aNode, bItem.get());
    ASSERT_TRUE(bNode);
    std::vector<ui::TreeNode> changes;
    tree->OnChange = [&](ui::Component*, ui::TreeNode node) { changes.push_back(node); };
    int mouseUps = 0;
    tree->OnMouseUp = [&](ui::Control*, ui::MouseButton button, ui::ShiftState, int, int) {
        // The event comes before the menu.
        EXPECT_TRUE(menu.calls.empty());
        mouseUps += button == ui::MouseButton::Right;
    };

    RightClick(bNode);
    ASSERT_EQ(menu.calls.size(), 1u);
    EXPECT_EQ(mouseUps, 1);
    const Call& call = menu.calls[0];
    EXPECT_EQ(call.window, TreeWindow());
    EXPECT_EQ(call.count, 1);
    EXPECT_EQ(idlist::IDListCount(call.items.get()), 1u);
    ui::ComPtr<IShellFolder> aFolder = ParentOf(b);
    EXPECT_EQ(idlist::IDListCompare(aFolder.get(), call.items.get(), bItem.get()), 0);
    EXPECT_TRUE(SamePath(idlist::IDListDisplayName(call.folder.get(), idlist::IDListAsChild(call.items.get()),
                                                   SHGDN_FORPARSING),
                         b));
    POINT p = PointOf(bNode);
    ClientToScreen(TreeWindow(), &p);
    EXPECT_EQ(call.screen.x, p.x);
    EXPECT_EQ(call.screen.y, p.y);
    EXPECT_EQ(tree->Selected(), aNode);
    EXPECT_TRUE(changes.empty());
}

TEST_F(FolderViewTest, ShiftF10AndTheMenuKeyOpenTheSelectedNodesMenu)
{
    RecordingMenu menu;
    tree->ContextMenu = &menu;
    // On a folder by the menu key (the message it becomes) and by Shift+F10;
    // on the root, which has no menu.
    const struct {
        bool root, shiftF10;
        size_t menus;
    } rows[] = {{false, false, 1}, {false, true, 1}, {true, true, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.root << row.shiftF10);
        menu.calls.clear();
        if (row.root)
            tree->Select(tree->Root());
        else
            tree->SelectPath(b);
        ui::TreeNode selected = tree->Selected();
        SetFocus(TreeWindow());
        if (row.shiftF10) {
            testsupport::HeldModifiers shift(false, true);
            SendMessageW(TreeWindow(), WM_SYSKEYDOWN, VK_F10, 1);
        } else {
            SendMessageW(TreeWindow(), WM_CONTEXTMENU, WPARAM(TreeWindow()), LPARAM(-1));
        }
        testsupport::PumpUntilIdle(10, 500);
        ASSERT_EQ(menu.calls.size(), row.menus);
        EXPECT_EQ(tree->Selected(), selected);
        if (row.menus == 0)
            continue;
        // The selected folder's menu, at its text.
        const Call& call = menu.calls[0];
        EXPECT_TRUE(SamePath(idlist::IDListDisplayName(call.folder.get(), idlist::IDListAsChild(call.items.get()),
                                                       SHGDN_FORPARSING),
                             b));
        POINT p = PointOf(selected);
        ClientToScreen(TreeWindow(), &p);
        EXPECT_EQ(std::make_pair(call.screen.x, call.screen.y), std::make_pair(p.x, p.y));
    }
}

// While a node's menu is open the node wears the drop-target mark (the
// selection stays on the folder in view); the marks go back as they were.
TEST_F(FolderViewTest, TheRightClickedFolderIsMarkedWhileItsMenuIsOpen)
{
    struct MarkingMenu : TContextMenuEx {
        bool ShowItemMenu(HWND, IShellFolder*, POINT, int, PCUIDLIST_RELATIVE) override
        {
            marked = tree->DropHighlighted();
            markedState = TreeView_GetItemState(tree->Handle(), marked, TVIS_DROPHILITED);
            if (whileOpen)
                whileOpen();
            return false;
        }
        TFolderView* tree = nullptr;
        ui::TreeNode marked = nullptr;
        UINT markedState = 0;
        std::function<void()> whileOpen;
    };
    enum class Before { None, Root, Rebuilt };
    const std::pair<const char*, Before> cases[] = {
        {"nothing marked before", Before::None},
        {"another node marked before", Before::Root},
        {"the tree rebuilt while the menu is open", Before::Rebuilt},
    };
    for (const auto& [what, before] : cases) {
        SCOPED_TRACE(what);
        MarkingMenu menu;
        menu.tree = tree.get();
        tree->ContextMenu = &menu;
        tree->SelectPath(a);
        ui::TreeNode aNode = tree->Selected();
        ui::TreeNode bNode = tree->FindChild(aNode, idlist::IDListLast(idlist::IDListFromPath(b).get()).get());
        ASSERT_TRUE(bNode);
        ui::TreeNode markedBefore = before == Before::Root ? tree->Root() : nullptr;
        tree->SetDropHighlighted(markedBefore);
        if (before == Before::Rebuilt)
            menu.whileOpen = [&] { tree->BuildTree(); };

        RightClick(bNode);
        EXPECT_EQ(menu.marked, bNode);
        EXPECT_EQ(menu.markedState, UINT(TVIS_DROPHILITED));
        if (before == Before::Rebuilt) {
            EXPECT_EQ(tree->DropHighlighted(), nullptr);
            EXPECT_EQ(tree->Selected(), tree->Root());
        } else {
            EXPECT_EQ(tree->DropHighlighted(), markedBefore);
            EXPECT_EQ(TreeView_GetItemState(TreeWindow(), bNode, TVIS_DROPHILITED), 0u);
            EXPECT_EQ(tree->Selected(), aNode);
        }
        tree->SetDropHighlighted(nullptr);
        tree->ContextMenu = nullptr;
    }
}

TEST_F(FolderViewTest, TheRootGetsNoMenuNoDragAndNoEdit)
{
    RecordingMenu menu;
    RecordingDrag drag;
    tree->ContextMenu = &menu;
    tree->DropSource = &drag;
    ui::TreeNode root = tree->Root();
    RightClick(root);
    LeftDrag(root);
    EXPECT_TRUE(menu.calls.empty());
    EXPECT_TRUE(drag.calls.empty());
    EXPECT_FALSE(EditAndConfirm(root, L"renamed desktop"));
    EXPECT_EQ(TreeView_GetEditControl(TreeWindow()), nullptr);
    EXPECT_EQ(tree->Selected(), root);
}

TEST_F(FolderViewTest, ADesktopChildGetsTheDesktopAsItsMenuFolder)
{
    RecordingMenu menu;
    tree->ContextMenu = &menu;
    ui::TreeNode child = tree->FirstChild(tree->Root());
    ASSERT_TRUE(child);
    RightClick(child);
    ASSERT_EQ(menu.calls.size(), 1u);
    EXPECT_EQ(menu.calls[0].folder.get(), idlist::DesktopFolder());
    EXPECT_EQ(idlist::IDListCompare(idlist::DesktopFolder(), menu.calls[0].items.get(), tree->NodeData(child)), 0);
}

TEST_F(FolderViewTest, ALeftDragHandsTheNodeToTheDragSourceWithoutSelectingIt)
{
    RecordingDrag drag;
    tree->DropSource = &drag;
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    ChildIDList bItem = idlist::IDListLast(idlist::IDListFromPath(b).get());
    ui::TreeNode bNode = tree->FindChild(aNode, bItem.get());
    ASSERT_TRUE(bNode);
    std::vector<std::size_t> callsAtMouseDown;
    tree->OnMouseDown = [&](ui::Control*, ui::MouseButton, ui::ShiftState, int, int) {
        callsAtMouseDown.push_back(drag.calls.size());
    };

    LeftDrag(bNode);
    ASSERT_EQ(drag.calls.size(), 1u);
    EXPECT_EQ(drag.calls[0].window, TreeWindow());
    EXPECT_EQ(drag.calls[0].count, 1);
    ui::ComPtr<IShellFolder> aFolder = ParentOf(b);
    EXPECT_EQ(idlist::IDListCompare(aFolder.get(), drag.calls[0].items.get(), bItem.get()), 0);
    EXPECT_TRUE(SamePath(idlist::IDListDisplayName(drag.calls[0].folder.get(),
                                                   idlist::IDListAsChild(drag.calls[0].items.get()), SHGDN_FORPARSING),
                         b));
    EXPECT_EQ(tree->Selected(), aNode);
    ASSERT_EQ(callsAtMouseDown.size(), 1u);
    EXPECT_EQ(callsAtMouseDown[0], 0u) << "the event comes before the drag";

    // A plain click is no drag: it selects, as a click does.
    LeftClick(bNode);
    EXPECT_EQ(drag.calls.size(), 1u);
    EXPECT_EQ(tree->Selected(), bNode);
}

TEST_F(FolderViewTest, UnlinkedComponentsAreNotCalled)
{
    ui::TreeNode child = tree->FirstChild(tree->Root());
    {
        RecordingMenu menu;
        tree->ContextMenu = &menu;
    } // the menu is gone: the link cleared itself
    EXPECT_FALSE(tree->ContextMenu);
    RightClick(child);
    LeftDrag(child);
    EXPECT_EQ(tree->Selected(), tree->Root());
}

TEST_F(FolderViewTest, RenamingANodeInPlaceRenamesTheFolderThroughTheShell)
{
    tree->SelectPath(a);
    ui::TreeNode aNode = tree->Selected();
    ChildIDList bItem = idlist::IDListLast(idlist::IDListFromPath(b).get());
    ui::TreeNode bNode = tree->FindChild(aNode, bItem.get());
    ASSERT_TRUE(bNode);
    tree->Expand(bNode);
    ui::TreeNode cNode = tree->FirstChild(bNode);
    ASSERT_TRUE(cNode);

    // The node edited is renamed even though another node is selected.
    ASSERT_TRUE(EditAndConfirm(bNode, L"renamed b"));
    EXPECT_EQ(tree->Text(bNode), L"renamed b");
    EXPECT_TRUE(FolderExists(PathOf(L"a\\renamed b\\c")));
    EXPECT_FALSE(FolderExists(b));
    EXPECT_EQ(tree->Text(aNode), L"a");
    EXPECT_EQ(tree->Selected(), aNode);
    // The node's identifier follows, and its children stay.
    AbsoluteIDList absolute = tree->NodeIDList(bNode);
    EXPECT_TRUE(SamePath(idlist::IDListDisplayName(absolute.get(), SHGDN_FORPARSING), PathOf(L"a\\renamed b")));
    EXPECT_EQ(tree->FirstChild(bNode), cNode);
    tree->SelectPath(PathOf(L"a\\renamed b\\c"));
    EXPECT_EQ(tree->Selected(), cNode);
}

TEST_F(FolderViewTest, AFailedRenameShowsTheNameTheFolderStillHas)
{
    tree->SelectPath(b);
    ui::TreeNode bNode = tree->Selected();
    ASSERT_TRUE(bNode);
    PCUITEMID_CHILD before = tree->NodeData(bNode);
    testsupport::DialogWatchdog watchdog(IDOK);
    // Wine refuses ':' without a dialog.
    ASSERT_TRUE(EditAndConfirm(bNode, L"bad:name"));
    EXPECT_EQ(tree->Text(bNode), L"b");
    EXPECT_EQ(tree->NodeData(bNode), before);
    EXPECT_TRUE(FolderExists(b));
}

TEST_F(FolderViewTest, ACancelledEditRenamesNothing)
{
    tree->SelectPath(b);
    ui::TreeNode bNode = tree->Selected();
    ASSERT_TRUE(bNode);
    // With Escape.
    tree->SetFocus();
    HWND edit = TreeView_EditLabel(TreeWindow(), bNode);
    ASSERT_TRUE(edit);
    SetWindowTextW(edit, L"other");
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    testsupport::PumpUntilIdle(10, 500);
    EXPECT_EQ(tree->Text(bNode), L"b");
    EXPECT_TRUE(FolderExists(b));
    // Ended by the program while the edit box has the focus: Wine then also
    // reports the typed text as the box loses the focus.
    edit = TreeView_EditLabel(TreeWindow(), bNode);
    ASSERT_TRUE(edit);
    SetWindowTextW(edit, L"other");
    TreeView_EndEditLabelNow(TreeWindow(), TRUE);
    testsupport::PumpUntilIdle(10, 500);
    EXPECT_EQ(tree->Text(bNode), L"b");
    EXPECT_TRUE(FolderExists(b));
    EXPECT_FALSE(FolderExists(PathOf(L"a\\other")));
}

} // namespace
} // namespace fvtest
