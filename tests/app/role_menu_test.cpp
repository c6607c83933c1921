// The role menu as the scheme stands: each role's picture, the check marks on
// the roles the clicked file already holds, the sub-menu that gives roles
// back to the system, and the menu opened and worked from the keyboard.
#include "app/ufrmMain.h"
#include "res/resource.h"
#include "res/texts.h"
#include "scheme/mouse_registry.h"
#include "scheme/text_utils.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/key_input.h"
#include "tests/support/main_form.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/exception.h"
#include "ui/seams.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace {

constexpr wchar_t kSchemeKey[] = L"Control Panel\\Cursors";

void SetRole(std::size_t role, const std::wstring& value, DWORD type = REG_SZ)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kSchemeKey, scheme::MouseRegistry[role].ValueName, type, value.c_str(),
                    DWORD((value.size() + 1) * sizeof(wchar_t)));
}

void ClearRoles()
{
    for (const auto& row : scheme::MouseRegistry)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kSchemeKey, row.ValueName);
}

std::wstring Upper(std::wstring text)
{
    CharUpperBuffW(text.data(), DWORD(text.size()));
    return text;
}

// The colours of a 32-bit DIB section, rows from the top, alpha dropped: over
// black a premultiplied picture shows exactly these.
std::vector<uint32_t> BitmapColours(HBITMAP bitmap, int& side)
{
    DIBSECTION dib{};
    side = 0;
    if (!bitmap || GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32 ||
        dib.dsBm.bmWidth != std::abs(dib.dsBmih.biHeight))
        return {};
    side = dib.dsBm.bmWidth;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    std::vector<uint32_t> colours(std::size_t(side * side));
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, UINT(side), colours.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != side)
        return {};
    for (uint32_t& c : colours)
        c &= 0x00FFFFFF;
    return colours;
}

// A cursor as the system itself draws it over black, `side` pixels square.
std::vector<uint32_t> SystemDrawing(HCURSOR cursor, int side)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, cursor, side, side, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<uint32_t> colours(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + side * side);
    for (uint32_t& c : colours)
        c &= 0x00FFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colours;
}

std::vector<uint32_t> FileDrawing(const std::wstring& path, int side)
{
    // Loaded at its own size, scaled as it is drawn.
    auto cursor = static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    std::vector<uint32_t> colours = SystemDrawing(cursor, side);
    DestroyCursor(cursor);
    return colours;
}

// Mean difference per colour channel, 0 .. 255.
double Distance(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    if (a.size() != b.size() || a.empty())
        return 255;
    long long sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16})
            sum += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    return double(sum) / double(3 * a.size());
}

class RoleMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRoles();
        std::string cur = testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur"));
        clicked = dir.File(L"Clicked.cur", cur);
        other = dir.File(L"other.cur", cur);
        text = dir.File(L"notes.txt", "text");
        dir.Folder(L"folder.cur");
        // The role menu is looked at while it is open, then answers `choose`;
        // any other menu is the shell's.
        tracker_.emplace(ui::CurrentSeams().trackMenu, [this](HMENU menu, UINT, POINT, HWND) -> UINT {
            if (!form || menu != (*form)->PopupMenuMouse.Handle()) {
                ++shellMenus;
                return 0;
            }
            ++roleMenus;
            if (onRoleMenu)
                onRoleMenu();
            return choose ? choose() : 0;
        });
        form.emplace();
        ASSERT_TRUE(form->Created());
        form->Open(dir.Path());
    }
    void TearDown() override
    {
        form.reset();
        tracker_.reset();
        ClearRoles();
    }

    // The item of a file of the folder, by its name on disk.
    int Item(const std::wstring& path)
    {
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        for (int i = 0; i < (*form)->FileView.Count(); ++i)
            if (const std::wstring p = GetItemPath((*form)->FileView, i); p.substr(p.rfind(L'\\') + 1) == name)
                return i;
        return -1;
    }
    void SelectOnly(std::initializer_list<int> items)
    {
        auto& list = (*form)->FileView;
        for (int i = 0; i < list.Count(); ++i)
            list.SetSelected(i, false);
        for (int i : items)
            list.SetSelected(i, true);
        if (items.size())
            list.SetFocused(*items.begin());
    }
    // A right click on an item's icon with real mouse messages.
    void RightClick(int item)
    {
        HWND list = (*form)->FileView.Handle();
        RECT icon{LVIR_ICON};
        SendMessageW(list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon));
        LPARAM at = MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageW(list, WM_RBUTTONUP, 0, at);
        testsupport::PumpUntilIdle();
    }
    // Shift+F10 on the list, as the system delivers it.
    void ShiftF10()
    {
        HWND list = (*form)->FileView.Handle();
        SetFocus(list);
        testsupport::HeldModifiers shift(false, true);
        SendMessageW(list, WM_SYSKEYDOWN, VK_F10, LPARAM(1 | (MapVirtualKeyW(VK_F10, MAPVK_VK_TO_VSC) << 16)));
        testsupport::PumpUntilIdle();
    }
    ui::PopupMenu& Menu() { return (*form)->PopupMenuMouse; }
    // The id that chooses role `role` in the restore sub-menu; 0 when it is not there.
    UINT RestoreId(int role)
    {
        ui::PopupMenu* restore = (*form)->RoleMenu.RestoreMenu();
        for (std::size_t i = 0; restore && i < restore->Count(); ++i)
            if (restore->Item(i)->Tag() == role)
                return restore->Item(i)->Id();
        return 0;
    }

    testsupport::TempDir dir;
    std::wstring clicked, other, text;
    std::optional<testsupport::MainForm> form;
    int roleMenus = 0, shellMenus = 0;
    std::function<void()> onRoleMenu;
    std::function<UINT()> choose;

