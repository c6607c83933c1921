// The role menu as the scheme stands: each role's picture, the check marks on
// the roles the clicked file already holds, the sub-menu that gives roles
// back to the system, and the menu opened from the keyboard.
#include "app/ufrmMain.h"
#include "res/resource.h"
#include "res/texts.h"
#include "scheme/mouse_registry.h"
#include "scheme/text_utils.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/cut_cursors.h"
#include "tests/support/key_input.h"
#include "tests/support/main_form.h"
#include "tests/support/pump_until.h"
#include "tests/support/seam_recorders.h"
#include "ui/exception.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>

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

using Pixels = std::vector<uint32_t>;

// The colours of a 32-bit bitmap, rows from the top, alpha dropped: a
// premultiplied picture over black.
Pixels Colours(HBITMAP bitmap, int side)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    Pixels colours(std::size_t(side * side));
    HDC dc = GetDC(nullptr);
    if (GetDIBits(dc, bitmap, 0, UINT(side), colours.data(), &info, DIB_RGB_COLORS) != side)
        colours.clear();
    ReleaseDC(nullptr, dc);
    for (uint32_t& c : colours)
        c &= 0x00FFFFFF;
    return colours;
}

// A cursor as the system draws it over black, scaled to `side`.
Pixels Drawn(HCURSOR cursor, int side)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, cursor, side, side, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    Pixels colours = Colours(bitmap, side);
    DeleteObject(bitmap);
    return colours;
}

// Mean difference per colour channel, 0 .. 255.
double Distance(const Pixels& a, const Pixels& b)
{
    if (a.size() != b.size() || a.empty())
        return 255;
    long long sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16})
            sum += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    return double(sum) / double(3 * a.size());
}

// A cursor file as the system draws it over black, scaled to `side`.
Pixels FileDrawn(const std::wstring& path, int side)
{
    auto cursor = static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    Pixels pixels = Drawn(cursor, side);
    DestroyCursor(cursor);
    return pixels;
}

// The system's own cursor of role `role` as it draws it over black.
Pixels SystemDrawn(std::size_t role, int side)
{
    return Drawn(static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(scheme::MouseRegistry[role].CursorId),
                                                 IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE)),
                 side);
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
            if (!form || menu != Menu()) {
                ++shellMenus;
                return 0;
            }
            ++roleMenus;
            if (onRoleMenu)
                onRoleMenu();
            return choose;
        });
        form.emplace();
        ASSERT_TRUE(form->Created());
        // Every file's picture is in the menu by the time it shows, however
        // slowly this machine reads: pictures that come later have a test
        // of their own.
        (*form)->roleMenu.pictureWaitMs = 10000;
        form->Open(dir.Path());
    }
    void TearDown() override
    {
        form.reset();
        tracker_.reset();
        ClearRoles();
    }

    HMENU Menu() const { return (*form)->PopupMenuMouse.Handle(); }
    TFileView& List() const { return (*form)->FileView; }
    // The item of a file of the folder, by its name on disk.
    int Item(const std::wstring& path) const
    {
        auto name = [](const std::wstring& p) { return p.substr(p.rfind(L'\\') + 1); };
        for (int i = 0; i < List().Count(); ++i)
            if (name(GetItemPath(List(), i)) == name(path))
                return i;
        return -1;
    }
    // A right click on an item's icon with real mouse messages.
    void RightClick(const std::wstring& path)
    {
        RECT icon{LVIR_ICON};
        SendMessageW(List().Handle(), LVM_GETITEMRECT, Item(path), reinterpret_cast<LPARAM>(&icon));
        LPARAM at = MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        PostMessageW(List().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageW(List().Handle(), WM_RBUTTONUP, 0, at);
        testsupport::PumpUntilIdle();
    }

    testsupport::TempDir dir;
    std::wstring clicked, other, text;
    std::optional<testsupport::MainForm> form;
    int roleMenus = 0, shellMenus = 0;
    std::function<void()> onRoleMenu;
    UINT choose = 0;

private:
    std::optional<ui::ScopedSeam<ui::TrackMenuFn>> tracker_;
};

