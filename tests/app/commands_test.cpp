// The main window's file and folder commands, driven through the message
// loop's accelerators, the pane keys, the menu and the tool bar.
#include "app/messages.h"
#include "app/commands/new_folder_name.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/key_input.h"
#include "tests/support/main_form.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring kBase = texts::NewFolderName;

std::wstring Normal(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    std::transform(path.begin(), path.end(), path.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
    return path;
}

std::wstring TextOf(HWND w)
{
    wchar_t buf[512] = {};
    GetWindowTextW(w, buf, 512);
    return buf;
}

class Commands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form.Created()); }

    HWND List() const { return form->FileView.Handle(); }
    HWND Tree() const { return form->FolderView.Handle(); }
    void Open(const std::wstring& folder) { form.Open(folder); }
    void OpenRoot()
    {
        form->FolderView.Select(form->FolderView.Root());
        testsupport::PumpUntilIdle();
    }
    void Focus(HWND pane)
    {
        SetFocus(pane);
        testsupport::PumpUntilIdle();
    }
    // A key on the control that has the focus, through the loop's accelerators.
    bool Key(UINT vk, bool ctrl = false)
    {
        bool taken = testsupport::PressKey(form->Handle(), form->Accelerators(), GetFocus(), vk, ctrl);
        return taken;
    }
    // A menu item chosen (a menu's WM_COMMAND has no control handle).
    void Menu(UINT id) { SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void ToolButton(UINT id)
    {
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(form->ToolButtons.Handle()));
    }
    int Item(const std::wstring& caption) const
    {
        for (int i = 0; i < form->FileView.Count(); ++i)
            if (form->FileView.ItemText(i) == caption)
                return i;
        return -1;
    }
    void SelectOnly(const std::vector<int>& items)
    {
        for (int i = 0; i < form->FileView.Count(); ++i)
            form->FileView.SetSelected(i, false);
        for (int i : items)
            form->FileView.SetSelected(i, true);
    }
    std::vector<int> Selected() const
    {
        std::vector<int> items;
        for (int i = form->FileView.NextSelected(-1); i >= 0; i = form->FileView.NextSelected(i))
            items.push_back(i);
        return items;
    }
    bool MenuEnabled(UINT id) const
    {
        return (GetMenuState(form->MainMenu(), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
    }
    // The command's menu item and tool button agree; answers the state.
    bool Enabled(UINT id) const
    {
        bool menu = MenuEnabled(id);
        EXPECT_EQ(form->ToolButtons.IsEnabled(id), menu) << "command " << id;
        return menu;
    }
    bool RefreshPosted() const
    {
        MSG msg;
        return PeekMessageW(&msg, form->Handle(), WM_REFRESHVIEWS, WM_REFRESHVIEWS, PM_NOREMOVE) != FALSE;
    }

    testsupport::TempDir dir;
    testsupport::MainForm form{{.foreground = true}};
};

TEST_F(Commands, EnabledStatesFollowTheFocusedPaneAndItsSelection)
{
    dir.File(L"a.txt", "a");
    dir.File(L"b.txt", "b");
    dir.Folder(L"sub");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        bool newFolder, remove, rename, up;
    };
    const Case cases[] = {
        {"tree, desktop root", [&] { OpenRoot(); Focus(Tree()); }, false, false, true, false},
        {"tree, a folder", [&] { Open(dir.Path()); Focus(Tree()); }, true, true, true, true},
        {"list, nothing selected", [&] { Open(dir.Path()); Focus(List()); SelectOnly({}); }, true, false, false, true},
        {"list, one selected", [&] { Open(dir.Path()); Focus(List()); SelectOnly({Item(L"a.txt")}); },
         true, true, true, true},
        {"list, selection taken away",
         [&] { Open(dir.Path()); Focus(List()); SelectOnly({Item(L"a.txt")}); SelectOnly({}); },
         true, false, false, true},
        {"list of the desktop, an item selected", [&] { OpenRoot(); Focus(List()); SelectOnly({0}); },
         false, true, true, false},
        {"back to the tree from an empty list selection",
         [&] { Open(dir.Path()); Focus(List()); SelectOnly({}); Focus(Tree()); }, true, true, true, true},
        {"to the list from the tree", [&] { Open(dir.Path()); Focus(Tree()); Focus(List()); SelectOnly({}); },
         true, false, false, true},
        // The window gives the focus back to the pane that had it.
        {"window focused again", [&] { Open(dir.Path()); Focus(List()); SelectOnly({Item(L"b.txt")}); Focus(Tree());
             Focus(List()); Focus(form->Handle()); },
         true, true, true, true},
    };
    for (const Case& c : cases) {
        c.arrange();
        testsupport::PumpUntilIdle();
        EXPECT_TRUE(GetFocus() == Tree() || GetFocus() == List()) << c.what;
        EXPECT_EQ(Enabled(IDM_NEWFOLDER), c.newFolder) << c.what;
        EXPECT_EQ(Enabled(IDM_DELETE), c.remove) << c.what;
        EXPECT_EQ(Enabled(IDM_RENAME), c.rename) << c.what;
        EXPECT_EQ(form->ToolButtons.IsEnabled(IDM_FOLDERUP), c.up) << c.what;
    }
}

