// Assigning cursor files to roles: what is written to the per-user scheme and
// which system calls are made. Wine's SetSystemCursor changes nothing, so the
// calls are watched through the cursor seams.
#include "scheme/cursor_scheme.h"

#include "res/texts.h"
#include "scheme/mouse_registry.h"
#include "scheme/named_schemes.h"
#include "scheme/registry.h"
#include "scheme/text_utils.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The assignment with a check that admits every file: what the system
// itself does with a file. What a refusing check does is tested on its own.
scheme::CursorAssignment SetMouseCursor(int role, const std::wstring& path)
{
    return scheme::SetMouseCursor(role, path, [](const std::wstring&) { return true; });
}

const std::wstring SchemeKey = L"Control Panel\\Cursors";

class CursorSchemeTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, SchemeKey.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, SchemeKey.c_str());
    }

    // Records the cursor calls as made on the given platform family.
    void UsePlatform(DWORD platformId)
    {
        rec_.reset();
        rec_.emplace(platformId);
    }

    // The data of a scheme value as stored, or nothing.
    static std::optional<std::wstring> Stored(const wchar_t* valueName)
    {
        wchar_t buf[1024] = {};
        DWORD size = sizeof(buf), type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, SchemeKey.c_str(), valueName, RRF_RT_ANY, &type, buf, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        EXPECT_EQ(type, DWORD(REG_SZ));
        EXPECT_EQ(size % sizeof(wchar_t), 0u);
        EXPECT_EQ(buf[size / sizeof(wchar_t) - 1], L'\0') << "stored without its terminator";
        return std::wstring(buf);
    }

    static DWORD ValueCount()
    {
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, SchemeKey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return 0;
        DWORD values = 0;
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(k);
        return values;
    }

    // The caller hands the path over lower-cased.
    static std::wstring Corpus(const wchar_t* relative) { return ui::LowerCase(testsupport::CorpusFile(relative)); }

    void ExpectNothingHappened()
    {
        EXPECT_EQ(ValueCount(), 0u);
        EXPECT_TRUE(rec_->sets.empty());
        EXPECT_TRUE(rec_->spis.empty());
        EXPECT_TRUE(box_.boxes.empty());
    }

    // The one call a 9x assignment makes: reload every cursor, tell everyone.
    void ExpectOneReload() const
    {
        ASSERT_EQ(rec_->spis.size(), 1u);
        EXPECT_EQ(rec_->spis[0].action, 87u); // SPI_SETCURSORS
        EXPECT_EQ(rec_->spis[0].param, 0u);
        EXPECT_EQ(rec_->spis[0].data, nullptr);
        EXPECT_EQ(rec_->spis[0].winIni, 2u); // SPIF_SENDWININICHANGE
    }

    // The library shows no box of its own: any would be recorded here.
    testsupport::BoxRecorder box_;
    std::optional<testsupport::CursorSeamRecorder> rec_;
    testsupport::TempDir temp_;
};

// Each role on NT: its own value written, its file loaded and set as its own
// cursor (the ids themselves are MouseRoleTable's), nothing reloaded.
TEST_F(CursorSchemeTest, NtWritesEachRoleAndReplacesItsOwnCursor)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring cur = Corpus(L"reconstruct/xy.cur"), wait = Corpus(L"reconstruct/wait.ani");
    auto fileOf = [&](int role) { return role == 3 ? wait : cur; };
    for (int role = 0; role < int(scheme::kMouseRoleCount); ++role) {
        EXPECT_EQ(SetMouseCursor(role, fileOf(role)), scheme::CursorAssignment::Applied) << role;
        EXPECT_EQ(ValueCount(), DWORD(role + 1));
    }

    ASSERT_EQ(rec_->loads.size(), scheme::kMouseRoleCount);
    ASSERT_EQ(rec_->sets.size(), scheme::kMouseRoleCount);
    for (std::size_t i = 0; i < scheme::kMouseRoleCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Stored(scheme::MouseRegistry[i].ValueName), fileOf(int(i)));
        EXPECT_EQ(rec_->loads[i], fileOf(int(i)));
        EXPECT_EQ(rec_->sets[i].cursor, rec_->loaded[i]);
        EXPECT_NE(rec_->sets[i].cursor, nullptr);
        EXPECT_EQ(rec_->sets[i].id, DWORD(scheme::MouseRegistry[i].CursorId));
    }
    EXPECT_TRUE(rec_->spis.empty());
    EXPECT_TRUE(box_.boxes.empty());
}