TEST_F(RoleMenuTest, PicturesAreMadeWhileTheWindowIsIdle)
{
    testsupport::PumpUntilIdle();
    const int made = (*form)->roleMenu.PicturesMade();
    EXPECT_EQ(made, int(scheme::kMouseRoleCount)); // each role's system cursor
    RightClick(clicked);
    EXPECT_EQ(roleMenus, 1);
    EXPECT_EQ((*form)->roleMenu.PicturesMade(), made);
}

TEST_F(RoleMenuTest, EachRoleShowsTheFirstFrameOfItsCursorOrTheSystemsOwn)
{
    SetEnvironmentVariableW(L"TK_ROLE_CORPUS", testsupport::CorpusDir().c_str());
    const std::pair<std::size_t, std::wstring> files[] = {
        {0, testsupport::CorpusFile(L"capitaine/master/normal-select.cur")},
        {2, testsupport::CorpusFile(L"capitaine/master/busy.ani")},
        {3, testsupport::CorpusFile(L"catppuccin/catppuccin-mocha-dark-cursors/wait.ani")},
        {5, testsupport::CorpusFile(L"capitaine/master/text-select.cur")},
        {12, testsupport::CorpusFile(L"capitaine/master/move.cur")},
    };
    for (const auto& [role, path] : files)
        SetRole(role, path);
    SetRole(7, L"%TK_ROLE_CORPUS%\\capitaine\\master\\unavailable.cur", REG_EXPAND_SZ);
    SetRole(9, text); // no cursor: the system's own shows

    const int side = GetSystemMetrics(SM_CXSMICON);
    std::vector<Pixels> shown(scheme::kMouseRoleCount);
    onRoleMenu = [&] {
        for (std::size_t role = 0; role < scheme::kMouseRoleCount; ++role) {
            MENUITEMINFOW info{sizeof info, MIIM_BITMAP};
            GetMenuItemInfoW(Menu(), IDM_ROLE_FIRST + UINT(role), FALSE, &info);
            BITMAP bm{};
            GetObjectW(info.hbmpItem, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, side);
            EXPECT_EQ(bm.bmBitsPixel, 32);
            shown[role] = Colours(info.hbmpItem, side);
        }
    };
    RightClick(clicked);
    ASSERT_EQ(roleMenus, 1);

    std::vector<Pixels> drawn;
    for (const auto& [role, path] : files)
        drawn.push_back(FileDrawn(path, side));
    drawn.push_back(FileDrawn(testsupport::CorpusFile(L"capitaine/master/unavailable.cur"), side));
    // Each file role shows its own file's first frame, and no other's.
    const std::size_t fileRoles[] = {0, 2, 3, 5, 12, 7};
    for (std::size_t i = 0; i < std::size(fileRoles); ++i) {
        for (std::size_t j = 0; j < drawn.size(); ++j) {
            if (i == j) {
                EXPECT_LT(Distance(shown[fileRoles[i]], drawn[j]), 1.0) << "role " << fileRoles[i];
            } else {
                EXPECT_GT(Distance(shown[fileRoles[i]], drawn[j]), 10.0) << "role " << fileRoles[i] << " " << j;
            }
        }
    }
    // Empty and unreadable values show the system's cursor of that role.
    for (std::size_t role : {1u, 4u, 6u, 9u, 13u}) {
        EXPECT_LT(Distance(shown[role], SystemDrawn(role, side)), 1.0) << role;
        EXPECT_NE(std::count(shown[role].begin(), shown[role].end(), 0u), side * side) << role;
    }

    // Opened again, no picture is made again, until a role's file is
    // rewritten (a later write time).
    const int made = (*form)->roleMenu.PicturesMade();
    const std::wstring own = dir.File(L"own.cur", testsupport::ReadBytes(files[0].second));
    SetRole(0, own);
    RightClick(clicked);
    EXPECT_EQ((*form)->roleMenu.PicturesMade(), made + 1);
    EXPECT_LT(Distance(shown[0], drawn[0]), 1.0);
    RightClick(clicked);
    EXPECT_EQ((*form)->roleMenu.PicturesMade(), made + 1);
    dir.File(L"own.cur", testsupport::ReadBytes(files[4].second));
    HANDLE file = CreateFileW(own.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG minuteOn = ((ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime) + 600000000ull;
    const FILETIME later{DWORD(minuteOn), DWORD(minuteOn >> 32)};
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    RightClick(clicked);
    EXPECT_EQ((*form)->roleMenu.PicturesMade(), made + 2);
    EXPECT_LT(Distance(shown[0], drawn[4]), 1.0);
}

// A file on a share or on a drive that is not one of the computer's own
// fixed disks is never read for its picture (it may hold the menu for the
// network's time-out): the role shows the system's cursor.
TEST_F(RoleMenuTest, OnlyFilesOnFixedDisksAreReadForTheirPicture)
{
    const std::wstring busy = testsupport::CorpusFile(L"capitaine/master/busy.ani");
    const std::wstring own = dir.File(L"own.ani", testsupport::ReadBytes(busy));
    const int side = GetSystemMetrics(SM_CXSMICON);
    const Pixels filePicture = FileDrawn(own, side), systemPicture = SystemDrawn(2, side);
    ASSERT_GT(Distance(filePicture, systemPicture), 10.0);

    const struct {
        const char* name;
        std::wstring value;
        UINT driveType;
        bool fromFile;
        int picturesMade; // the system's pictures were made at start-up
    } rows[] = {
        {"fixed disk", own, DRIVE_FIXED, true, 1},
        {"network drive", own, DRIVE_REMOTE, false, 0},
        {"removable medium", own, DRIVE_REMOVABLE, false, 0},
        {"CD", own, DRIVE_CDROM, false, 0},
        {"share", L"\\\\tarimoku-nowhere\\cursors\\busy.ani", DRIVE_FIXED, false, 0},
        {"fixed disk again", own, DRIVE_FIXED, true, 0}, // kept from the first
    };
    Pixels shown;
    onRoleMenu = [&] {
        MENUITEMINFOW info{sizeof info, MIIM_BITMAP};
        GetMenuItemInfoW(Menu(), IDM_ROLE_FIRST + 2, FALSE, &info);
        shown = Colours(info.hbmpItem, side);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetRole(2, row.value);
        ui::ScopedSeam types(ui::CurrentSeams().driveType, [&](const std::wstring&) { return row.driveType; });
        const int made = (*form)->roleMenu.PicturesMade();
        RightClick(clicked);
        EXPECT_LT(Distance(shown, row.fromFile ? filePicture : systemPicture), 1.0);
        EXPECT_EQ((*form)->roleMenu.PicturesMade(), made + row.picturesMade);
    }
}

// A picture that takes long to make never holds the menu: it opens with the
// system's cursor, and the item changes once the file's picture comes.
TEST(RoleMenuPictures, ASlowPictureNeverHoldsTheMenu)
{
    ClearRoles();
    testsupport::TempDir dir;
    const std::wstring own =
        dir.File(L"own.ani", testsupport::ReadBytes(testsupport::CorpusFile(L"capitaine/master/busy.ani")));
    SetRole(2, own);
    ui::ScopedSeam fixed(ui::CurrentSeams().driveType, [](const std::wstring&) { return UINT(DRIVE_FIXED); });
    const int side = rolemenu::MenuPictureSide();
    const Pixels filePicture = FileDrawn(own, side), systemPicture = SystemDrawn(2, side);
    ui::UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    {
        CursorRoleMenu roles([&](const std::wstring& path, int pictureSide) {
            WaitForSingleObject(release.get(), 10000);
            return rolemenu::FilePicture(path, pictureSide);
        });
        ui::PopupMenu menu(IDM_ROLE_FIRST);
        roles.Build(menu, IDM_ROLE_DEFAULT_FIRST, nullptr, nullptr);
        auto shown = [&] {
            MENUITEMINFOW info{sizeof info, MIIM_BITMAP};
            GetMenuItemInfoW(menu.Handle(), IDM_ROLE_FIRST + 2, FALSE, &info);
            return Colours(info.hbmpItem, side);
        };
        roles.Prepare(own);
        EXPECT_LT(Distance(shown(), systemPicture), 1.0);
        SetEvent(release.get());
        EXPECT_TRUE(testsupport::PumpUntil([&] { return Distance(shown(), filePicture) < 1.0; }));

        // On a monitor of another DPI the pictures are that DPI's small icons.
        roles.Prepare(own, 144);
        MENUITEMINFOW info{sizeof info, MIIM_BITMAP};
        GetMenuItemInfoW(menu.Handle(), IDM_ROLE_FIRST + 2, FALSE, &info);
        BITMAP bm{};
        GetObjectW(info.hbmpItem, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, rolemenu::MenuPictureSide(144));
        EXPECT_EQ(rolemenu::MenuPictureSide(144), MulDiv(rolemenu::MenuPictureSide(96), 144, 96));
    }
    ClearRoles();
}

TEST_F(RoleMenuTest, CheckMarksAndRestoreItemsFollowTheScheme)
{
    SetEnvironmentVariableW(L"TK_ROLE_DIR", dir.Path().c_str());
    std::wstring upper = clicked;
    CharUpperBuffW(upper.data(), DWORD(upper.size()));
    struct Row {
        std::size_t role;
        std::wstring value;
        DWORD type;
        bool checked;
    };
    const Row rows[] = {
        {0, clicked, REG_SZ, true},
        {1, upper, REG_SZ, true},                                // letter case does not count
        {4, L"%TK_ROLE_DIR%\\clicked.cur", REG_EXPAND_SZ, true}, // nor environment strings
        {6, other, REG_SZ, false},
        {8, dir / L"missing.cur", REG_SZ, false},
        {11, L"", REG_SZ, false}, // the system's own already: nothing to restore
    };
    std::set<std::size_t> expectChecked;
    std::vector<std::wstring> expectRestorable;
    for (const Row& row : rows) {
        SetRole(row.role, row.value, row.type);
        if (row.checked)
            expectChecked.insert(row.role);
        if (!row.value.empty())
            expectRestorable.push_back(scheme::MouseRegistry[row.role].Caption);
    }

    std::set<std::size_t> checked;
    std::vector<std::wstring> restorable;
    bool restoreEnabled = false;
    onRoleMenu = [&] {
        checked.clear();
        restorable.clear();
        for (std::size_t role = 0; role < scheme::kMouseRoleCount; ++role)
            if (GetMenuState(Menu(), IDM_ROLE_FIRST + UINT(role), MF_BYCOMMAND) & MF_CHECKED)
                checked.insert(role);
        const UINT restoreAt = UINT(scheme::kMouseRoleCount) + 1; // after the separator
        EXPECT_TRUE(GetMenuState(Menu(), restoreAt - 1, MF_BYPOSITION) & MF_SEPARATOR);
        wchar_t caption[64] = {};
        GetMenuStringW(Menu(), restoreAt, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, texts::RoleRestoreDefault);
        restoreEnabled = !(GetMenuState(Menu(), restoreAt, MF_BYPOSITION) & MF_GRAYED);
        HMENU sub = GetSubMenu(Menu(), int(restoreAt));
        for (int i = 0; sub && i < GetMenuItemCount(sub); ++i) {
            GetMenuStringW(sub, UINT(i), caption, 64, MF_BYPOSITION);
            restorable.push_back(caption);
        }
    };
    RightClick(clicked);
    EXPECT_EQ(checked, expectChecked);
    EXPECT_EQ(restorable, expectRestorable);
    EXPECT_TRUE(restoreEnabled);

    RightClick(other);
    EXPECT_EQ(checked, std::set<std::size_t>{6});
    ClearRoles();
    RightClick(clicked);
    EXPECT_TRUE(checked.empty());
    EXPECT_TRUE(restorable.empty());
    EXPECT_FALSE(restoreEnabled);
    EXPECT_EQ(roleMenus, 3);
}

TEST_F(RoleMenuTest, RestoringARoleEmptiesItAndReloadsOrReportsAndChangesNothing)
{
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only scheme" : "writable scheme");
        SetRole(3, other);
        // What the restore writes and reloads is CursorSchemeTest's; this
        // keeps the reload off the real system.
        testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
        std::vector<std::wstring> shown;
        ui::SetExceptionSink([&](const std::wstring& m) { shown.push_back(m); });
        onRoleMenu = [&] {
            ui::PopupMenu* restore = (*form)->roleMenu.RestoreMenu();
            ASSERT_EQ(restore->Count(), 1u);
            EXPECT_EQ(restore->Item(0)->Tag(), 3);
            choose = restore->Item(0)->Id();
        };
        {
            std::optional<schemetest::ReadOnlyKey> locked;
            if (readOnly) {
                ASSERT_TRUE(locked.emplace(HKEY_CURRENT_USER, kSchemeKey).Applied());
            }
            RightClick(clicked);
        }
        ui::SetExceptionSink({});
        EXPECT_EQ(shown, readOnly ? std::vector<std::wstring>{texts::RegCreateKeyFailed} : std::vector<std::wstring>{});
        EXPECT_EQ(testsupport::ReadSchemeValue(L"Wait"), readOnly ? other : L"");
        EXPECT_EQ(List().ContextMenu.get(), &(*form)->ContextMenuEx);
    }
}

TEST_F(RoleMenuTest, AFileDeletedSinceTheListShowedItIsReportedAndNothingChanges)
{
    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    testsupport::BoxRecorder boxes;
    SetRole(3, other);
    const std::wstring path = ui::LowerCase(GetItemPath(List(), Item(clicked)));
    onRoleMenu = [&] { DeleteFileW(clicked.c_str()); };
    choose = IDM_ROLE_FIRST + 3;
    RightClick(clicked);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, scheme::FillPlaceholder(texts::CursorLoadFailed, path));
    EXPECT_EQ(boxes.boxes[0].caption, texts::ErrorCaption);
    EXPECT_EQ(testsupport::ReadSchemeValue(L"Wait"), other);
    EXPECT_TRUE(recorder.loads.empty());
}

