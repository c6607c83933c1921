// The main window's way from a right click on a cursor file to an assignment.
#include "app/messages.h"
#include "res/resource.h"
#include "scheme/cursor_scheme.h"
#include "scheme/mouse_registry.h"
#include "res/texts.h"
#include "scheme/text_utils.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/exception.h"
#include "ui/seams.h"
#include "ui/text.h"

#include "tests/support/main_form.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>

namespace {


class CursorAssignment : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string cur = testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur"));
        dir.File(L"piano.ANI", testsupport::ReadBytes(testsupport::CorpusFile(L"webamp/fixtures/piano.ani")));
        dir.File(L"a.cur", cur);
        dir.File(L"b.cur", cur);
        dir.File(L"notes.txt", "text");
        dir.Folder(L"sub");
        // The role menu answers roleChoice; any other menu is the shell's.
        tracker_.emplace(ui::CurrentSeams().trackMenu, [this](HMENU menu, UINT, POINT, HWND) {
            if (form && menu == form->PopupMenuMouse.Handle()) {
                ++roleMenus;
                if (duringRoleMenu)
                    duringRoleMenu();
                return roleChoice;
            }
            ++shellMenus;
            return 0u;
        });
        ASSERT_TRUE(form.Make());
    }
    void TearDown() override
    {
        form.Close();
        tracker_.reset();
        testsupport::PumpUntilIdle();
    }

    void Open(const std::wstring& folder)
    {
        form->OpenCommandLineFolder({folder});
        testsupport::PumpUntilIdle();
    }
    // The item of a file by its name on disk, whatever the caption shows.
    int Item(const std::wstring& name)
    {
        for (int i = 0; i < form->FileView.Count(); ++i)
            if (const std::wstring path = GetItemPath(form->FileView, i); path.substr(path.rfind(L'\\') + 1) == name)
                return i;
        return -1;
    }
    void SelectOnly(std::initializer_list<int> items)
    {
        for (int i = 0; i < form->FileView.Count(); ++i)
            form->FileView.SetSelected(i, false);
        for (int i : items)
            form->FileView.SetSelected(i, true);
    }
    // A click on an item's icon with real mouse messages.
    void Click(int item, UINT down, UINT up, WPARAM keys)
    {
        RECT icon{};
        icon.left = LVIR_ICON;
        SendMessageW(form->FileView.Handle(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon));
        LPARAM at = MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        PostMessageW(form->FileView.Handle(), down, keys, at);
        PostMessageW(form->FileView.Handle(), up, 0, at);
        testsupport::PumpUntilIdle();
    }
    void RightClick(int item) { Click(item, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON); }
    // The parsing paths of the list's items in list order, and of the selected ones.
    std::vector<std::wstring> Paths(bool selectedOnly = false)
    {
        std::vector<std::wstring> paths;
        for (int i = 0; i < form->FileView.Count(); ++i)
            if (!selectedOnly || form->FileView.IsSelected(i))
                paths.push_back(GetItemPath(form->FileView, i));
        return paths;
    }
    // An automatic refill, as a change in the folder asks for one.
    void AutomaticRefill()
    {
        form->RequestRefresh(false);
        testsupport::PumpUntilIdle();
    }

    testsupport::TempDir dir;
    testsupport::MainFormSlot form;
    int roleMenus = 0;
    UINT roleChoice = 0;
    std::function<void()> duringRoleMenu; // runs while the role menu is open
    int shellMenus = 0;

private:
    std::optional<ui::ScopedSeam<ui::TrackMenuFn>> tracker_;
};

// The same with the extensions shown (Wine's default) and hidden (a stock
// Windows system's): captions never decide a file's type or path.
class CursorFiles : public CursorAssignment, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        extensions.emplace(GetParam());
        CursorAssignment::SetUp();
    }
    void TearDown() override
    {
        CursorAssignment::TearDown();
        extensions.reset();
    }
    // The caption the list shows for a file name.
    std::wstring Shown(const std::wstring& name) const
    {
        return GetParam() ? name.substr(0, name.rfind(L'.')) : name;
    }
    std::optional<testsupport::ScopedFileExtensions> extensions;
};
INSTANTIATE_TEST_SUITE_P(Extensions, CursorFiles, ::testing::ValuesIn(testsupport::kExtensionSettings),
                         [](const auto& info) { return testsupport::ExtensionSettingName(info.param); });

