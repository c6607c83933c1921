// What the user does in the file list: header clicks, right clicks, presses,
// double clicks, in-place renames and deletes, against real folders.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/shview/fileview/fileview_fixture.h"

namespace fvtest {
namespace {

using Names = std::vector<std::wstring>;

std::vector<BYTE> Bytes(const ITEMIDLIST* list)
{
    auto* p = reinterpret_cast<const BYTE*>(list);
    return std::vector<BYTE>(p, p + idlist::IDListSize(list));
}

// The items of a packed list, each as its bytes.
std::vector<std::vector<BYTE>> Unpack(PCUIDLIST_RELATIVE packed, int count)
{
    std::vector<std::vector<BYTE>> out;
    for (PCUIDLIST_RELATIVE p = packed; p && int(out.size()) < count; p = idlist::IDListRest(p))
        out.push_back(Bytes(idlist::IDListFirst(p).get()));
    return out;
}

// Whether the trash holds a file that came from a path ending in `tail`.
bool InTrash(const std::wstring& tail)
{
    wchar_t home[MAX_PATH] = L"";
    DWORD n = GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    std::wstring info = home;
    if (info.rfind(L"\\??\\", 0) == 0)
        info.erase(0, 4);
    info += L"\\.local\\share\\Trash\\info\\";
    std::string wanted(tail.begin(), tail.end()); // ASCII here
    wanted += "\n";
    WIN32_FIND_DATAW data;
    ui::UniqueFind find(FindFirstFileW((info + L"*.trashinfo").c_str(), &data));
    if (!find)
        return false;
    bool found = false;
    do
        found = testsupport::ReadBytes(info + data.cFileName).find(wanted) != std::string::npos;
    while (!found && FindNextFileW(find.get(), &data));
    return found;
}

class RecordingMenu : public TContextMenuEx {
public:
    struct Call {
        HWND window;
        IShellFolder* folder;
        POINT screen;
        int count;
        std::vector<std::vector<BYTE>> items;
    };
    std::vector<Call> calls;
    std::vector<std::wstring>* log = nullptr;
    bool ShowItemMenu(HWND window, IShellFolder* folder, POINT screen, int count, PCUIDLIST_RELATIVE items) override
    {
        calls.push_back({window, folder, screen, count, Unpack(items, count)});
        if (log)
            log->push_back(L"menu");
        return false;
    }
};

class RecordingDrag : public TDropSourceEx {
public:
    struct Call {
        HWND window;
        IShellFolder* folder;
        int count;
        std::vector<std::vector<BYTE>> items;
    };
    std::vector<Call> calls;
    void DragItems(HWND window, IShellFolder* folder, int count, PCUIDLIST_RELATIVE items) override
    {
        calls.push_back({window, folder, count, Unpack(items, count)});
    }
};

class FileViewActions : public FileViewTest {
protected:
    std::vector<BYTE> ItemBytes(const std::wstring& caption) { return Bytes(view.ItemIDList(Find(caption))); }
};

TEST_F(FileViewActions, HeaderClicksSortBySizeByTimeAndByTheFoldersOrder)
{
    std::wstring sub = dir.Folder(L"sub");
    dir.File(L"a", "x");
    dir.File(L"b", std::string(3000, 'b'));
    MakeSizedFile(In(L"c"), 50ull << 30);  // 51200001KB: eight digits
    MakeSizedFile(In(L"d"), 200ull << 30); // 209715201KB: nine
    SetWriteTime(sub, 1997, 5, 1);
    SetWriteTime(In(L"a"), 1999, 6, 1);
    SetWriteTime(In(L"b"), 2000, 1, 1);
    SetWriteTime(In(L"c"), 2001, 2, 3);
    SetWriteTime(In(L"d"), 1998, 8, 9);
    Show(Dir());
    ASSERT_EQ(Captions(), (Names{L"sub", L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SizeText(L"d"), L"209715201KB");

    // Through the list's own notification, as a click on the header sends it.
    auto headerClick = [&](int column) {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = view.Handle();
        nm.hdr.idFrom = 0;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        SendMessageW(host, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    };
    headerClick(1);
    EXPECT_EQ(Captions(), (Names{L"d", L"c", L"b", L"a", L"sub"})) << "largest first";
    headerClick(1);
    EXPECT_EQ(Captions(), (Names{L"sub", L"a", L"b", L"c", L"d"})) << "smallest first";
    headerClick(0);
    EXPECT_EQ(Captions(), (Names{L"d", L"c", L"b", L"a", L"sub"})) << "the folder's order reversed";
    EXPECT_EQ(TFileView::SortDirections, (shview::SortDirectionTable{-1, 1, 1, 1}));

    headerClick(3);
    EXPECT_EQ(Captions(), (Names{L"c", L"b", L"a", L"d", L"sub"})) << "newest first, 2000 after 2001";
    headerClick(3);
    EXPECT_EQ(Captions(), (Names{L"sub", L"d", L"a", L"b", L"c"})) << "1999 before 2000";

    headerClick(2);
    for (int i = 1; i < view.Count(); ++i)
        EXPECT_GE(lstrcmpW(view.ItemText(i - 1, 2).c_str(), view.ItemText(i, 2).c_str()), 0) << i;

    // A column the table has no entry for changes nothing; a fill resets all.
    Names before = Captions();
    headerClick(4);
    EXPECT_EQ(Captions(), before);
    view.FillList();
    EXPECT_EQ(TFileView::SortDirections, (shview::SortDirectionTable{1, 1, 1, 1}));
    EXPECT_EQ(Captions(), (Names{L"sub", L"a", L"b", L"c", L"d"}));
}

TEST_F(FileViewActions, RightClickHandsTheSelectionToTheMenuLastSelectedFirst)
{
    for (const wchar_t* name : {L"w", L"x", L"y", L"z"})
        dir.File(name, "x");
    Show(Dir());
    RecordingMenu menu;
    view.ContextMenu = &menu;
    std::vector<std::wstring> log;
    menu.log = &log;
    view.OnMouseUp = [&](ui::Control*, ui::MouseButton b, ui::ShiftState, int, int) {
        if (b == ui::MouseButton::Right)
            log.push_back(L"up");
    };
    SelectOnly({L"x", L"y", L"z"});
    int on = Find(L"y");
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, on);
    ASSERT_EQ(menu.calls.size(), 1u);
    const auto& call = menu.calls[0];
    EXPECT_EQ(call.window, view.Handle());
    EXPECT_EQ(call.folder, view.ShellFolder());
    EXPECT_EQ(call.count, 3);
    EXPECT_EQ(call.items, (std::vector<std::vector<BYTE>>{ItemBytes(L"z"), ItemBytes(L"y"), ItemBytes(L"x")}));
    POINT expected = IconCentre(on);
    ClientToScreen(view.Handle(), &expected);
    EXPECT_EQ(call.screen.x, expected.x);
    EXPECT_EQ(call.screen.y, expected.y);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"up", L"menu"})) << "the mouse-up event comes first";

