// The installer, run silently as an administrator runs it, and what its
// uninstaller leaves behind.
#include "res/version.h"
#include "tests/support/program_process.h"
#include "tests/support/system_state.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace testsupport;

constexpr wchar_t kUninstallList[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kEntry[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarimoku";
constexpr wchar_t kVendor[] = L"Software\\RUVANE";
constexpr wchar_t kSettings[] = L"Software\\RUVANE\\Tarimoku";
constexpr wchar_t kCursors[] = L"Control Panel\\Cursors";
constexpr wchar_t kMainWindow[] = L"TarimokuMainWindow";

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + strlen(ascii)); }
const std::wstring kVersion = Widen(TARIMOKU_VERSION_TEXT);

std::wstring CurrentSetup() { return WindowsPath(TARIMOKU_SETUP_EXE); }
std::wstring OldSetup() { return WindowsPath(TARIMOKU_OLD_SETUP_EXE); }
std::wstring Shortcut() { return KnownFolder(FOLDERID_Programs) + L"\\タリモク.lnk"; }
std::wstring DefaultFolder() { return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Tarimoku"; }

// Installs and uninstalls as the user's list of programs does; every test
// starts and ends with no installation.
class Installer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(CurrentSetup())) << "no installer built";
        if (SnapshotKey(HKEY_CURRENT_USER, kEntry).exists) {
            ASSERT_TRUE(Uninstall());
        }
    }
    void TearDown() override
    {
        if (SnapshotKey(HKEY_CURRENT_USER, kEntry).exists)
            Uninstall();
    }

    // setup.exe /S [/D=folder] (the folder last and unquoted, as the installer wants it).
    static DWORD Install(const std::wstring& setup, const std::wstring& folder = {})
    {
        std::wstring cmd = L"\"" + setup + L"\" /S";
        if (!folder.empty())
            cmd += L" /D=" + folder;
        return RunToEnd(cmd);
    }

    // Runs the entry's quiet uninstall command. The uninstaller hands over to
    // a copy of itself and returns at once: wait until the entry has gone
    // and the folder with it.
    static bool Uninstall()
    {
        std::optional<std::wstring> quiet = ReadString(HKEY_CURRENT_USER, kEntry, L"QuietUninstallString");
        std::optional<std::wstring> folder = ReadString(HKEY_CURRENT_USER, kEntry, L"InstallLocation");
        if (!quiet || !folder || RunToEnd(*quiet) != 0)
            return false;
        return WaitUntil([&] {
            return !SnapshotKey(HKEY_CURRENT_USER, kEntry).exists && !FolderExists(*folder);
        });
    }

    // Entries of the user's list of installed programs that name this program.
    static int EntriesNamingTheProgram()
    {
        int count = 0;
        for (const std::wstring& sub : SnapshotKey(HKEY_CURRENT_USER, kUninstallList).subkeys)
            if (ReadString(HKEY_CURRENT_USER, std::wstring(kUninstallList) + L"\\" + sub, L"DisplayName") ==
                L"タリモク")
                ++count;
        return count;
    }

    TempDir temp_;
};

TEST_F(Installer, SilentInstallPlacesRegistersAndLinksTheProgram)
{
    struct Case {
        const char* name;
        bool giveFolder;
    };
    const Case cases[] = {{"default: the user's own programs folder", false},
                          {"/D= with a space in the folder", true}};
    const std::string program = ReadBytes(WindowsPath(TARIMOKU_EXE));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring folder = c.giveFolder ? temp_ / L"My Tools\\タリモク" : DefaultFolder();
        ASSERT_EQ(Install(CurrentSetup(), c.giveFolder ? folder : L""), 0u);

        EXPECT_EQ(ListFolder(folder), (std::set<std::wstring>{L"tarimoku.exe", L"uninstall.exe"}));
        EXPECT_TRUE(ReadBytes(folder + L"\\tarimoku.exe") == program) << "installed program is not the built one";

        const std::wstring exe = folder + L"\\tarimoku.exe";
        const struct {
            const wchar_t* value;
            std::wstring expected;
        } strings[] = {
            {L"DisplayName", L"タリモク"},
            {L"DisplayVersion", kVersion},
            {L"Publisher", L"RUVANE"},
            {L"DisplayIcon", exe + L",0"},
            {L"InstallLocation", folder},
            {L"UninstallString", L"\"" + folder + L"\\uninstall.exe\""},
            {L"QuietUninstallString", L"\"" + folder + L"\\uninstall.exe\" /S"},
        };
        for (const auto& s : strings)
            EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kEntry, s.value).value_or(L"(missing)"), s.expected) << s.value;
        std::optional<DWORD> size = ReadDword(HKEY_CURRENT_USER, kEntry, L"EstimatedSize");
        ASSERT_TRUE(size.has_value());
        // Kilobytes: the program and the uninstaller together.
        EXPECT_GE(*size, program.size() / 1024);
        EXPECT_LT(*size, program.size() / 1024 * 4);
        EXPECT_EQ(EntriesNamingTheProgram(), 1);

        EXPECT_TRUE(FileExists(Shortcut()));
        EXPECT_EQ(_wcsicmp(ShortcutTarget(Shortcut()).c_str(), exe.c_str()), 0) << ShortcutTarget(Shortcut());

        ASSERT_TRUE(Uninstall());
        EXPECT_FALSE(FolderExists(folder));
    }
}