TEST_F(CursorAssignment, RoleMenuHoldsTheSeventeenRolesInTableOrder)
{
    ASSERT_EQ(form->PopupMenuMouse.Count(), 17u);
    for (std::size_t i = 0; i < 17; ++i) {
        EXPECT_EQ(form->PopupMenuMouse.Item(i)->Tag(), int(i));
        EXPECT_EQ(form->PopupMenuMouse.Item(i)->Caption(), scheme::MouseRegistry[i].Caption);
        wchar_t text[64] = {};
        GetMenuStringW(form->PopupMenuMouse.Handle(), UINT(i), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, scheme::MouseRegistry[i].Caption);
    }
}

TEST_P(CursorFiles, OneCursorFileGetsTheRoleMenuEverythingElseTheShellMenu)
{
    dir.Folder(L"folder.cur"); // a folder is no cursor file, whatever its name
    Open(dir.Path());
    ASSERT_GE(Item(L"piano.ANI"), 0);
    EXPECT_EQ(form->FileView.ItemText(Item(L"piano.ANI")), Shown(L"piano.ANI"));

    RightClick(Item(L"piano.ANI")); // any letter case
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(shellMenus, 0);

    // After the role menu, the list has its context menu back.
    RightClick(Item(L"notes.txt"));
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(shellMenus, 1);

    RightClick(Item(L"sub"));
    EXPECT_EQ(shellMenus, 2);
    RightClick(Item(L"folder.cur"));
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(shellMenus, 3);

    SelectOnly({Item(L"a.cur"), Item(L"b.cur")});
    RightClick(Item(L"a.cur")); // a selected item: both stay selected
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(shellMenus, 4);

    // Left and middle clicks open neither menu.
    Click(Item(L"piano.ANI"), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
    Click(Item(L"piano.ANI"), WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON);
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(shellMenus, 4);
}

TEST_P(CursorFiles, TheFifthRoleStoresTheLowerCasedPathAndAppliesIt)
{
    testsupport::RemoveTree(L"C:\\Cursors");
    CreateDirectoryW(L"C:\\Cursors", nullptr);
    std::string cur = testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur"));
    HANDLE h = CreateFileW(L"C:\\Cursors\\Busy.CUR", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, cur.data(), DWORD(cur.size()), &written, nullptr);
    CloseHandle(h);

    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Crosshair");

    Open(L"C:\\Cursors");
    int busy = Item(L"Busy.CUR");
    ASSERT_GE(busy, 0);
    EXPECT_EQ(form->FileView.ItemText(busy), Shown(L"Busy.CUR"));
    roleChoice = IDM_ROLE_FIRST + 4;
    RightClick(busy);
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(testsupport::ReadSchemeValue(L"Crosshair"), L"c:\\cursors\\busy.cur");
    ASSERT_EQ(recorder.sets.size(), 1u);
    EXPECT_EQ(recorder.sets[0].id, 32515u);
    testsupport::RemoveTree(L"C:\\Cursors");
}

// The roles of later systems by the menu: each stored and set under its own
// id. A role the system refuses is reloaded with the scheme; when that fails
// too, the user learns it waits for the next sign-in, and nothing else.
TEST_F(CursorAssignment, HandPinAndPersonByTheMenu)
{
    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    testsupport::BoxRecorder boxes;
    Open(dir.Path());
    const std::wstring a = ui::LowerCase(dir / L"a.cur");
    const struct {
        UINT item;
        const wchar_t* value;
        DWORD id;
        bool setAnswer;
        BOOL spiAnswer;
        std::size_t boxes;
    } rows[] = {
        {IDM_ROLE_FIRST + 14, L"Hand", 32649, true, FALSE, 0},
        {IDM_ROLE_FIRST + 15, L"Pin", 32671, false, TRUE, 0},
        {IDM_ROLE_FIRST + 16, L"Person", 32672, false, FALSE, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.value)));
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", row.value);
        recorder.sets.clear();
        recorder.spis.clear();
        recorder.setAnswer = row.setAnswer;
        recorder.spiAnswer = row.spiAnswer;
        roleChoice = row.item;
        RightClick(Item(L"a.cur"));
        EXPECT_EQ(testsupport::ReadSchemeValue(row.value), a);
        ASSERT_EQ(recorder.sets.size(), 1u);
        EXPECT_EQ(recorder.sets[0].id, row.id);
        EXPECT_EQ(recorder.spis.size(), row.setAnswer ? 0u : 1u);
        EXPECT_EQ(boxes.boxes.size(), row.boxes);
    }
    EXPECT_EQ(boxes.boxes.back().text,
              L"「人の選択」のカーソルは保存されましたが、すぐには反映できませんでした。\n"
              L"次回のサインイン時に有効になります。");
    EXPECT_EQ(boxes.boxes.back().type, UINT(MB_OK | MB_ICONINFORMATION));
}