    // A second right click within the double-click time opens the same
    // menu again, with the same items.
    Click(WM_RBUTTONDBLCLK, WM_RBUTTONUP, on);
    ASSERT_EQ(menu.calls.size(), 2u) << "a right double click opened no menu";
    EXPECT_EQ(menu.calls[1].count, 3);
    EXPECT_EQ(menu.calls[1].items, menu.calls[0].items);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"up", L"menu", L"up", L"menu"}));
    menu.calls.pop_back();

    // A right press on an item outside the selection selects it alone.
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, Find(L"w"));
    ASSERT_EQ(menu.calls.size(), 2u);
    EXPECT_EQ(menu.calls[1].count, 1);
    EXPECT_EQ(menu.calls[1].items, (std::vector<std::vector<BYTE>>{ItemBytes(L"w")}));

    // The handler may unlink the menu for this click.
    view.OnMouseUp = [&](ui::Control*, ui::MouseButton, ui::ShiftState, int, int) { view.ContextMenu = nullptr; };
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, Find(L"w"));
    EXPECT_EQ(menu.calls.size(), 2u);
    view.OnMouseUp = nullptr;
}

TEST_F(FileViewActions, MenuAndDragLinksClearWhenTheirComponentGoes)
{
    dir.File(L"x", "x");
    Show(Dir());
    {
        RecordingMenu menu;
        RecordingDrag drag;
        view.ContextMenu = &menu;
        view.DropSource = &drag;
    }
    EXPECT_FALSE(view.ContextMenu);
    EXPECT_FALSE(view.DropSource);
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, 0); // nothing left to call
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 0);
}