// On 9x any existing file is stored whole (the path and one zero byte) and
// the system reloads the scheme and decides; nothing is loaded here.
TEST_F(CursorSchemeTest, NineXStoresAnyExistingFileAndReloadsTheScheme)
{
    const std::wstring text = temp_.File(L"readme.cur", "This is not a cursor.\r\n");
    const struct {
        int role;
        const char* value;
        std::wstring path;
    } rows[] = {{3, "Wait", Corpus(L"reconstruct/wait.ani")}, {0, "Arrow", text}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        UsePlatform(VER_PLATFORM_WIN32_WINDOWS);
        EXPECT_EQ(SetMouseCursor(row.role, row.path), scheme::CursorAssignment::Applied);
        EXPECT_EQ(Stored(scheme::MouseRegistry[row.role].ValueName), row.path);
        EXPECT_TRUE(rec_->loads.empty());
        EXPECT_TRUE(rec_->sets.empty());
        ExpectOneReload();
        EXPECT_TRUE(box_.boxes.empty());

        HKEY k = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\", 0, KEY_READ, &k), ERROR_SUCCESS);
        char buf[1024];
        DWORD size = sizeof(buf), type = 0;
        EXPECT_EQ(RegQueryValueExA(k, row.value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_SUCCESS);
        RegCloseKey(k);
        EXPECT_EQ(size, DWORD(row.path.size() + 1));
    }
}

// A cursor the system refuses (a role it does not know, such as Pin before
// Windows 10) is stored and the whole scheme reloaded once; when that fails
// too, the caller learns it is in effect at the next sign-in only.
TEST_F(CursorSchemeTest, RefusedCursorReloadsTheSchemeOnce)
{
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    const struct {
        DWORD platform;
        bool setAnswer;
        BOOL spiAnswer;
        std::size_t sets, spis;
        scheme::CursorAssignment result;
    } rows[] = {
        {VER_PLATFORM_WIN32_NT, false, TRUE, 1, 1, scheme::CursorAssignment::Applied},
        {VER_PLATFORM_WIN32_NT, false, FALSE, 1, 1, scheme::CursorAssignment::StoredForNextSignIn},
        {VER_PLATFORM_WIN32_NT, true, FALSE, 1, 0, scheme::CursorAssignment::Applied},
        {VER_PLATFORM_WIN32_WINDOWS, true, FALSE, 0, 1, scheme::CursorAssignment::StoredForNextSignIn},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.platform << row.setAnswer << row.spiAnswer);
        UsePlatform(row.platform);
        rec_->setAnswer = row.setAnswer;
        rec_->spiAnswer = row.spiAnswer;
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Pin", L"");
        EXPECT_EQ(SetMouseCursor(15, cur), row.result);
        EXPECT_EQ(Stored(L"Pin"), cur);
        EXPECT_EQ(rec_->sets.size(), row.sets);
        if (row.sets) {
            EXPECT_EQ(rec_->sets[0].id, 32671u);
        }
        EXPECT_EQ(rec_->spis.size(), row.spis);
    }
    EXPECT_TRUE(box_.boxes.empty());
}

TEST_F(CursorSchemeTest, SameAssignmentTwiceWritesAndAppliesTwice)
{
    for (DWORD platform : {DWORD(VER_PLATFORM_WIN32_NT), DWORD(VER_PLATFORM_WIN32_WINDOWS)}) {
        SCOPED_TRACE(platform);
        UsePlatform(platform);
        rec_->sets.clear();
        rec_->spis.clear();
        const std::wstring cur = Corpus(L"reconstruct/xy.cur");
        SetMouseCursor(12, cur);
        EXPECT_EQ(Stored(L"SizeAll"), cur);
        // Something else changes the value in between: the second call writes again.
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"SizeAll", L"c:\\other.cur");
        SetMouseCursor(12, cur);
        EXPECT_EQ(Stored(L"SizeAll"), cur);
        EXPECT_EQ(rec_->sets.size() + rec_->spis.size(), 2u);
        EXPECT_TRUE(box_.boxes.empty());
    }
}