private:
    std::optional<ui::ScopedSeam<ui::TrackMenuFn>> tracker_;
};

TEST_F(RoleMenuTest, EachRoleShowsThePictureOfTheCursorItHasNow)
{
    // Roles set to corpus files (one through an environment string, one to
    // a file no reader takes), the others empty.
    SetEnvironmentVariableW(L"TK_ROLE_CORPUS", testsupport::CorpusDir().c_str());
    const std::vector<std::pair<std::size_t, std::wstring>> files = {
        {0, testsupport::CorpusFile(L"capitaine/master/normal-select.cur")},
        {2, testsupport::CorpusFile(L"capitaine/master/busy.ani")},
        {3, testsupport::CorpusFile(L"catppuccin/catppuccin-mocha-dark-cursors/wait.ani")},
        {5, testsupport::CorpusFile(L"capitaine/master/text-select.cur")},
        {7, testsupport::CorpusFile(L"capitaine/master/unavailable.cur")},
        {12, testsupport::CorpusFile(L"capitaine/master/move.cur")},
    };
    for (const auto& [role, path] : files)
        SetRole(role, path);
    SetRole(7, L"%TK_ROLE_CORPUS%\\capitaine\\master\\unavailable.cur", REG_EXPAND_SZ);
    SetRole(9, text); // not a cursor: the system's own shows

    std::vector<std::vector<uint32_t>> shown(scheme::MouseRoleCount);
    int side = 0;
    onRoleMenu = [&] {
        for (std::size_t role = 0; role < scheme::MouseRoleCount; ++role) {
            MENUITEMINFOW info{sizeof info, MIIM_BITMAP};
            GetMenuItemInfoW(Menu().Handle(), IDM_ROLE_FIRST + UINT(role), FALSE, &info);
            shown[role] = BitmapColours(info.hbmpItem, side);
        }
    };
    RightClick(Item(clicked));
    ASSERT_EQ(roleMenus, 1);
    EXPECT_EQ(side, GetSystemMetrics(SM_CXSMICON));

    std::vector<std::vector<uint32_t>> drawn;
    for (const auto& [role, path] : files)
        drawn.push_back(FileDrawing(path, side));
    // Every role shows something.
    for (std::size_t role = 0; role < scheme::MouseRoleCount; ++role) {
        EXPECT_NE(std::count(shown[role].begin(), shown[role].end(), 0u), std::ptrdiff_t(side * side)) << role;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].second);
        const std::vector<uint32_t>& picture = shown[files[i].first];
        // Its own file's first frame, and no other file's.
        EXPECT_LT(Distance(picture, drawn[i]), 1.0);
        for (std::size_t j = 0; j < files.size(); ++j) {
            if (j != i) {
                EXPECT_GT(Distance(picture, drawn[j]), 10.0) << files[j].second;
            }
        }
    }
    for (std::size_t role : {1u, 4u, 9u, 13u}) {
        SCOPED_TRACE(scheme::MouseRegistry[role].ValueName);
        auto cursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(scheme::MouseRegistry[role].CursorId),
                                                      IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
        EXPECT_LT(Distance(shown[role], SystemDrawing(cursor, side)), 1.0);
    }

    // A second opening makes no picture again; a file rewritten since (a
    // later write time) is read anew.
    const int made = (*form)->RoleMenu.PicturesMade();
    RightClick(Item(clicked));
    EXPECT_EQ((*form)->RoleMenu.PicturesMade(), made);
    const std::wstring own = dir.File(L"own.cur", testsupport::ReadBytes(files[0].second));
    SetRole(0, own);
    RightClick(Item(clicked));
    EXPECT_EQ((*form)->RoleMenu.PicturesMade(), made + 1);
    EXPECT_LT(Distance(shown[0], drawn[0]), 1.0);
    dir.File(L"own.cur", testsupport::ReadBytes(files[5].second));
    HANDLE file = CreateFileW(own.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG minuteOn = ((ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime) + 600000000ull;
    const FILETIME later{DWORD(minuteOn), DWORD(minuteOn >> 32)};
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    RightClick(Item(clicked));
    EXPECT_EQ((*form)->RoleMenu.PicturesMade(), made + 2);
    EXPECT_LT(Distance(shown[0], drawn[5]), 1.0);
}

TEST_F(RoleMenuTest, CheckMarksAndRestoreItemsFollowTheScheme)
{
    SetEnvironmentVariableW(L"TK_ROLE_DIR", dir.Path().c_str());
    struct Row {
        std::size_t role;
        std::wstring value;
        DWORD type;
        bool checked;
    };
    const Row rows[] = {
        {0, clicked, REG_SZ, true},
        {1, Upper(clicked), REG_SZ, true},                // letter case does not count
        {4, L"%TK_ROLE_DIR%\\clicked.cur", REG_EXPAND_SZ, true}, // nor environment strings
        {6, other, REG_SZ, false},
        {8, dir / L"missing.cur", REG_SZ, false},
        {11, L"", REG_SZ, false}, // empty: the system's own, nothing to restore
    };
    for (const Row& row : rows)
        SetRole(row.role, row.value, row.type);

    std::set<std::size_t> checked;
    std::vector<std::pair<int, std::wstring>> restorable;
    bool restoreEnabled = false;
    onRoleMenu = [&] {
        for (std::size_t role = 0; role < scheme::MouseRoleCount; ++role)
            if (GetMenuState(Menu().Handle(), IDM_ROLE_FIRST + UINT(role), MF_BYCOMMAND) & MF_CHECKED)
                checked.insert(role);
        HMENU sub = GetSubMenu(Menu().Handle(), int(scheme::MouseRoleCount) + 1);
        for (int i = 0; sub && i < GetMenuItemCount(sub); ++i) {
            wchar_t caption[64] = {};
            GetMenuStringW(sub, UINT(i), caption, 64, MF_BYPOSITION);
            restorable.emplace_back(int(GetMenuItemID(sub, i)) - IDM_ROLE_DEFAULT_FIRST, caption);
        }
        restoreEnabled = !(GetMenuState(Menu().Handle(), UINT(scheme::MouseRoleCount) + 1, MF_BYPOSITION) & MF_GRAYED);
    };
    RightClick(Item(clicked));
    ASSERT_EQ(roleMenus, 1);

    std::set<std::size_t> expectChecked;
    std::vector<std::pair<int, std::wstring>> expectRestorable;
    for (const Row& row : rows) {
        if (row.checked)
            expectChecked.insert(row.role);
        if (!row.value.empty())
            expectRestorable.emplace_back(int(expectRestorable.size()), scheme::MouseRegistry[row.role].Caption);
    }
    EXPECT_EQ(checked, expectChecked);
    EXPECT_EQ(restorable, expectRestorable);
    EXPECT_TRUE(restoreEnabled);
    wchar_t caption[64] = {};
    GetMenuStringW(Menu().Handle(), UINT(scheme::MouseRoleCount) + 1, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, texts::RoleRestoreDefault);
    EXPECT_EQ(GetMenuState(Menu().Handle(), UINT(scheme::MouseRoleCount), MF_BYPOSITION) & MF_SEPARATOR,
              UINT(MF_SEPARATOR));

    // On another file nothing is checked; with every value empty there is
    // nothing to restore.
    checked.clear();
    RightClick(Item(other));
    EXPECT_EQ(checked, std::set<std::size_t>{6});
    ClearRoles();
    checked.clear();
    restorable.clear();
    RightClick(Item(clicked));
    EXPECT_TRUE(checked.empty());
    EXPECT_TRUE(restorable.empty());
    EXPECT_FALSE(restoreEnabled);
}

TEST_F(RoleMenuTest, RestoringARoleEmptiesItAndReloadsTheCursors)
{
    struct Row {
        const char* name;
        bool readOnly;
    };
    for (const Row& row : {Row{"writable scheme", false}, Row{"read-only scheme", true}}) {
        SCOPED_TRACE(row.name);
        SetRole(3, other);
        testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
        std::vector<std::wstring> shown;
        ui::SetExceptionSink([&](const std::wstring& m) { shown.push_back(m); });
        choose = [&] { return RestoreId(3); };
        {
            std::optional<schemetest::ReadOnlyKey> locked;
            if (row.readOnly) {
                locked.emplace(HKEY_CURRENT_USER, kSchemeKey);
                ASSERT_TRUE(locked->Applied());
            }
            RightClick(Item(clicked));
        }
        ui::SetExceptionSink({});
        if (row.readOnly) {
            EXPECT_EQ(shown, std::vector<std::wstring>{texts::RegCreateKeyFailed});
            EXPECT_EQ(testsupport::ReadSchemeValue(L"Wait"), other);
            EXPECT_TRUE(recorder.spis.empty());
        } else {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(testsupport::ReadSchemeValue(L"Wait"), L"");
            ASSERT_EQ(recorder.spis.size(), 1u);
            EXPECT_EQ(recorder.spis[0].action, UINT(SPI_SETCURSORS));
            EXPECT_EQ(recorder.spis[0].winIni, UINT(SPIF_SENDWININICHANGE));
        }
        EXPECT_TRUE(recorder.sets.empty());
        EXPECT_EQ((*form)->FileView.ContextMenu.get(), &(*form)->ContextMenuEx);
    }
}

TEST_F(RoleMenuTest, AFileDeletedSinceTheListShowedItIsReportedAndNothingChanges)
{
    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    testsupport::BoxRecorder boxes;
    SetRole(3, other);
    const int item = Item(clicked);
    onRoleMenu = [&] { DeleteFileW(clicked.c_str()); };
    choose = [] { return UINT(IDM_ROLE_FIRST + 3); };
    RightClick(item);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, scheme::FillPlaceholder(texts::CursorLoadFailed, ui::LowerCase(clicked)));
    EXPECT_EQ(boxes.boxes[0].caption, texts::ErrorCaption);
    EXPECT_EQ(testsupport::ReadSchemeValue(L"Wait"), other);
    EXPECT_TRUE(recorder.loads.empty());
    EXPECT_TRUE(recorder.sets.empty());
}