// Cursor files cut short, as roles' values from before the start and as
// files chosen: the program starts, the menu shows the system's picture for
// them, a choice gets the box, and the system's loader never sees them.
TEST_F(RoleMenuTest, CutCursorFilesShowTheSystemsPictureAndGetTheBoxWhenChosen)
{
    const std::vector<testsupport::CutCursor> cut = testsupport::WriteCutCursors(dir);
    for (std::size_t role = 0; role < cut.size(); ++role)
        SetRole(role, cut[role].path);
    // A start with those values: the pictures are made once the window is idle.
    form.reset();
    form.emplace();
    ASSERT_TRUE(form->Created());
    form->Open(dir.Path());
    testsupport::PumpUntilIdle();
    ASSERT_TRUE(IsWindow((*form)->Handle()));

    testsupport::CursorSeamRecorder recorder(VER_PLATFORM_WIN32_NT);
    const int side = GetSystemMetrics(SM_CXSMICON);
    std::vector<Pixels> shown(cut.size());
    onRoleMenu = [&] {
        for (std::size_t role = 0; role < cut.size(); ++role) {
            MENUITEMINFOW info{sizeof info, MIIM_BITMAP};
            GetMenuItemInfoW(Menu(), IDM_ROLE_FIRST + UINT(role), FALSE, &info);
            shown[role] = Colours(info.hbmpItem, side);
        }
    };
    RightClick(clicked);
    ASSERT_EQ(roleMenus, 1);
    for (std::size_t role = 0; role < cut.size(); ++role) {
        SCOPED_TRACE(ui::ToUtf8(cut[role].name));
        EXPECT_LT(Distance(shown[role], SystemDrawn(role, side)), 1.0);
    }

    // Chosen for a role: the box, and the role keeps its value.
    onRoleMenu = nullptr;
    choose = IDM_ROLE_FIRST + 13;
    SetRole(13, other);
    for (const testsupport::CutCursor& file : cut) {
        if (file.name.ends_with(L".txt"))
            continue; // no cursor file: the shell's menu
        SCOPED_TRACE(ui::ToUtf8(file.name));
        testsupport::BoxRecorder boxes;
        RightClick(file.path);
        const std::wstring path = ui::LowerCase(GetItemPath(List(), Item(file.path)));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, scheme::FillPlaceholder(texts::CursorLoadFailed, path));
        EXPECT_EQ(testsupport::ReadSchemeValue(L"UpArrow"), other);
    }
    EXPECT_EQ(roleMenus, 1 + int(cut.size()) - 1);
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
        for (int i = 0; i < List().Count(); ++i)
            List().SetSelected(i, false);
        for (const std::wstring& path : row.selected) {
            List().SetSelected(Item(path), true);
            List().SetFocused(Item(path));
        }
        SetFocus(List().Handle());
        {
            testsupport::HeldModifiers shift(false, true);
            SendMessageW(List().Handle(), WM_SYSKEYDOWN, VK_F10, 1);
        }
        testsupport::PumpUntilIdle();
        EXPECT_EQ(roleMenus, row.roleMenus);
        EXPECT_EQ(shellMenus, row.shellMenus);
        EXPECT_EQ(List().ContextMenu.get(), &(*form)->ContextMenuEx);
    }
}

} // namespace