// A role changed by hand leaves the named scheme in use behind, as the
// system's mouse settings do: no name, "Scheme Source" 0. Writing what a
// role already holds (however it is spelt) keeps the name.
TEST_F(CursorSchemeTest, ARoleChangedByHandNamesNoSchemeAnyMore)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    std::wstring upper = cur;
    CharUpperW(upper.data());
    const struct {
        const wchar_t* what;
        std::wstring before; // the role's value as stored
        bool restore;        // give the role back, else assign `cur`
        bool forgotten;
    } cases[] = {
        {L"another file", L"c:\\other.cur", false, true},
        {L"the same file", upper, false, false},
        {L"a role given back", cur, true, true},
        {L"an empty role given back", L"", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Help", c.before);
        RegSetKeyValueW(HKEY_CURRENT_USER, SchemeKey.c_str(), nullptr, REG_SZ, L"Aqua", sizeof L"Aqua");
        const DWORD user = 1;
        RegSetKeyValueW(HKEY_CURRENT_USER, SchemeKey.c_str(), L"Scheme Source", REG_DWORD, &user, sizeof user);
        if (c.restore)
            scheme::RestoreMouseCursor(1);
        else
            EXPECT_EQ(SetMouseCursor(1, cur), scheme::CursorAssignment::Applied);
        EXPECT_EQ(Stored(nullptr), c.forgotten ? L"" : L"Aqua");
        DWORD source = 9, bytes = sizeof source;
        RegGetValueW(HKEY_CURRENT_USER, SchemeKey.c_str(), L"Scheme Source", RRF_RT_REG_DWORD, nullptr, &source,
                     &bytes);
        EXPECT_EQ(source, c.forgotten ? 0u : 1u);
    }
}

// Assignments that do not apply store, set and reload nothing, and show no
// box (the window that asked tells the user: the main window's tests). A
// file the check refuses, or any file without a check, never reaches the
// loader, on either family; NT's loader is asked once about a file that
// exists, and 9x never.
TEST_F(CursorSchemeTest, AssignmentsThatDoNotApplyChangeNothing)
{
    const std::wstring wait = Corpus(L"reconstruct/wait.ani");
    const std::wstring text = temp_.File(L"readme.cur", "This is not a cursor.\r\n");
    std::vector<std::wstring> asked;
    const scheme::CursorFileCheck admit = [](const std::wstring&) { return true; };
    const scheme::CursorFileCheck refuse = [&](const std::wstring& path) { return asked.push_back(path), false; };
    // Rows of no family are tried on both.
    const struct {
        const char* name;
        DWORD platform;
        std::wstring path;
        scheme::CursorFileCheck check;
        scheme::CursorAssignment result;
        std::size_t loads;
    } rows[] = {
        {"missing", 0, temp_ / L"missing.ani", admit, scheme::CursorAssignment::NoSuchFile, 0},
        {"a folder", 0, temp_.Folder(L"folder.ani"), admit, scheme::CursorAssignment::NoSuchFile, 0},
        {"no path", 0, L"", admit, scheme::CursorAssignment::NoSuchFile, 0},
        {"the corpus folder", 0, testsupport::CorpusDir(), admit, scheme::CursorAssignment::NoSuchFile, 0},
        {"refused", 0, wait, refuse, scheme::CursorAssignment::Unloadable, 0},
        {"no check", 0, wait, {}, scheme::CursorAssignment::Unloadable, 0},
        {"unloadable", VER_PLATFORM_WIN32_NT, text, admit, scheme::CursorAssignment::Unloadable, 1},
    };
    for (const auto& row : rows)
        for (DWORD platform : {DWORD(VER_PLATFORM_WIN32_NT), DWORD(VER_PLATFORM_WIN32_WINDOWS)}) {
            if (row.platform && row.platform != platform)
                continue;
            SCOPED_TRACE(std::string(row.name) + (platform == VER_PLATFORM_WIN32_NT ? ", NT" : ", 9x"));
            UsePlatform(platform);
            asked.clear();
            EXPECT_EQ(scheme::SetMouseCursor(3, row.path, row.check), row.result);
            EXPECT_EQ(rec_->loads.size(), row.loads);
            ExpectNothingHappened();
            if (row.check && row.path == wait) {
                EXPECT_EQ(asked, std::vector<std::wstring>{wait});
            }
        }
}

TEST_F(CursorSchemeTest, ReadOnlySchemeThrowsAndAppliesNothing)
{
    for (DWORD platform : {DWORD(VER_PLATFORM_WIN32_NT), DWORD(VER_PLATFORM_WIN32_WINDOWS)}) {
        SCOPED_TRACE(platform);
        UsePlatform(platform);
        {
            schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, SchemeKey);
            ASSERT_TRUE(readOnly.Applied());
            try {
                SetMouseCursor(3, Corpus(L"reconstruct/wait.ani"));
                ADD_FAILURE() << "no exception";
            } catch (const scheme::ERegistryError& e) {
                EXPECT_EQ(e.Message(), texts::RegCreateKeyFailed);
            }
        }
        ASSERT_TRUE(schemetest::Writable(HKEY_CURRENT_USER, SchemeKey));
        ExpectNothingHappened();
    }
}