TEST_F(RoleMenuTest, ShiftF10OpensTheMenuARightClickWouldOpen)
{
    struct Row {
        const char* name;
        std::vector<std::wstring> selected;
        int roleMenus, shellMenus;
    };
    const Row rows[] = {
        {"one cursor file", {clicked}, 1, 0},
        {"a text file", {text}, 0, 1},
        {"a folder named like a cursor", {dir / L"folder.cur"}, 0, 1},
        {"two cursor files", {clicked, other}, 0, 1},
        {"nothing selected", {}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        roleMenus = shellMenus = 0;
        auto& list = (*form)->FileView;
        for (int i = 0; i < list.Count(); ++i)
            list.SetSelected(i, false);
        for (const std::wstring& path : row.selected) {
            ASSERT_GE(Item(path), 0);
            list.SetSelected(Item(path), true);
            list.SetFocused(Item(path));
        }
        ShiftF10();
        EXPECT_EQ(roleMenus, row.roleMenus);
        EXPECT_EQ(shellMenus, row.shellMenus);
        EXPECT_EQ(list.ContextMenu.get(), &(*form)->ContextMenuEx);
    }
}

// The real menu, worked with the keys: the arrows and Enter choose a role,
// Esc closes it with nothing assigned.
TEST(RoleMenuKeys, ArrowsAndEnterChooseEscapeCloses)
{
    ClearRoles();
    testsupport::TempDir dir;
    dir.File(L"pick.cur", testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur")));
    struct Row {
        const char* name;
        std::vector<UINT> keys;
        bool assigns;
    };
    const Row rows[] = {
        {"five downs and Enter: the fifth role", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, true},
        {"Escape", {VK_DOWN, VK_ESCAPE}, false},
    };
    testsupport::MainForm form;
    ASSERT_TRUE(form.Created());
    form.Open(dir.Path());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearRoles();
        testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
        int item = -1;
        for (int i = 0; i < form->FileView.Count(); ++i)
            if (GetItemPath(form->FileView, i).ends_with(L"\\pick.cur"))
                item = i;
        ASSERT_GE(item, 0);
        form->FileView.SetSelected(item, true);
        form->FileView.SetFocused(item);
        SetFocus(form->FileView.Handle());
        bool sawMenu = false;
        testsupport::MenuCloser keys(200, [&] {
            HWND menu = testsupport::FindMenuWindow();
            sawMenu = menu != nullptr;
            for (UINT key : row.keys)
                PostMessageW(menu, WM_KEYDOWN, key, 0);
            if (!menu)
                EndMenu();
        });
        {
            testsupport::HeldModifiers shift(false, true);
            SendMessageW(form->FileView.Handle(), WM_SYSKEYDOWN, VK_F10, 1);
        }
        testsupport::PumpUntilIdle();
        EXPECT_TRUE(sawMenu);
        EXPECT_EQ(testsupport::ReadSchemeValue(L"Crosshair"),
                  row.assigns ? ui::LowerCase(GetItemPath(form->FileView, item)) : L"");
        EXPECT_EQ(recorder.sets.size(), row.assigns ? 1u : 0u);
    }
    ClearRoles();
}

} // namespace
