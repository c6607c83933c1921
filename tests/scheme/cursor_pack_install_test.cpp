// Installing a cursor pack for this user on real files and registry keys: a
// pack made here from corpus files installs, is applied and installs again in
// place; a bad pack leaves nothing behind, and one installed before stays.
#include "scheme/cursor_pack_install.h"

#include "anicur/cursor_file.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/local_app_data.h"
#include "tests/support/wine_ui.h"
#include "ui/text.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

using scheme::PackProblem;
using namespace std::string_literals;
using testsupport::CorpusFile;
using testsupport::FileExists;
using testsupport::ReadBytes;

namespace {

constexpr wchar_t kName[] = L"Tarimoku Test Pack";
const std::string kCapitaine = "capitaine/pr53/Capitaine Cursors/";

std::string SetupText(const std::string& files, const std::string& scheme, const std::string& extra = "")
{
    return "[Version]\r\nsignature=\"$CHICAGO$\"\r\n[DefaultInstall]\r\nCopyFiles = Scheme.Cur\r\n"
           "AddReg = Scheme.Reg\r\n[DestinationDirs]\r\nScheme.Cur = 10,\"%CUR_DIR%\"\r\n[Scheme.Reg]\r\n"
           "HKCU,\"Control Panel\\Cursors\\Schemes\",\"%SCHEME_NAME%\",0x00020000,\"" +
           scheme + "\"\r\n[Scheme.Cur]\r\n" + files + extra +
           "\r\n[Strings]\r\nCUR_DIR = \"Cursors\\Test\"\r\nSCHEME_NAME = \"Tarimoku Test Pack\"\r\n";
}

std::string Entry(const std::string& name)
{
    return "%10%\\%CUR_DIR%\\" + name;
}

// A stored scheme's text: the roles given, the others empty up to the last.
std::wstring SchemeText(const std::wstring& roles)
{
    return roles + std::wstring(scheme::kMouseRoleCount - 1 - std::count(roles.begin(), roles.end(), L','), L',');
}

class CursorPackInstall : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteScheme();
    }
    void TearDown() override { DeleteScheme(); }
    static void DeleteScheme()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, kName);
            RegCloseKey(key);
        }
    }

    // A pack folder holding its setup file and the corpus files named.
    std::wstring MakePack(const std::string& setup, const std::map<std::wstring, std::string>& files)
    {
        testsupport::RemoveTree(pack_ / L"p");
        for (const auto& [name, corpus] : files)
            pack_.File(L"p\\" + name, corpus.empty() ? "not a cursor" : ReadBytes(CorpusFile(ui::FromUtf8(corpus))));
        return pack_.File(L"p\\install.inf", setup);
    }

    scheme::PackInstallResult Install(const std::wstring& inf, bool applies = true)
    {
        return scheme::InstallCursorPack(
            inf, anicur::IsWholeCursorFile,
            [this](const std::wstring& name) {
                asked.push_back(name);
                return replace;
            },
            [this, applies](const std::wstring& name, const std::wstring& text) {
                applied.push_back(name + L"=" + text);
                return applies;
            });
    }

    // The scheme's stored text and type, or nothing.
    static std::optional<std::wstring> Stored(DWORD* type = nullptr)
    {
        wchar_t data[4096] = {};
        DWORD size = sizeof(data), kind = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, kName, RRF_RT_ANY | RRF_NOEXPAND, &kind, data,
                         &size) != ERROR_SUCCESS)
            return std::nullopt;
        if (type)
            *type = kind;
        return std::wstring(data);
    }

    // The names of the files in the installed folder, and whether anything
    // waits in the staging folder.
    std::vector<std::wstring> InstalledFiles() const
    {
        return FilesIn(local_ / (L"Tarimoku\\Cursors\\" + std::wstring(kName)));
    }
    bool StagingEmpty() const { return FilesIn(local_ / L"Tarimoku\\Staging").empty(); }
    static std::vector<std::wstring> FilesIn(const std::wstring& folder)
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..")
                names.push_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
        return names;
    }
    std::wstring InstalledPath(const std::wstring& name) const { return local_.Installed(kName, name); }
    std::wstring Local(const std::wstring& name) const { return local_ / name; }
    // An empty file below the local application data, its folders made.
    void Put(const std::wstring& name) const
    {
        const std::wstring path = Local(name);
        SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }

    std::vector<std::wstring> applied;
    // The schemes the install asked to replace, each answered with `replace`.
    std::vector<std::wstring> asked;
    bool replace = false;