TEST_F(Commands, NewFolderTakesTheFirstFreeNameAndAsksForARefill)
{
    const std::wstring two = commands::NumberedFolderName(2), three = commands::NumberedFolderName(3);
    struct Case {
        const char* what;
        std::vector<std::wstring> folders, files;
        std::wstring expected;
    };
    const Case cases[] = {
        {"empty folder", {}, {}, kBase},
        {"base name taken", {kBase}, {}, two},
        {"base and (2) taken", {kBase, two}, {}, three},
        {"a file of the base name", {}, {kBase}, two},
    };
    // Every case's folder exists before the tree first reads their parent.
    std::vector<std::wstring> folders;
    for (const Case& c : cases) {
        const std::wstring own = L"case" + std::to_wstring(folders.size());
        folders.push_back(dir.Folder(own));
        for (const auto& name : c.folders)
            dir.Folder(own + L"\\" + name);
        for (const auto& name : c.files)
            dir.File(own + L"\\" + name, "x");
    }
    testsupport::BoxRecorder errors;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::wstring folder = folders[i] + L"\\";
        Open(folders[i]);
        ASSERT_FALSE(form->refresh.ListPending()) << c.what;
        Menu(IDM_NEWFOLDER);
        EXPECT_TRUE(FolderExists(folder + c.expected)) << c.what;
        EXPECT_TRUE(form->refresh.ListPending()) << c.what;
        EXPECT_TRUE(RefreshPosted()) << c.what;
        testsupport::PumpUntilIdle();
        // The tool button runs the same command.
        if (c.folders.empty() && c.files.empty()) {
            ToolButton(IDM_NEWFOLDER);
            EXPECT_TRUE(FolderExists(folder + two)) << c.what;
            testsupport::PumpUntilIdle();
        }
    }
    EXPECT_TRUE(errors.boxes.empty());
}