TEST_P(CursorFiles, AFailedAssignmentIsShownAndTheListKeepsItsMenu)
{
    std::vector<std::wstring> shown;
    ui::SetExceptionSink([&](const std::wstring& m) { shown.push_back(m); });
    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    ui::ScopedSeam failing(ui::CurrentSeams().loadCursor,
                           [](const std::wstring&) -> ui::UniqueCursor { throw ui::Exception(L"書き込めません"); });

    Open(dir.Path());
    roleChoice = IDM_ROLE_FIRST;
    RightClick(Item(L"a.cur"));
    ui::SetExceptionSink({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], L"書き込めません");
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_EQ(form->FileView.ContextMenu.get(), &form->ContextMenuEx);
}

TEST_F(CursorAssignment, TheCommandLineOpensOneExistingFolderOnly)
{
    std::wstring root = form->FolderView.SelectedPath();
    for (const std::vector<std::wstring>& args :
         {std::vector<std::wstring>{dir / L"notes.txt"}, {dir / L"missing"}, {dir.Path(), dir / L"sub"},
          {L"/tmp"}, {}}) {
        form->OpenCommandLineFolder(args);
        testsupport::PumpUntilIdle();
        EXPECT_EQ(form->FolderView.SelectedPath(), root);
    }
    form->OpenCommandLineFolder({dir / L"sub"});
    testsupport::PumpUntilIdle();
    EXPECT_EQ(form->FolderView.SelectedPath(), dir / L"sub");
}

TEST_F(CursorAssignment, CaptionIsTheTitleABlankAndTheFolderPath)
{
    std::wstring root = form->FolderView.SelectedPath();
    wchar_t caption[1024] = {};
    GetWindowTextW(form->Handle(), caption, 1024);
    EXPECT_EQ(std::wstring(caption), L"タリモク " + root);
    Open(dir.Path());
    GetWindowTextW(form->Handle(), caption, 1024);
    EXPECT_EQ(std::wstring(caption), L"タリモク " + dir.Path());
}

// The mouse settings start from the system folder by their full path, so a
// planted control.exe beside the program or in the current folder never runs,
// and they show normally.
TEST_F(CursorAssignment, MouseSettingsRunFromTheSystemFolderOncePerClick)
{
    wchar_t system[MAX_PATH + 1]{};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH + 1), 0u);
    const std::wstring program = std::wstring(system) + L"\\control.exe";
    struct Run {
        std::wstring program, arguments;
        int show;
        bool operator==(const Run&) const = default;
    };
    std::vector<Run> runs;
    {
        ui::ScopedSeam run(ui::CurrentSeams().runProgram, [&](const std::wstring& p, const std::wstring& a, int show) {
            runs.push_back({p, a, show});
        });
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_DISPCTRLPNLMOUSE, 0), 0);
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_DISPCTRLPNLMOUSE, 0), 0);
    }
    const Run expected{program, L"main.cpl", SW_SHOWNORMAL};
    EXPECT_EQ(runs, (std::vector<Run>{expected, expected}));
}