private:
    testsupport::LocalAppData local_;
    testsupport::TempDir pack_;
};

TEST_F(CursorPackInstall, APackInstallsIsAppliedAndInstallsAgainInPlace)
{
    const std::string normal = kCapitaine + "Normal.cur", busy = kCapitaine + "Busy.ani";
    std::wstring inf = MakePack(SetupText("Normal.cur\r\nBusy.ani\r\nHelp.cur\r\n",
                                          Entry("Normal.cur") + "," + Entry("Help.cur") + ",," + Entry("Busy.ani")),
                                {{L"Normal.cur", normal}, {L"Busy.ani", busy}, {L"Help.cur", kCapitaine + "Help.cur"}});
    ASSERT_EQ(PackProblem::None, Install(inf).problem);
    EXPECT_EQ((std::vector<std::wstring>{L"Busy.ani", L"Help.cur", L"Normal.cur"}), InstalledFiles());
    EXPECT_EQ(ReadBytes(CorpusFile(ui::FromUtf8(busy))), ReadBytes(InstalledPath(L"Busy.ani")));
    const std::wstring root = L"%LOCALAPPDATA%\\Tarimoku\\Cursors\\Tarimoku Test Pack\\";
    const std::wstring text = SchemeText(root + L"Normal.cur," + root + L"Help.cur,," + root + L"Busy.ani");
    DWORD type = 0;
    EXPECT_EQ(text, Stored(&type));
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), type);
    EXPECT_EQ(std::vector<std::wstring>{std::wstring(kName) + L"=" + text}, applied);
    EXPECT_TRUE(StagingEmpty());

    // Again, with other files: asked first, then the folder holds the new
    // pack's files only.
    inf = MakePack(SetupText("Normal.cur\r\nBusy.ani\r\n", Entry("Busy.ani") + "," + Entry("Normal.cur")),
                   {{L"Normal.cur", normal}, {L"Busy.ani", "reconstruct/wait.ani"}});
    replace = true;
    ASSERT_EQ(PackProblem::None, Install(inf).problem);
    EXPECT_EQ(std::vector<std::wstring>{kName}, asked);
    EXPECT_EQ((std::vector<std::wstring>{L"Busy.ani", L"Normal.cur"}), InstalledFiles());
    EXPECT_EQ(ReadBytes(CorpusFile(L"reconstruct/wait.ani")), ReadBytes(InstalledPath(L"Busy.ani")));
    EXPECT_EQ(SchemeText(root + L"Busy.ani," + root + L"Normal.cur"), Stored());
    EXPECT_TRUE(StagingEmpty());

    // The same pack again replaces it without a word; a scheme that cannot
    // be applied stays installed, and says so.
    EXPECT_EQ(PackProblem::NotApplied, Install(inf, false).problem);
    EXPECT_EQ(SchemeText(root + L"Busy.ani," + root + L"Normal.cur"), Stored());
    EXPECT_EQ(3u, applied.size());
    EXPECT_EQ(std::vector<std::wstring>{kName}, asked);
}

