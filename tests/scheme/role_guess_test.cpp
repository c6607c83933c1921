// Roles guessed from cursor files' names: every file of the cursor corpus
// (tests/data), each folder as a set, and the names of other packs.
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

// Every file of the corpus, by its path below the corpus folder, and the
// role its name stands for ("-": none; a tool's cursor is no role).
const std::map<std::wstring, std::wstring> kCorpusRoles = {
    {L"capitaine/master/alt-select.cur", L"UpArrow"},
    {L"capitaine/master/busy.ani", L"Wait"},
    {L"capitaine/master/diagonal-resize-1.cur", L"SizeNWSE"},
    {L"capitaine/master/diagonal-resize-2.cur", L"SizeNESW"},
    {L"capitaine/master/handwriting.cur", L"NWPen"},
    {L"capitaine/master/help-select.cur", L"Help"},
    {L"capitaine/master/horizontal-resize.cur", L"SizeWE"},
    {L"capitaine/master/link-select.cur", L"Hand"},
    {L"capitaine/master/move.cur", L"SizeAll"},
    {L"capitaine/master/normal-select.cur", L"Arrow"},
    {L"capitaine/master/pirate.cur", L"-"},
    {L"capitaine/master/precision-select.cur", L"Crosshair"},
    {L"capitaine/master/text-select.cur", L"IBeam"},
    {L"capitaine/master/unavailable.cur", L"No"},
    {L"capitaine/master/vertical-resize.cur", L"SizeNS"},
    {L"capitaine/master/working-in-background.ani", L"AppStarting"},
    {L"capitaine/pr53/Capitaine Cursors/Alternate.cur", L"UpArrow"},
    {L"capitaine/pr53/Capitaine Cursors/Busy.ani", L"Wait"},
    {L"capitaine/pr53/Capitaine Cursors/Diagonal Resize 1.cur", L"SizeNWSE"},
    {L"capitaine/pr53/Capitaine Cursors/Diagonal Resize 2.cur", L"SizeNESW"},
    {L"capitaine/pr53/Capitaine Cursors/Handwriting.cur", L"NWPen"},
    {L"capitaine/pr53/Capitaine Cursors/Help.cur", L"Help"},
    {L"capitaine/pr53/Capitaine Cursors/Horizontal Resize.cur", L"SizeWE"},
    {L"capitaine/pr53/Capitaine Cursors/Link.cur", L"Hand"},
    {L"capitaine/pr53/Capitaine Cursors/Move.cur", L"SizeAll"},
    {L"capitaine/pr53/Capitaine Cursors/Normal.cur", L"Arrow"},
    {L"capitaine/pr53/Capitaine Cursors/Precision.cur", L"Crosshair"},
    {L"capitaine/pr53/Capitaine Cursors/Text.cur", L"IBeam"},
    {L"capitaine/pr53/Capitaine Cursors/Unavailable.cur", L"No"},
    {L"capitaine/pr53/Capitaine Cursors/Vertical Resize.cur", L"SizeNS"},
    {L"capitaine/pr53/Capitaine Cursors/Working.ani", L"AppStarting"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/arrow.cur", L"Arrow"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/crosshair.cur", L"Crosshair"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/help.cur", L"Help"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/link.cur", L"Hand"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/move.cur", L"SizeAll"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/pen.cur", L"NWPen"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/size_ew.cur", L"SizeWE"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/size_nesw.cur", L"SizeNESW"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/size_ns.cur", L"SizeNS"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/size_nwse.cur", L"SizeNWSE"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/text.cur", L"IBeam"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/unavailable.cur", L"No"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/up_arrow.cur", L"UpArrow"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/wait.ani", L"Wait"},
    {L"catppuccin/catppuccin-mocha-dark-cursors/working.ani", L"AppStarting"},
    {L"gdk-pixbuf/test-animation.ani", L"-"},
    {L"gdk-pixbuf/test-images/fail/CVE-2022-48622.ani", L"-"},
    {L"imhex-patterns/ani.compatibility.hexpat.ani", L"-"},
    {L"imhex-patterns/ani.hexpat.ani", L"-"},
    {L"jfhbrook-icons/Link.ani", L"Hand"},
    {L"reconstruct/cultiline.cur", L"-"},
    {L"reconstruct/domain.cur", L"-"},
    {L"reconstruct/ellipse.cur", L"-"},
    {L"reconstruct/grid.cur", L"-"},
    {L"reconstruct/line.cur", L"-"},
    {L"reconstruct/magnify.cur", L"-"},
    {L"reconstruct/multiline.cur", L"-"},
    {L"reconstruct/outfire.cur", L"-"},
    {L"reconstruct/pencil.cur", L"NWPen"},
    {L"reconstruct/precision.cur", L"Crosshair"},
    {L"reconstruct/rectangle.cur", L"-"},
    {L"reconstruct/rotate.cur", L"-"},
    {L"reconstruct/scalpel.cur", L"-"},
    {L"reconstruct/scissor.cur", L"-"},
    {L"reconstruct/wait.ani", L"Wait"},
    {L"reconstruct/wildfire.cur", L"-"},
    {L"reconstruct/xy.cur", L"-"},
    {L"reconstruct/zline.cur", L"-"},
    {L"reconstruct/zoom.cur", L"-"},
    {L"webamp/base-2.91/CLOSE.CUR", L"-"},
    {L"webamp/base-2.91/EQSLID.CUR", L"-"},
    {L"webamp/base-2.91/EQTITLE.CUR", L"-"},
    {L"webamp/base-2.91/NORMAL.CUR", L"Arrow"},
    {L"webamp/base-2.91/POSBAR.CUR", L"-"},
    {L"webamp/base-2.91/PSIZE.CUR", L"-"},
    {L"webamp/fixtures/AfterShock_Digital_2003/close.cur", L"-"},
    {L"webamp/fixtures/Green Dimension v2/eqslid.cur", L"-"},
    {L"webamp/fixtures/Super_Mario_Amp_2/close.cur", L"-"},
    {L"webamp/fixtures/Super_Mario_Amp_2/eqslid.cur", L"-"},
    {L"webamp/fixtures/piano.ani", L"-"},
};

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