TEST_F(Commands, NewFolderInADriveRootGoesDirectlyUnderTheRoot)
{
    Open(L"C:\\");
    std::wstring expected = commands::NewFolderPath(L"C:\\", [](const std::wstring& p) {
        return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    Menu(IDM_NEWFOLDER);
    EXPECT_TRUE(FolderExists(expected));
    EXPECT_EQ(expected.rfind(L"C:\\" + kBase, 0), 0u);
    RemoveDirectoryW(expected.c_str());
}

TEST_F(Commands, NewFolderThatCannotBeMadeShowsTheErrorAndStillRefreshes)
{
    struct Case {
        const char* what;
        std::function<void(const std::wstring& folder)> spoil;
    };
    std::optional<ui::ScopedSeam<ui::MakeDirectoryFn>> refusal;
    const Case cases[] = {
        // A read-only medium refuses every new directory.
        {"medium refuses", [&](const std::wstring&) {
             refusal.emplace(ui::CurrentSeams().makeDirectory, [](const std::wstring&) {
                 SetLastError(ERROR_WRITE_PROTECT);
                 return false;
             });
         }},
    };
    for (const Case& c : cases) {
        std::wstring folder = dir.Folder(L"target");
        Open(folder);
        testsupport::BoxRecorder recorder;
        const auto& boxes = recorder.boxes;
        c.spoil(folder);
        ASSERT_FALSE(form->refresh.ListPending()) << c.what;
        Menu(IDM_NEWFOLDER);
        refusal.reset();
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].owner, form->Handle()) << c.what;
        EXPECT_EQ(boxes[0].text, L"フォルダが作成できません") << c.what;
        EXPECT_FALSE(FolderExists(folder + L"\\" + kBase)) << c.what;
        EXPECT_TRUE(form->refresh.ListPending()) << c.what;
        EXPECT_TRUE(RefreshPosted()) << c.what;
        testsupport::PumpUntilIdle();
    }
}

TEST_F(Commands, DeleteKeyInTheListDeletesTheSelectedFiles)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> select;
        std::vector<std::wstring> gone;
    };
    const Case cases[] = {
        {"two of three selected", {L"a.txt", L"b.txt"}, {L"a.txt", L"b.txt"}},
        {"nothing selected", {}, {}},
    };
    const std::vector<std::wstring> names{L"a.txt", L"b.txt", L"c.txt"};
    std::vector<std::wstring> folders;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::wstring own = L"case" + std::to_wstring(i);
        folders.push_back(dir.Folder(own));
        for (const auto& name : names)
            dir.File(own + L"\\" + name, "x");
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::wstring folder = folders[i] + L"\\";
        Open(folders[i]);
        Focus(List());
        std::vector<int> items;
        for (const auto& name : c.select)
            items.push_back(Item(name));
        SelectOnly(items);
        form->ListPreviews.FPreviewPaths = {L"marker"};
        testsupport::DialogWatchdog yes(IDYES);
        EXPECT_FALSE(Key(VK_DELETE)) << c.what;
        for (const auto& name : names) {
            bool expectGone = std::find(c.gone.begin(), c.gone.end(), name) != c.gone.end();
            EXPECT_EQ(testsupport::FileExists(folder + name), !expectGone) << c.what << " " << name;
        }
        // The previews follow the refill when there was something to
        // delete, and are left alone when there was not.
        const std::vector<std::wstring> left{c.select.empty() ? L"marker" : folder + L"c.txt"};
        EXPECT_EQ(form->ListPreviews.FPreviewPaths, left) << c.what;
        EXPECT_EQ(yes.Pressed() > 0, !c.select.empty()) << c.what;
        form->ListPreviews.FPreviewPaths.clear();
        testsupport::PumpUntilIdle();
    }
}

TEST_F(Commands, DeleteKeyInTheTreeDeletesTheSelectedFolderThroughTheShell)
{
    struct Case {
        const char* what;
        bool atRoot;
        bool deleted;
    };
    const Case cases[] = {
        {"a folder", false, true},
        {"the desktop root", true, false},
    };
    for (const Case& c : cases) {
        std::wstring doomed = dir.Folder(L"doomed");
        dir.File(L"doomed\\inside.txt", "x");
        if (c.atRoot)
            OpenRoot();
        else
            Open(doomed);
        Focus(Tree());
        form->ListPreviews.FPreviewPaths = {L"marker"};
        testsupport::DialogWatchdog yes(IDYES);
        Key(VK_DELETE);
        EXPECT_TRUE(testsupport::PumpUntil([&] { return FolderExists(doomed) != c.deleted; }, 10000)) << c.what;
        // The refresh after the deletion starts the previews again; a refused one keeps them.
        if (!c.deleted) {
            EXPECT_FALSE(form->ListPreviews.FPreviewPaths.empty()) << c.what;
        }
        EXPECT_EQ(yes.Pressed() > 0, c.deleted) << c.what;
        form->ListPreviews.FPreviewPaths.clear();
        testsupport::PumpUntilIdle();
    }
}