// A scheme of the pack's name that installing the pack would not make again,
// whoever made it: No keeps it whole and copies nothing, Yes lets the pack
// replace it.
TEST_F(CursorPackInstall, AnotherSchemeOfThePacksNameIsReplacedOnlyWhenAllowed)
{
    const std::wstring inf = MakePack(SetupText("Normal.cur\r\n", Entry("Normal.cur")),
                                      {{L"Normal.cur", kCapitaine + "Normal.cur"}});
    const std::wstring root = L"%LOCALAPPDATA%\\Tarimoku\\Cursors\\";
    const struct {
        std::wstring stored;
        bool asks;
    } rows[] = {
        {L"c:\\mine\\normal.cur,,c:\\mine\\busy.ani", true},
        {L",," + root + L"TARIMOKU TEST PACK\\Old.cur", true},
        // What the install makes, its file in place from the row before.
        {SchemeText(root + L"tarimoku test pack\\normal.cur"), false},
    };
    for (const auto& row : rows) {
        for (const bool yes : {false, true}) {
            SCOPED_TRACE(testing::PrintToString(row.stored) + (yes ? " yes" : " no"));
            DeleteScheme();
            RegSetKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, kName, REG_EXPAND_SZ, row.stored.c_str(),
                            DWORD((row.stored.size() + 1) * sizeof(wchar_t)));
            asked.clear();
            applied.clear();
            replace = yes;
            const std::vector<std::wstring> filesBefore = InstalledFiles();
            const bool kept = row.asks && !yes;
            EXPECT_EQ(kept ? PackProblem::Kept : PackProblem::None, Install(inf).problem);
            EXPECT_EQ(row.asks ? std::vector<std::wstring>{kName} : std::vector<std::wstring>{}, asked);
            EXPECT_EQ(kept ? row.stored : SchemeText(root + L"Tarimoku Test Pack\\Normal.cur"), Stored());
            EXPECT_EQ(kept ? 0u : 1u, applied.size());
            if (kept) {
                EXPECT_EQ(filesBefore, InstalledFiles());
            }
            EXPECT_TRUE(StagingEmpty());
        }
    }
    // The same roles with another file by the same name are asked about too.
    replace = false;
    EXPECT_EQ(PackProblem::Kept, Install(MakePack(SetupText("Normal.cur\r\n", Entry("Normal.cur")),
                                                  {{L"Normal.cur", "reconstruct/xy.cur"}}))
                                     .problem);

    // Another scheme's files in the folder the pack's name also gives: refused.
    DeleteScheme();
    const std::wstring other = root + L"Tarimoku Test Pack\\Other.cur";
    RegSetKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Tarimoku Test Pack.", REG_SZ, other.c_str(),
                    DWORD((other.size() + 1) * sizeof(wchar_t)));
    const scheme::PackInstallResult taken = Install(inf);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Tarimoku Test Pack.");
    EXPECT_EQ(PackProblem::FolderTaken, taken.problem);
    EXPECT_EQ(L"Tarimoku Test Pack.", taken.detail);
    EXPECT_EQ(std::nullopt, Stored());
}

TEST_F(CursorPackInstall, BadPacksLeaveNothingBehindAndKeepWhatWasInstalled)
{
    const std::map<std::wstring, std::string> files{{L"Normal.cur", kCapitaine + "Normal.cur"},
                                                    {L"Busy.ani", kCapitaine + "Busy.ani"}};
    std::map<std::wstring, std::string> noNormal = files, textNormal = files;
    noNormal.erase(L"Normal.cur");
    textNormal[L"Normal.cur"] = ""; // a text file
    const std::string both = Entry("Normal.cur") + "," + Entry("Busy.ani"), copies = "Normal.cur\r\nBusy.ani\r\n";
    const struct {
        const char* what;
        std::string setup;
        std::map<std::wstring, std::string> files;
        PackProblem problem;
        std::wstring detail;
    } rows[] = {
        {"a missing file", SetupText(copies, both), noNormal, PackProblem::MissingFile, L"Normal.cur"},
        {"a setup file larger than a pack's", SetupText(copies, both, ";" + std::string(1 << 20, 'x') + "\r\n"),
         files, PackProblem::TooLarge, L"1024"},
        {"a file that is no cursor", SetupText(copies, both), textNormal, PackProblem::Unloadable, L"Normal.cur"},
        {"a malformed line", SetupText(copies, both, "\"Busy.ani\r\n"), files, PackProblem::Malformed, L"13"},
        {"a name that climbs out", SetupText("Normal.cur\r\nBusy.ani,..\\p\\Busy.ani\r\n", both), files,
         PackProblem::ClimbsOut, L"..\\p\\Busy.ani"},
        {"an absolute name", SetupText("Normal.cur,C:\\windows\\x.cur\r\nBusy.ani\r\n", both), files,
         PackProblem::ClimbsOut, L"C:\\windows\\x.cur"},
        {"a name the pack does not ship", SetupText("Normal.cur\r\n", both), files, PackProblem::NotShipped,
         L"%10%\\Cursors\\Test\\Busy.ani"},
    };
    for (const bool installedBefore : {false, true}) {
        DeleteScheme();
        std::optional<std::wstring> before;
        if (installedBefore) {
            const std::wstring good = MakePack(SetupText("Normal.cur\r\n", Entry("Normal.cur")), files);
            ASSERT_EQ(PackProblem::None, Install(good).problem);
            before = Stored();
        }
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (installedBefore ? ", over an installed pack" : ""));
            applied.clear();
            const scheme::PackInstallResult result = Install(MakePack(row.setup, row.files));
            EXPECT_EQ(row.problem, result.problem);
            EXPECT_EQ(row.detail, result.detail);
            EXPECT_TRUE(applied.empty());
            EXPECT_EQ(before, Stored());
            EXPECT_EQ(installedBefore ? std::vector<std::wstring>{L"Normal.cur"} : std::vector<std::wstring>{},
                      InstalledFiles());
            EXPECT_TRUE(StagingEmpty());
        }
    }
    // A pack of the test data whose Normal.cur links to a file outside it.
    const scheme::PackInstallResult linked = Install(CorpusFile(L"../packs/link-out/install.inf"));
    EXPECT_EQ(PackProblem::ClimbsOut, linked.problem);
    EXPECT_EQ(L"Normal.cur", linked.detail);
}

