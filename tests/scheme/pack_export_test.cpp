// A pointer set written as a pack and installed back: the same roles with
// files of the same content, also where two files share a name.
#include "scheme/pack_export.h"

#include "anicur/cursor_file.h"
#include "scheme/cursor_pack_install.h"
#include "scheme/role_guess.h"
#include "tests/support/local_app_data.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::CorpusFile;
using testsupport::ReadBytes;

namespace {

constexpr wchar_t kName[] = L"Tarimoku Export Test";

// A corpus folder's set as its names suggest.
scheme::PointerSet GuessedSet(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFile(folder)))
        paths.push_back(entry.path().wstring());
    scheme::PointerSet set;
    const scheme::GuessedSet guessed = scheme::GuessSet(paths);
    for (std::size_t role = 0; role < set.size(); ++role)
        set[role] = guessed[role].file;
    return set;
}

TEST(PackExport, InstallsBackAsTheSameScheme)
{
    for (const wchar_t* folder : {L"capitaine/pr53/Capitaine Cursors", L"catppuccin/catppuccin-mocha-dark-cursors"}) {
        SCOPED_TRACE(testing::Message() << folder);
        scheme::PointerSet set = GuessedSet(folder);
        set[3].clear();                                                             // a role left to the system
        set[16] = set[0];                                                           // one file in two roles
        set[15] = CorpusFile(L"catppuccin/catppuccin-mocha-dark-cursors/help.cur"); // another help.cur
        testsupport::LocalAppData local;
        testsupport::TempDir out;
        scheme::DeleteScheme(kName);
        const scheme::PackExportResult exported = scheme::ExportCursorPack(out.Path(), kName, set);
        ASSERT_EQ(exported.problem, scheme::PackProblem::None) << exported.detail;
        const scheme::PackInstallResult installed = scheme::InstallCursorPack(
            exported.infPath, anicur::IsWholeCursorFile, [](const std::wstring&) { return false; },
            [](const std::wstring&, const std::wstring&) { return true; });
        ASSERT_EQ(installed.problem, scheme::PackProblem::None) << installed.detail;
        EXPECT_EQ(installed.schemeName, kName);
        const auto stored = scheme::ReadNamedScheme(kName, scheme::SchemeSource::User);
        ASSERT_TRUE(stored);
        for (std::size_t role = 0; role < set.size(); ++role) {
            SCOPED_TRACE(role);
            const std::wstring& entry = (*stored)[role];
            ASSERT_EQ(entry.empty(), set[role].empty());
            if (!entry.empty()) {
                EXPECT_EQ(ReadBytes(scheme::ExpandCursorPath(entry)), ReadBytes(set[role]));
            }
        }
        scheme::DeleteScheme(kName);
    }
}

TEST(PackExport, RefusesWhatNoPackCanHoldAndLeavesNothing)
{
    testsupport::TempDir out;
    scheme::PointerSet set;
    set[0] = CorpusFile(L"capitaine/master/normal-select.cur");
    set[1] = out / L"gone.cur";
    EXPECT_EQ(scheme::ExportCursorPack(out.Path(), L"...", set).problem, scheme::PackProblem::BadSchemeName);
    EXPECT_EQ(scheme::ExportCursorPack(out.Path(), L"50% \"grey\"", set).problem,
              scheme::PackProblem::BadSchemeName);
    EXPECT_EQ(scheme::ExportCursorPack(out.Path(), kName, set).problem, scheme::PackProblem::MissingFile);
    set[1].clear();
    out.File(std::wstring(kName) + L"\\other.txt", "x");
    EXPECT_EQ(scheme::ExportCursorPack(out.Path(), kName, set).problem, scheme::PackProblem::NotCopied);
    EXPECT_FALSE(testsupport::FileExists(out / (std::wstring(kName) + L"\\normal-select.cur")));
}

} // namespace
