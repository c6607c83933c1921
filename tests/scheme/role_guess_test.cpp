// Roles guessed from cursor files' names: every folder of the cursor corpus
// (tests/data) as a set, and the names of other packs.
#include "scheme/role_guess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

std::wstring RoleName(std::optional<std::size_t> role)
{
    return role ? scheme::MouseRegistry.at(*role).ValueName : L"-";
}

// The corpus's folders that hold a set, with their files in the order of
// the roles (MouseRegistry; "": none). Every other file, a tool's cursor or
// a player's, stands for no role.
const std::map<std::wstring, std::vector<std::wstring>> kCorpusSets = {
    {L"capitaine/master",
     {L"normal-select.cur", L"help-select.cur", L"working-in-background.ani", L"busy.ani", L"precision-select.cur",
      L"text-select.cur", L"handwriting.cur", L"unavailable.cur", L"vertical-resize.cur", L"horizontal-resize.cur",
      L"diagonal-resize-1.cur", L"diagonal-resize-2.cur", L"move.cur", L"alt-select.cur", L"link-select.cur"}},
    {L"capitaine/pr53/Capitaine Cursors",
     {L"Normal.cur", L"Help.cur", L"Working.ani", L"Busy.ani", L"Precision.cur", L"Text.cur", L"Handwriting.cur",
      L"Unavailable.cur", L"Vertical Resize.cur", L"Horizontal Resize.cur", L"Diagonal Resize 1.cur",
      L"Diagonal Resize 2.cur", L"Move.cur", L"Alternate.cur", L"Link.cur"}},
    {L"catppuccin/catppuccin-mocha-dark-cursors",
     {L"arrow.cur", L"help.cur", L"working.ani", L"wait.ani", L"crosshair.cur", L"text.cur", L"pen.cur",
      L"unavailable.cur", L"size_ns.cur", L"size_ew.cur", L"size_nwse.cur", L"size_nesw.cur", L"move.cur",
      L"up_arrow.cur", L"link.cur"}},
    {L"jfhbrook-icons", {L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"Link.ani"}},
    {L"reconstruct", {L"", L"", L"", L"wait.ani", L"precision.cur", L"", L"pencil.cur"}},
    {L"webamp/base-2.91", {L"NORMAL.CUR"}}};

// The corpus's files by folder, paths below the corpus folder.
std::map<std::wstring, std::vector<std::wstring>> CorpusFolders()
{
    std::map<std::wstring, std::vector<std::wstring>> folders;
    const fs::path root(TARIMOKU_CORPUS);
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != "SOURCES.md") {
            const fs::path relative = fs::relative(entry.path(), root);
            folders[relative.parent_path().generic_wstring()].push_back(relative.generic_wstring());
        }
    return folders;
}

// Each folder as one set: every role its files stand for gets its file, and
// no other role gets any, so a file read as the wrong role or as a role at
// all when it is none shows.
TEST(RoleGuess, EveryCorpusFolderAsASet)
{
    for (const auto& [folder, files] : CorpusFolders()) {
        SCOPED_TRACE(testing::Message() << folder);
        const auto found = kCorpusSets.find(folder);
        const std::vector<std::wstring> names =
            found == kCorpusSets.end() ? std::vector<std::wstring>{} : found->second;
        const scheme::GuessedSet set = scheme::GuessSet(files);
        for (std::size_t role = 0; role < set.size(); ++role) {
            const std::wstring name = role < names.size() ? names[role] : L"";
            EXPECT_EQ(set[role].file, name.empty() ? L"" : folder + L"/" + name) << role;
            EXPECT_EQ(set[role].guessed, !name.empty()) << role;
        }
    }
}

// Names of packs and systems beyond the corpus: Windows' own files, the
// Linux themes' names, camel case, numbered and Japanese captions, and names
// that must not be read as a role.
TEST(RoleGuess, NamesOfOtherPacks)
{
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"C:\\Windows\\Cursors\\aero_arrow.cur", L"Arrow"},
        {L"aero_helpsel.cur", L"Help"},
        {L"aero_busy_l.ani", L"Wait"},
        {L"cross_rm.cur", L"Crosshair"},
        {L"aero_pin.cur", L"Pin"},
        {L"left_ptr_watch.ani", L"AppStarting"},
        {L"xterm.cur", L"IBeam"},
        {L"size_fdiag.cur", L"SizeNWSE"},
        {L"sb_h_double_arrow.cur", L"SizeWE"},
        {L"UpArrow.cur", L"UpArrow"},
        {L"01. Normal Select.cur", L"Arrow"},
        {L"dgn1.cur", L"SizeNWSE"},
        {L"16-Person Select.cur", L"Person"},
        {L"標準の選択.cur", L"Arrow"},
        {L"ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞで作業中.ani", L"AppStarting"},
        {L"斜めに拡大／縮小２.cur", L"SizeNESW"},
        {L"ＨＥＬＰ.cur", L"Help"},
        // Words inside other words are no role.
        {L"spinner.ani", L"-"},
        {L".cur", L"-"},
        {L"", L"-"},
    };
    for (const auto& [name, role] : rows)
        EXPECT_EQ(RoleName(scheme::GuessRole(name)), role) << std::wstring(name);
}

TEST(RoleGuess, SetTakesCursorFilesAndTheNameSayingLeastBesides)
{
    const scheme::GuessedSet set = scheme::GuessSet({
        L"D:\\p\\arrow_large.cur",
        L"D:\\p\\Arrow.CUR",
        L"D:\\p\\arrow.ani",
        L"D:\\p\\help.txt",
        L"D:\\p\\link",
        L"D:\\p\\wait.ani.bak",
        L"D:\\p\\busy.ani",
    });
    EXPECT_EQ(set[0].file, L"D:\\p\\arrow.ani"); // Arrow.CUR ties and sorts after it
    EXPECT_EQ(set[1].file, L"");                 // Help: not a cursor file
    EXPECT_EQ(set[3].file, L"D:\\p\\busy.ani");
    EXPECT_EQ(set[14].file, L"");
    EXPECT_FALSE(set[14].guessed);
}

} // namespace