TEST_F(Installer, InstalledProgramStartsAndShowsItsWindow)
{
    const std::wstring folder = temp_ / L"Tarimoku";
    ASSERT_EQ(Install(CurrentSetup(), folder), 0u);
    ProgramProcess program(folder + L"\\tarimoku.exe");
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForWindow(kMainWindow);
    ASSERT_NE(main, nullptr);
    wchar_t title[256] = {};
    GetWindowTextW(main, title, 256);
    EXPECT_EQ(std::wstring(title).rfind(L"タリモク", 0), 0u) << title;
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

TEST_F(Installer, UninstallTakesBackWhatTheInstallAddedAndLeavesTheCursorScheme)
{
    // The user's own scheme, set before the program ever came.
    const std::wstring arrow = L"C:\\Users\\Public\\cursors\\my arrow.cur";
    const KeySnapshot userCursors = SnapshotKey(HKEY_CURRENT_USER, kCursors);
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kCursors, L"Arrow", arrow));
    struct RestoreCursors {
        const KeySnapshot& shot;
        ~RestoreCursors()
        {
            auto it = shot.values.find(L"Arrow");
            if (it == shot.values.end())
                RegDeleteKeyValueW(HKEY_CURRENT_USER, kCursors, L"Arrow");
            else
                RegSetKeyValueW(HKEY_CURRENT_USER, kCursors, L"Arrow", it->second.type, it->second.bytes.data(),
                                DWORD(it->second.bytes.size()));
        }
    } restore{userCursors};
    // The program's own settings come from running it, not from before.
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);

    const std::wstring parent = temp_.Folder(L"Apps");
    const std::wstring folder = parent + L"\\Tarimoku";
    struct Place {
        const char* name;
        std::function<std::set<std::wstring>()> list;
        std::function<KeySnapshot()> key;
    };
    const Place places[] = {
        {"install folder's parent", [&] { return ListFolder(parent); }, nullptr},
        {"Start menu programs", [] { return ListFolder(KnownFolder(FOLDERID_Programs)); }, nullptr},
        {"installed programs list", nullptr, [] { return SnapshotKey(HKEY_CURRENT_USER, kUninstallList); }},
        {"vendor key", nullptr, [] { return SnapshotKey(HKEY_CURRENT_USER, kVendor); }},
        {"cursor scheme", nullptr, [] { return SnapshotKey(HKEY_CURRENT_USER, kCursors); }},
    };
    std::vector<std::set<std::wstring>> listsBefore;
    std::vector<KeySnapshot> keysBefore;
    for (const Place& p : places) {
        listsBefore.push_back(p.list ? p.list() : std::set<std::wstring>{});
        keysBefore.push_back(p.key ? p.key() : KeySnapshot{});
    }

    ASSERT_EQ(Install(CurrentSetup(), folder), 0u);
    {
        ProgramProcess program(folder + L"\\tarimoku.exe");
        ASSERT_NE(program.WaitForWindow(kMainWindow), nullptr);
        EXPECT_EQ(program.CloseAndWait(), 0u);
    }
    ASSERT_TRUE(Uninstall());

    for (size_t i = 0; i < std::size(places); ++i) {
        SCOPED_TRACE(places[i].name);
        if (places[i].list) {
            EXPECT_EQ(places[i].list(), listsBefore[i]);
        }
        if (places[i].key) {
            EXPECT_TRUE(places[i].key() == keysBefore[i]);
        }
    }
    EXPECT_FALSE(SnapshotKey(HKEY_CURRENT_USER, kSettings).exists);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kCursors, L"Arrow"), arrow);
}

TEST_F(Installer, InstallingAgainReplacesTheInstallationInPlace)
{
    struct Case {
        const char* name;
        std::wstring (*first)();
        const wchar_t* firstFolder;
        const wchar_t* secondFolder; // empty: no /D, the installer finds the earlier place
    };
    const Case cases[] = {
        {"the same version again", CurrentSetup, L"A", L""},
        {"over an earlier version", OldSetup, L"A", L""},
        {"over an earlier version, into another folder", OldSetup, L"A", L"B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring first = temp_ / c.firstFolder;
        const std::wstring second = *c.secondFolder ? temp_ / c.secondFolder : first;
        ASSERT_EQ(Install(c.first(), first), 0u);
        ASSERT_EQ(Install(CurrentSetup(), *c.secondFolder ? second : L""), 0u);

        EXPECT_EQ(EntriesNamingTheProgram(), 1);
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kEntry, L"DisplayVersion"), kVersion);
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kEntry, L"InstallLocation"), second);
        EXPECT_EQ(ListFolder(second), (std::set<std::wstring>{L"tarimoku.exe", L"uninstall.exe"}));
        if (first != second) {
            EXPECT_FALSE(FolderExists(first)) << "the earlier copy stayed";
        }
        EXPECT_EQ(_wcsicmp(ShortcutTarget(Shortcut()).c_str(), (second + L"\\tarimoku.exe").c_str()), 0);

        ASSERT_TRUE(Uninstall());
        EXPECT_EQ(EntriesNamingTheProgram(), 0);
    }
}

} // namespace