TEST_F(CursorSchemeTest, RoleOutsideTheTableIsRefused)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    EXPECT_THROW(SetMouseCursor(17, cur), std::out_of_range);
    EXPECT_THROW(SetMouseCursor(-1, cur), std::out_of_range);
    EXPECT_TRUE(rec_->loads.empty());
    ExpectNothingHappened();
}

TEST_F(CursorSchemeTest, SystemApplierOnWine)
{
    const ui::Seams system = ui::SystemSeams();
    EXPECT_EQ(system.platformId(), DWORD(VER_PLATFORM_WIN32_NT));
    EXPECT_TRUE(system.loadCursor(Corpus(L"reconstruct/wait.ani")));
    EXPECT_TRUE(system.loadCursor(Corpus(L"reconstruct/xy.cur")));
    EXPECT_FALSE(system.loadCursor(temp_.File(L"text.cur", "text")));
    EXPECT_FALSE(system.loadCursor(temp_ / L"missing.cur"));

    // The real path end to end (Wine's SetSystemCursor changes nothing).
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    SetMouseCursor(5, cur);
    EXPECT_EQ(Stored(L"IBeam"), cur);
    EXPECT_TRUE(box_.boxes.empty());
}

TEST_F(CursorSchemeTest, RestoringEmptiesTheRoleAndReloadsOrThrowsAndChangesNothing)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only scheme" : "writable scheme");
        rec_->spis.clear();
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Wait", L"c:\\a.ani");
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Arrow", L"c:\\b.cur");
        {
            std::optional<schemetest::ReadOnlyKey> locked;
            if (readOnly) {
                ASSERT_TRUE(locked.emplace(HKEY_CURRENT_USER, SchemeKey).Applied());
            }
            try {
                scheme::RestoreMouseCursor(3);
                EXPECT_FALSE(readOnly) << "no exception";
            } catch (const scheme::ERegistryError& e) {
                EXPECT_TRUE(readOnly);
                EXPECT_EQ(e.Message(), texts::RegCreateKeyFailed);
            }
        }
        EXPECT_EQ(Stored(L"Wait"), readOnly ? L"c:\\a.ani" : L"");
        EXPECT_EQ(Stored(L"Arrow"), L"c:\\b.cur");
        if (readOnly) {
            EXPECT_TRUE(rec_->spis.empty());
        } else {
            ExpectOneReload();
        }
        EXPECT_TRUE(rec_->sets.empty());
    }
    EXPECT_THROW(scheme::RestoreMouseCursor(17), std::out_of_range);
}

TEST_F(CursorSchemeTest, EveryRoleIsReadAsStoredAndExpandedAsTheSystemDoes)
{
    SetEnvironmentVariableW(L"TK_CURSORS", L"C:\\Cursors");
    const std::wstring longPath = L"c:\\" + std::wstring(300, L'x') + L".cur";
    struct Row {
        std::size_t role;
        DWORD type;
        std::wstring data, expanded;
    };
    const Row rows[] = {
        {0, REG_SZ, L"c:\\a.cur", L"c:\\a.cur"},
        {1, REG_EXPAND_SZ, L"%TK_CURSORS%\\help.cur", L"C:\\Cursors\\help.cur"},
        {3, REG_SZ, L"%TK_CURSORS%\\w.ani", L"C:\\Cursors\\w.ani"},
        {7, REG_SZ, longPath, longPath}, // longer than a path: read whole
        {12, REG_DWORD, L"", L""},       // not text
    };
    for (const Row& row : rows)
        RegSetKeyValueW(HKEY_CURRENT_USER, SchemeKey.c_str(), scheme::MouseRegistry[row.role].ValueName, row.type,
                        row.data.c_str(), row.type == REG_DWORD ? 4 : DWORD((row.data.size() + 1) * sizeof(wchar_t)));
    std::array<std::wstring, scheme::kMouseRoleCount> expected;
    for (const Row& row : rows)
        expected[row.role] = row.type == REG_DWORD ? L"" : row.data;
    const auto values = scheme::ReadMouseCursors();
    EXPECT_EQ(values, expected);
    for (const Row& row : rows)
        EXPECT_EQ(scheme::ExpandCursorPath(values[row.role]), row.expanded);
}

} // namespace