// The libraries report what went wrong; the main window tells the user.
TEST_P(CursorFiles, TheMainWindowShowsTheBoxesItsLibrariesOnlyReport)
{
    const std::wstring unloadable = dir.File(L"readme.cur", "This is not a cursor.\r\n");
    struct Row {
        const char* name;
        std::function<void()> act;
        std::wstring text, caption;
        UINT type;
    };
    const Row rows[] = {
        {"a cursor the system cannot load",
         [&] {
             roleChoice = IDM_ROLE_FIRST + 3;
             RightClick(Item(L"readme.cur"));
         },
         scheme::FillPlaceholder(texts::CursorLoadFailed, ui::LowerCase(unloadable)), texts::ErrorCaption,
         UINT(MB_OK | MB_ICONERROR)},
        {"a shell command the shell refused",
         [&] { form->ContextMenuEx.OnCommandFailed(&form->ContextMenuEx, form->FileView.Handle()); },
         texts::InvokeFailedText, texts::InvokeFailedCaption, UINT(MB_OK | MB_ICONINFORMATION)},
    };
    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    Open(dir.Path());
    ASSERT_GE(Item(L"readme.cur"), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::BoxRecorder boxes;
        row.act();
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].owner, form->Handle());
        EXPECT_EQ(boxes.boxes[0].text, row.text);
        EXPECT_EQ(boxes.boxes[0].caption, row.caption);
        EXPECT_EQ(boxes.boxes[0].type, row.type);
    }
    // Nothing of the unloadable file reached the scheme.
    EXPECT_TRUE(recorder.sets.empty());
    EXPECT_NE(testsupport::ReadSchemeValue(L"Wait"), ui::LowerCase(unloadable));
}

// With extensions hidden "arrow.ani" and "arrow.cur" both read "arrow". While
// the menu is open a file arrives, the list refills and the other is selected.
TEST_P(CursorFiles, ARoleGoesToTheClickedFileWhateverTheListSelectsMeanwhile)
{
    dir.File(L"arrow.ani", testsupport::ReadBytes(testsupport::CorpusFile(L"webamp/fixtures/piano.ani")));
    const std::wstring cur = dir.File(L"arrow.cur", testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur")));
    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Arrow");
    Open(dir.Path());
    roleChoice = IDM_ROLE_FIRST; // 標準の選択
    duringRoleMenu = [&] {
        dir.File(L"download.txt", "x");
        AutomaticRefill();
        SelectOnly({Item(L"arrow.ani")});
    };
    SelectOnly({Item(L"arrow.cur")});
    RightClick(Item(L"arrow.cur"));
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ(testsupport::ReadSchemeValue(L"Arrow"), ui::LowerCase(cur));
}

// An automatic refill keeps the selected and focused item by its name, and
// the column order the user chose.
TEST_P(CursorFiles, AnAutomaticRefillKeepsTheSelectedFileAndTheOrder)
{
    dir.File(L"arrow.ani", testsupport::ReadBytes(testsupport::CorpusFile(L"webamp/fixtures/piano.ani")));
    const std::wstring cur = dir.File(L"arrow.cur", std::string(5000, 'c'));
    Open(dir.Path());
    form->FileView.ColumnClick(1); // largest first
    SelectOnly({Item(L"arrow.cur")});
    form->FileView.SetFocused(Item(L"arrow.cur"));

    dir.File(L"zz.txt", ""); // something changes in the folder
    AutomaticRefill();
    ASSERT_GE(Item(L"zz.txt"), 0);
    // Still largest first (the folder's own order puts the folder "sub" first).
    std::vector<long long> sizes;
    for (int i = 0; i < form->FileView.Count(); ++i)
        sizes.push_back(std::wcstoll(form->FileView.ItemText(i, 1).c_str(), nullptr, 10));
    EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend())) << testing::PrintToString(Paths());
    EXPECT_EQ(form->FileView.SortOrder(), shview::SortKey::Size);
    EXPECT_EQ(Paths(true), std::vector<std::wstring>{cur});
    EXPECT_EQ(form->FileView.FocusedItem(), Item(L"arrow.cur"));
}

} // namespace