TEST_F(FileViewActions, LeftPressDragsTheSelection)
{
    for (const wchar_t* name : {L"x", L"y"})
        dir.File(name, "x");
    Show(Dir());
    RecordingDrag drag;
    view.DropSource = &drag;
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, Find(L"y"));
    ASSERT_EQ(drag.calls.size(), 1u);
    EXPECT_EQ(drag.calls[0].window, view.Handle());
    EXPECT_EQ(drag.calls[0].folder, view.ShellFolder());
    EXPECT_EQ(drag.calls[0].count, 1);
    EXPECT_EQ(drag.calls[0].items, (std::vector<std::vector<BYTE>>{ItemBytes(L"y")}));
    // A right press drags nothing.
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, Find(L"x"));
    EXPECT_EQ(drag.calls.size(), 1u);
}

TEST_F(FileViewActions, DoubleClickRunsThroughTheShellOnlyWhenAllowed)
{
    dir.File(L"file.txt", "x");
    dir.Folder(L"sub");
    Show(Dir());
    auto doubleClick = [&](const wchar_t* caption) {
        SelectOnly({caption});
        POINT p = IconCentre(Find(caption));
        PostMessageW(view.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageW(view.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        testsupport::PumpUntilIdle();
    };
    int raised = 0;
    view.OnDblClick = [&](ui::Control*) { ++raised; };

    view.FileExecute = false;
    doubleClick(L"file.txt");
    doubleClick(L"sub");
    EXPECT_EQ(raised, 2);
    EXPECT_TRUE(view.executed.empty());
    EXPECT_EQ(Captions(), (Names{L"sub", L"file.txt"})) << "still the same folder";

    // Without a tree, a folder too is opened by the shell.
    view.FileExecute = true;
    doubleClick(L"file.txt");
    doubleClick(L"sub");
    EXPECT_EQ(view.executed, (Names{In(L"file.txt"), In(L"sub")}));
}

TEST_F(FileViewActions, RenameGoesThroughTheShellAndShowsItsName)
{
    dir.File(L"old.txt", "x");
    dir.Folder(L"oldsub");
    Show(Dir());
    PCUITEMID_CHILD before = view.ItemIDList(Find(L"old.txt"));

    Rename(L"old.txt", L"new.txt");
    EXPECT_TRUE(testsupport::FileExists(In(L"new.txt")));
    EXPECT_FALSE(testsupport::FileExists(In(L"old.txt")));
    int i = Find(L"new.txt");
    ASSERT_GE(i, 0) << testing::PrintToString(Captions());
    EXPECT_NE(view.ItemIDList(i), before);
    EXPECT_EQ(view.ItemPath(i), In(L"new.txt"));

    Rename(L"oldsub", L"newsub");
    EXPECT_NE(GetFileAttributesW(In(L"newsub").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(view.ItemPath(Find(L"newsub")), In(L"newsub"));
    EXPECT_EQ(view.ItemRecordCount(), 2u);
}

TEST_F(FileViewActions, RenameRefusedByTheShellPutsItsNameBack)
{
    dir.File(L"keep.txt", "x");
    dir.File(L"taken.txt", "x");
    Show(Dir());
    Rename(L"keep.txt", L"bad?name.txt");
    EXPECT_EQ(Captions(), (Names{L"keep.txt", L"taken.txt"}));
    EXPECT_EQ(view.ItemPath(Find(L"keep.txt")), In(L"keep.txt"));

    Rename(L"keep.txt", L"taken.txt"); // a clash
    EXPECT_EQ(Captions(), (Names{L"keep.txt", L"taken.txt"}));
    EXPECT_TRUE(testsupport::FileExists(In(L"keep.txt")));
}

TEST_F(FileViewActions, DeleteWithAVirtualItemSelectedOnlyBeeps)
{
    idlist::AbsoluteIDList desktop = idlist::IDListAlloc<ITEMIDLIST_ABSOLUTE>(2);
    view.SetFolder(desktop.get());
    int count = view.Count();
    int computer = -1;
    for (int i = 0; i < count; ++i) {
        std::wstring path = view.ItemPath(i);
        if (path.size() > 2 && path[0] == L':' && path[1] == L':') // no file-system path
            computer = i;
    }
    ASSERT_GE(computer, 0);
    for (int i = 0; i < count; ++i)
        view.SetSelected(i, false);
    view.SetSelected(computer, true);
    testsupport::DialogWatchdog watchdog(IDNO);
    view.DeleteSelectedFiles();
    EXPECT_EQ(view.beeps, 1);
    EXPECT_EQ(watchdog.Pressed(), 0);
    EXPECT_EQ(view.Count(), count);

    view.SetSelected(computer, false);
    view.DeleteSelectedFiles(); // nothing selected: nothing at all
    EXPECT_EQ(view.beeps, 1);
}

TEST_F(FileViewActions, DeleteSendsTheFilesToTheTrashAndRefills)
{
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"})
        dir.File(name, "x");
    Show(Dir());
    SelectOnly({L"b.txt", L"c.txt"});
    {
        testsupport::DialogWatchdog watchdog(IDNO);
        view.DeleteSelectedFiles();
        EXPECT_GE(watchdog.Pressed(), 1);
    }
    EXPECT_TRUE(testsupport::FileExists(In(L"b.txt"))) << "answered no";
    EXPECT_EQ(view.Count(), 4);
    {
        testsupport::DialogWatchdog watchdog(IDYES);
        view.DeleteSelectedFiles();
        EXPECT_GE(watchdog.Pressed(), 1);
    }
    EXPECT_FALSE(testsupport::FileExists(In(L"b.txt")));
    EXPECT_FALSE(testsupport::FileExists(In(L"c.txt")));
    // Wine's recycle bin is the freedesktop trash of the home folder: each
    // file there has a note with the path it came from.
    std::wstring leaf = Dir().substr(Dir().find_last_of(L'\\') + 1);
    EXPECT_TRUE(InTrash(leaf + L"/b.txt"));
    EXPECT_TRUE(InTrash(leaf + L"/c.txt"));
    EXPECT_EQ(Captions(), (Names{L"a.txt", L"d.txt"}));
    // The item now where the first deleted one was is selected.
    EXPECT_EQ(view.NextSelected(-1), 1);
    EXPECT_EQ(view.SelectedCount(), 1);
    EXPECT_EQ(view.beeps, 0);
}

} // namespace
} // namespace fvtest

namespace fvtest {
namespace {

// What the list tells of its items: a fill that reads its folder replaces
// them (told before they go and after the new ones are in), a column click
// reorders them, and whatever leaves them alone tells nothing.
TEST_F(FileViewActions, TheListTellsWhenItsItemsAreReplacedOrReordered)
{
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        dir.File(name, "x");
    Show(Dir());
    std::vector<std::string> told;
    int countWhenReplacing = -1;
    view.OnItemsReplacing = [&](ui::Component*) {
        told.push_back("replacing");
        countWhenReplacing = view.Count();
    };
    view.OnItemsReplaced = [&](ui::Component*) { told.push_back("replaced " + std::to_string(view.Count())); };
    view.OnItemsReordered = [&](ui::Component*) { told.push_back("reordered"); };
    const struct Row {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> told;
    } rows[] = {
        {"a refill", [&] { view.FillList(); }, {"replacing", "replaced 3"}},
        {"a column click", [&] { view.ColumnClick(1); }, {"reordered"}},
        {"a delete answered no",
         [&] {
             SelectOnly({L"b.txt"});
             testsupport::DialogWatchdog no(IDNO);
             view.DeleteSelectedFiles();
         },
         {}},
        {"a delete answered yes",
         [&] {
             SelectOnly({L"b.txt"});
             testsupport::DialogWatchdog yes(IDYES);
             view.DeleteSelectedFiles();
         },
         {"replacing", "replaced 2"}},
        {"a folder that cannot be read",
         [&] {
             idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
             ShowThrough(id.get(), nullptr, E_FAIL);
         },
         {}},
    };
    for (const Row& row : rows) {
        told.clear();
        countWhenReplacing = -1;
        row.act();
        EXPECT_EQ(told, row.told) << row.what;
        if (!row.told.empty() && row.told[0] == "replacing") {
            EXPECT_GT(countWhenReplacing, 0) << row.what << ": told after the items went";
        }
    }
}

} // namespace
} // namespace fvtest