// What an install killed on its way left in the staging folder goes at the
// next install, and an installed pack's files it had set aside go back to
// their folder when nothing took its place; a running install's stays.
TEST_F(CursorPackInstall, AKilledInstallsLeftoversGoAtTheNextInstall)
{
    const std::wstring running = L"new-" + std::to_wstring(GetCurrentProcessId()) + L"-5-0";
    // No process has a number that is not a multiple of four.
    for (const std::wstring& name : {L"new-4294967290-5-0\\a.cur"s, L"old-4294967290-5-1-Gone Pack\\a.cur"s,
                                     L"old-4294967290-5-2-Kept Pack\\b.cur"s, running + L"\\c.cur"})
        Put(L"Tarimoku\\Staging\\" + name);
    Put(L"Tarimoku\\Cursors\\Kept Pack\\x.cur");
    ASSERT_EQ(PackProblem::None, Install(MakePack(SetupText("Normal.cur\r\n", Entry("Normal.cur")),
                                                  {{L"Normal.cur", kCapitaine + "Normal.cur"}}))
                                     .problem);
    EXPECT_EQ(std::vector<std::wstring>{running}, FilesIn(Local(L"Tarimoku\\Staging")));
    EXPECT_EQ(std::vector<std::wstring>{L"a.cur"}, FilesIn(Local(L"Tarimoku\\Cursors\\Gone Pack")));
    EXPECT_EQ(std::vector<std::wstring>{L"x.cur"}, FilesIn(Local(L"Tarimoku\\Cursors\\Kept Pack")));
}

TEST_F(CursorPackInstall, ASchemeThatCannotBeStoredTakesItsFilesBack)
{
    const std::wstring inf = MakePack(SetupText("Normal.cur\r\n", Entry("Normal.cur")),
                                      {{L"Normal.cur", kCapitaine + "Normal.cur"}});
    schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, scheme::kUserSchemesKey);
    EXPECT_EQ(PackProblem::NotStored, Install(inf).problem);
    EXPECT_TRUE(InstalledFiles().empty());
    EXPECT_TRUE(StagingEmpty());
    EXPECT_TRUE(applied.empty());
}

TEST_F(CursorPackInstall, OnlySetupFilesThatWriteASchemeAreOffered)
{
    const std::wstring pack = MakePack(SetupText("Normal.cur\r\n", Entry("Normal.cur")), {});
    testsupport::TempDir other;
    EXPECT_TRUE(scheme::IsCursorPackFile(pack));
    EXPECT_FALSE(scheme::IsCursorPackFile(other.File(L"driver.inf", "[DefaultInstall]\r\nCopyFiles=x\r\n")));
    EXPECT_FALSE(scheme::IsCursorPackFile(other.File(L"pack.txt", SetupText("Normal.cur\r\n", Entry("Normal.cur")))));
    EXPECT_FALSE(scheme::IsCursorPackFile(other.Folder(L"folder.inf")));
    // Told from the head of the file alone: a scheme written past it is not seen.
    const std::string padding = ";" + std::string(1 << 20, 'x') + "\r\n";
    EXPECT_FALSE(scheme::IsCursorPackFile(other.File(L"late.inf", padding + SetupText("N\r\n", Entry("N")))));
    EXPECT_FALSE(scheme::IsCursorPackFile(other / L"missing.inf"));
}

} // namespace