TEST(RoleGuess, EveryCorpusFileAsItsNameSays)
{
    std::size_t seen = 0;
    for (const auto& [folder, files] : CorpusFolders())
        for (const std::wstring& file : files) {
            ++seen;
            const auto expected = kCorpusRoles.find(file);
            ASSERT_NE(expected, kCorpusRoles.end()) << "a corpus file without a row: " << file;
            EXPECT_EQ(RoleName(scheme::GuessRole(file)), expected->second) << file;
        }
    EXPECT_EQ(seen, kCorpusRoles.size());
}

// Each folder as one set: every role its files stand for gets its file, and
// no other role gets any.
TEST(RoleGuess, EveryCorpusFolderAsASet)
{
    for (const auto& [folder, files] : CorpusFolders()) {
        SCOPED_TRACE(testing::Message() << folder);
        std::map<std::wstring, std::wstring> expected; // role -> file
        for (const std::wstring& file : files)
            if (kCorpusRoles.at(file) != L"-")
                expected[kCorpusRoles.at(file)] = file;
        const scheme::GuessedSet set = scheme::GuessSet(files);
        for (std::size_t role = 0; role < set.size(); ++role) {
            const auto want = expected.find(scheme::MouseRegistry[role].ValueName);
            EXPECT_EQ(set[role].file, want == expected.end() ? L"" : want->second) << role;
            EXPECT_EQ(set[role].guessed, want != expected.end()) << role;
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
        {L"aero_working_xl.ani", L"AppStarting"},
        {L"aero_busy_l.ani", L"Wait"},
        {L"cross_rm.cur", L"Crosshair"},
        {L"beam_r.cur", L"IBeam"},
        {L"aero_pen.cur", L"NWPen"},
        {L"aero_unavail.cur", L"No"},
        {L"aero_ns.cur", L"SizeNS"},
        {L"aero_ew.cur", L"SizeWE"},
        {L"aero_nwse.cur", L"SizeNWSE"},
        {L"aero_nesw.cur", L"SizeNESW"},
        {L"aero_move.cur", L"SizeAll"},
        {L"aero_up.cur", L"UpArrow"},
        {L"aero_link.cur", L"Hand"},
        {L"aero_pin.cur", L"Pin"},
        {L"aero_person.cur", L"Person"},
        {L"left_ptr.cur", L"Arrow"},
        {L"left_ptr_watch.ani", L"AppStarting"},
        {L"xterm.cur", L"IBeam"},
        {L"fleur.cur", L"SizeAll"},
        {L"size_fdiag.cur", L"SizeNWSE"},
        {L"size_bdiag.cur", L"SizeNESW"},
        {L"sb_h_double_arrow.cur", L"SizeWE"},
        {L"not-allowed.cur", L"No"},
        {L"UpArrow.cur", L"UpArrow"},
        {L"SizeNS.cur", L"SizeNS"},
        {L"IBeam.cur", L"IBeam"},
        {L"AppStarting.ani", L"AppStarting"},
        {L"01. Normal Select.cur", L"Arrow"},
        {L"11 Diagonal Resize 1.cur", L"SizeNWSE"},
        {L"12_diagonal_2.cur", L"SizeNESW"},
        {L"dgn1.cur", L"SizeNWSE"},
        {L"15-Location Select.cur", L"Pin"},
        {L"16-Person Select.cur", L"Person"},
        {L"Hand.cur", L"Hand"},
        {L"標準の選択.cur", L"Arrow"},
        {L"ヘルプの選択.cur", L"Help"},
        {L"ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞで作業中.ani", L"AppStarting"},
        {L"待ち状態.ani", L"Wait"},
        {L"領域選択.cur", L"Crosshair"},
        {L"ﾃｷｽﾄ選択.cur", L"IBeam"},
        {L"手書き.cur", L"NWPen"},
        {L"作業領域外.cur", L"No"},
        {L"上下に拡大／縮小.cur", L"SizeNS"},
        {L"左右に拡大・縮小.cur", L"SizeWE"},
        {L"斜めに拡大／縮小１.cur", L"SizeNWSE"},
        {L"斜めに拡大／縮小２.cur", L"SizeNESW"},
        {L"移動.cur", L"SizeAll"},
        {L"代替選択.cur", L"UpArrow"},
        {L"リンクの選択.cur", L"Hand"},
        {L"位置の選択.cur", L"Pin"},
        {L"人の選択.cur", L"Person"},
        {L"ＨＥＬＰ.cur", L"Help"},
        // Words inside other words are no role.
        {L"spinner.ani", L"-"},
        {L"snowman.cur", L"-"},
        {L"open.cur", L"-"},
        {L"popup.cur", L"-"},
        {L"news.cur", L"-"},
        {L"size.cur", L"-"},
        {L"readme", L"-"},
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