TEST_F(Commands, F2EditsTheFocusedListItemOrTheSelectedNode)
{
    for (const wchar_t* name : {L"f0", L"f1", L"f2", L"f3", L"f4"})
        dir.File(name, "x");
    struct Case {
        const char* what;
        std::vector<int> selected;
        int focused;
        int edited; // -1: no edit starts
    };
    const Case cases[] = {
        {"focused item after the first selected", {1, 3}, 3, 3},
        {"focused item is the first selected", {1, 3}, 1, 1},
        {"focused item not selected", {1, 3}, 4, 4},
        {"nothing selected", {}, 2, -1},
    };
    Open(dir.Path());
    ASSERT_EQ(form->FileView.Count(), 5);
    for (const Case& c : cases) {
        Focus(List());
        SelectOnly(c.selected);
        form->FileView.SetFocused(c.focused);
        bool taken = Key(VK_F2);
        HWND edit = ListView_GetEditControl(List());
        if (c.edited >= 0) {
            EXPECT_TRUE(taken) << c.what;
        }
        if (c.edited < 0) {
            EXPECT_EQ(edit, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(edit, nullptr) << c.what;
        EXPECT_EQ(TextOf(edit), form->FileView.ItemText(c.edited)) << c.what;
        SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        testsupport::PumpUntilIdle();
    }

    // In the tree: the selected node's text.
    for (bool root : {false}) {
        Focus(Tree());
        EXPECT_TRUE(Key(VK_F2));
        HWND edit = TreeView_GetEditControl(Tree());
        ASSERT_NE(edit, nullptr) << "root " << root;
        EXPECT_EQ(TextOf(edit), form->FolderView.Text(form->FolderView.Selected())) << "root " << root;
        TreeView_EndEditLabelNow(Tree(), TRUE);
        testsupport::PumpUntilIdle();
    }
}

TEST_F(Commands, TheCaptionNamesTheFolderInViewAfterATreeRenameAndOnAVirtualFolder)
{
    const std::wstring prefix = texts::CaptionPrefix;
    auto shows = [&] { return Normal(TextOf(form->Handle()).substr(prefix.size())); };
    const std::wstring outer = dir.Folder(L"outer"), inner = dir.Folder(L"outer\\before");
    // The folder in view renamed, then the folder above it.
    for (bool above : {false, true}) {
        Open(inner);
        ui::TreeNode node = form->FolderView.Selected();
        Focus(Tree());
        HWND edit = TreeView_EditLabel(Tree(), above ? form->FolderView.Parent(node) : node);
        ASSERT_TRUE(edit);
        SetWindowTextW(edit, above ? L"outer2" : L"after");
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        testsupport::PumpUntilIdle();
        const std::wstring now = dir / (above ? L"outer2\\before" : L"outer\\after");
        EXPECT_EQ(shows(), Normal(now)) << above;
        MoveFileW(above ? (dir / L"outer2").c_str() : now.c_str(), above ? outer.c_str() : inner.c_str());
    }
    // My Computer shows its name, not its class identifier; the desktop its path.
    idlist::AbsoluteIDList drives;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put());
    form->FolderView.SelectIDList(drives.get());
    testsupport::PumpUntilIdle();
    EXPECT_EQ(TextOf(form->Handle()), prefix + idlist::IDListDisplayName(drives.get(), SHGDN_NORMAL));
    OpenRoot();
    wchar_t desktop[MAX_PATH] = L"";
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(shows(), Normal(desktop));
}

TEST_F(Commands, SelectAllAndInvertGiveTheListTheFocus)
{
    for (const wchar_t* name : {L"f0", L"f1", L"f2", L"f3", L"f4"})
        dir.File(name, "x");
    Open(dir.Path());
    ASSERT_EQ(form->FileView.Count(), 5);
    struct Case {
        const char* what;
        std::vector<int> before;
        std::function<void()> run;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"Ctrl+A", {1}, [&] { EXPECT_TRUE(Key('A', true)); }, {0, 1, 2, 3, 4}},
        {"invert 1 and 3", {1, 3}, [&] { Menu(IDM_REVERSE); }, {0, 2, 4}},
        {"invert nothing", {}, [&] { Menu(IDM_REVERSE); }, {0, 1, 2, 3, 4}},
        {"invert everything", {0, 1, 2, 3, 4}, [&] { Menu(IDM_REVERSE); }, {}},
        {"select all from the menu", {}, [&] { Menu(IDM_SELALL); }, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SelectOnly(c.before);
        Focus(Tree());
        c.run();
        testsupport::PumpUntilIdle();
        EXPECT_EQ(Selected(), c.after) << c.what;
        EXPECT_EQ(GetFocus(), List()) << c.what;
        EXPECT_EQ(Enabled(IDM_DELETE), !c.after.empty()) << c.what;
    }
}

TEST_F(Commands, BackspaceEnterAndFolderUpMoveThroughTheTree)
{
    std::wstring sub = dir.Folder(L"sub");
    dir.File(L"a.txt", "x");
    struct Case {
        const char* what;
        std::wstring open; // empty: the desktop root
        std::wstring select;
        std::function<void()> run;
        std::wstring expected; // empty: the selection stays as it was
    };
    const Case cases[] = {
        {"Backspace goes up", sub, L"", [&] { Key(VK_BACK); }, dir.Path()},
        {"Backspace at the top", L"", L"", [&] { Key(VK_BACK); }, L""},
        {"Enter on a folder opens it", dir.Path(), L"sub", [&] { Key(VK_RETURN); }, sub},
        {"Enter on a file", dir.Path(), L"a.txt", [&] { Key(VK_RETURN); }, L""},
        {"folder up button", sub, L"", [&] { ToolButton(IDM_FOLDERUP); }, dir.Path()},
    };
    for (const Case& c : cases) {
        if (c.open.empty())
            OpenRoot();
        else
            Open(c.open);
        Focus(List());
        if (!c.select.empty())
            SelectOnly({Item(c.select)});
        ui::TreeNode before = form->FolderView.Selected();
        form->ListPreviews.FPreviewPaths = {L"marker"};
        c.run();
        if (c.expected.empty()) {
            EXPECT_EQ(form->FolderView.Selected(), before) << c.what;
            EXPECT_FALSE(form->ListPreviews.FPreviewPaths.empty()) << c.what;
        } else {
            EXPECT_EQ(Normal(form->FolderView.SelectedPath()), Normal(c.expected)) << c.what;
        }
        EXPECT_EQ(form->FBusy.Count(), 0) << c.what;
        form->ListPreviews.FPreviewPaths.clear();
        testsupport::PumpUntilIdle();
    }
}

TEST_F(Commands, F5AsksForBothPanesAfresh)
{
    Open(dir.Path());
    Focus(List());
    ASSERT_FALSE(form->refresh.ListPending() || form->refresh.TreePending());
    EXPECT_TRUE(Key(VK_F5));
    EXPECT_TRUE(form->refresh.ListPending());
    EXPECT_TRUE(form->refresh.TreePending());
    EXPECT_TRUE(RefreshPosted());
    EXPECT_EQ(form->FBusy.Count(), 0);
    testsupport::PumpUntilIdle();
}

} // namespace
