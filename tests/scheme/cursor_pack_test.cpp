// What a cursor pack's setup file makes of an install for this user: the
// scheme, the files it names, and the packs that are refused.
#include "scheme/cursor_pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using scheme::PackProblem;

namespace {

// A pack as they are written: the scheme line and the copy list are the parts a row changes.
std::wstring Pack(const std::wstring& schemeLine, const std::wstring& copies = L"arrow.cur\nbusy.ani\n",
                  const std::wstring& extra = L"")
{
    return L"[Version]\nsignature=\"$CHICAGO$\"\n\n"
           L"[DefaultInstall]\nCopyFiles = Scheme.Cur\nAddReg = Scheme.Reg\n\n"
           L"[DestinationDirs]\nScheme.Cur = 10,\"%CUR_DIR%\"\n\n"
           L"[Scheme.Reg]\nHKCU,\"Control Panel\\Cursors\",Arrow,0x00020000,\"%10%\\%CUR_DIR%\\arrow.cur\"\n" +
           schemeLine + L"\n\n[Scheme.Cur]\n" + copies + L"\n" + extra +
           L"\n[Strings]\nCUR_DIR = \"Cursors\\Neon\"\nSCHEME_NAME = \"Neon\"\n";
}

const std::wstring kScheme =
    L"HKCU,\"Control Panel\\Cursors\\Schemes\",\"%SCHEME_NAME%\",0x00020000,"
    L"\"%10%\\%CUR_DIR%\\arrow.cur,,%10%\\%CUR_DIR%\\busy.ani,%10%\\%CUR_DIR%\\busy.ani\"";

scheme::PackPlan Plan(const std::wstring& text)
{
    return scheme::MakePackPlan(scheme::ReadInf(text));
}

// Every role's entry: the first ones given, the others empty.
std::vector<std::wstring> Entries(std::vector<std::wstring> first)
{
    first.resize(scheme::kMouseRoleCount);
    return first;
}

// A line of the pack's own for a role's value.
std::wstring RoleLine(const std::wstring& role, const std::wstring& file)
{
    return L"HKCU,\"Control Panel\\Cursors\"," + role + L",0x00020000,\"" + file + L"\"\n";
}

TEST(CursorPack, APackGivesItsSchemeAndTheFilesItNames)
{
    const scheme::PackPlan plan = Plan(Pack(kScheme, L"arrow.cur\nbusy.ani\nreadme.txt\n"));
    ASSERT_EQ(PackProblem::None, plan.problem) << plan.detail;
    EXPECT_EQ(L"Neon", plan.schemeName);
    EXPECT_EQ(L"Neon", plan.folderName);
    EXPECT_EQ(Entries({L"arrow.cur", L"", L"busy.ani", L"busy.ani"}), plan.entries);
    ASSERT_EQ(2u, plan.files.size()); // each file once, and only those the scheme names
    EXPECT_EQ(L"arrow.cur", plan.files[0].source);
    EXPECT_EQ(L"busy.ani", plan.files[1].name);
}

// A role's own line decides its file; the list's entry at the role's place
// decides the others, however the author ordered or padded the list.
TEST(CursorPack, EachRoleGetsItsOwnLinesFileElseTheListsAtItsPlace)
{
    const auto at = [](const wchar_t* name) { return L"%10%\\%CUR_DIR%\\" + std::wstring(name); };
    const std::wstring hand = L",,,,,,,,,,,,,," + at(L"link.cur,");
    const std::wstring swapped = hand + at(L"person.cur,") + at(L"pin.cur");
    const struct {
        const wchar_t* what;
        std::wstring lines, list;
        std::wstring files;   // Hand, Pin and Person's
        std::wstring origins; // L: a role line, S: the scheme list, N: neither
    } rows[] = {
        {L"Pin and Person swapped", RoleLine(L"Pin", at(L"pin.cur")) + RoleLine(L"Person", at(L"person.cur")),
         swapped, L"link.cur,pin.cur,person.cur", L"SLL"},
        {L"more entries than roles", RoleLine(L"person", at(L"pin.cur")), swapped + L"," + at(L"extra.cur"),
         L"link.cur,person.cur,pin.cur", L"SSL"},
        {L"a shorter list", RoleLine(L"Pin", L"%SystemRoot%\\Cursors\\Neon\\pin.cur"), hand, L"link.cur,pin.cur,",
         L"SLN"},
        {L"an empty line, a folder alone, the last of two lines",
         RoleLine(L"Hand", L"") + RoleLine(L"Pin", at(L"link.cur")) + RoleLine(L"Pin", at(L"pin.cur")),
         hand + at(L"gone.cur,") + at(L""), L",pin.cur,", L"LLS"},
        {L"other keys and values, and deleting lines",
         RoleLine(L"Pin2", at(L"pin.cur")) + L"HKCU,\"Control Panel\\Mouse\",Pin,,\"" + at(L"pin.cur\"\n") +
             L"HKCU,\"Control Panel\\Cursors\",Pin,0x4\n",
         swapped, L"link.cur,person.cur,pin.cur", L"SSS"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const scheme::PackPlan plan = Plan(Pack(row.lines + L"HKCU,\"Control Panel\\Cursors\\Schemes\",Neon,,\"" +
                                                    row.list + L"\"",
                                                L"arrow.cur\nlink.cur\npin.cur\nperson.cur\n"));
        ASSERT_EQ(PackProblem::None, plan.problem) << plan.detail;
        // The pack's own Arrow line, then nothing up to Hand.
        EXPECT_EQ(Entries({L"arrow.cur"}), Entries({plan.entries.begin(), plan.entries.begin() + 14}));
        EXPECT_EQ(row.files, plan.entries[14] + L"," + plan.entries[15] + L"," + plan.entries[16]);
        const std::array<scheme::PackRole, scheme::kMouseRoleCount> roles = scheme::PackRoles(plan);
        std::wstring origins;
        for (std::size_t i = 14; i < 17; ++i) {
            origins += L"NLS"[int(roles[i].origin)];
            EXPECT_EQ(plan.entries[i], roles[i].source); // the files lie beside the setup file
        }
        EXPECT_EQ(row.origins, origins);
    }
}

// Files listed in [SourceDisksFiles] come from their disk's folder and
// sub-folder; the others from the pack's folder; none from outside it.
TEST(CursorPack, SourceDisksNameWhereInThePackAFileLies)
{
    const std::wstring disks = L"[SourceDisksNames]\n1 = \"Disk\",,,\"\\Neon\\\"\n2=\"Flat\"\n"
                               L"[SourceDisksNames.amd64]\n3 = d,,,\"..\\Neon\"\n4=d,,,C:\\x\n";
    const struct {
        const wchar_t* what;
        std::wstring files;
        PackProblem problem;
        std::wstring detail; // the source of busy.ani, or the problem's detail
    } rows[] = {
        {L"a disk folder and a sub-folder", L"busy.ani = 1,Anim\n", PackProblem::None, L"Neon\\Anim\\busy.ani"},
        {L"a disk without a folder", L"BUSY.ANI = 2\n", PackProblem::None, L"busy.ani"},
        {L"a file not listed", L"arrow.cur = 1\n", PackProblem::None, L"busy.ani"},
        {L"the platform's own list first", L"busy.ani=2\n[SourceDisksFiles.amd64]\nbusy.ani=1\n", PackProblem::None,
         L"Neon\\busy.ani"},
        {L"a disk folder that climbs out", L"busy.ani = 3\n", PackProblem::ClimbsOut, L"..\\Neon"},
        {L"an absolute disk folder", L"busy.ani = 4\n", PackProblem::ClimbsOut, L"C:\\x"},
        {L"a sub-folder that climbs out", L"busy.ani = 2,..\\..\n", PackProblem::ClimbsOut, L"..\\.."},
        {L"an unknown disk", L"busy.ani = 9\n", PackProblem::Malformed, L"26"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const scheme::PackPlan plan =
            Plan(Pack(kScheme, L"arrow.cur\nbusy.ani\n", disks + L"[SourceDisksFiles]\n" + row.files));
        EXPECT_EQ(row.problem, plan.problem);
        if (row.problem == PackProblem::None) {
            ASSERT_EQ(2u, plan.files.size());
            EXPECT_EQ(row.detail, plan.files[1].source);
            EXPECT_EQ(L"busy.ani", plan.files[1].name);
        } else {
            EXPECT_EQ(row.detail, plan.detail);
        }
    }
}

TEST(CursorPack, TheFormsPacksWriteTheirSchemeIn)
{
    const struct {
        const wchar_t* what;
        std::wstring text;
        std::vector<std::wstring> entries;
        std::vector<std::wstring> sources;
    } rows[] = {
        {L"text value, other case, a copied name taken from another source",
         L"[defaultinstall.nt]\ncopyfiles=@Arrow.cur, list\naddreg=r\n[destinationdirs]\ndefaultdestdir=010,cursors\n"
         L"[r]\nhkey_current_user,control panel\\cursors\\schemes\\,My,,"
         L"\"%10%\\Cursors\\arrow.CUR,%windir%/cursors//b.cur\"\n"
         L"[list]\nb.cur,src\\b1.cur\n",
         Entries({L"Arrow.cur", L"b.cur"}),
         {L"Arrow.cur", L"src\\b1.cur"}},
        {L"the .NTamd64 form before the plain one; more entries than roles",
         L"[DefaultInstall]\nAddReg=none\n[DefaultInstall.NTamd64]\nCopyFiles=c\nAddReg=r\n[DestinationDirs]\nc=17\n"
         L"[r]\nHKCU,\"Control Panel\\Cursors\\Schemes\",S,0x20000,"
         L"\",,,,,,,,,,,,,,,,%17%\\a.cur,%17%\\missing.cur\"\n[c]\na.cur\n",
         Entries({L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"", L"a.cur"}),
         {L"a.cur"}},
        {L"%SystemRoot% for the Windows folder; deleting lines write nothing",
         L"[DefaultInstall]\nCopyFiles=c\nAddReg=r\n[DestinationDirs]\nc=10,Cursors\n"
         L"[r]\nHKCU,\"Control Panel\\Cursors\\Schemes\",Old,0x4\n"
         L"HKCU,\"Control Panel\\Cursors\\Schemes\",New,,%SystemRoot%\\Cursors\\a.cur\n[c]\na.cur\n",
         Entries({L"a.cur"}),
         {L"a.cur"}},
        {L"a read-me list the file does not have, in the cursors' folder",
         Pack(kScheme, L"arrow.cur\nbusy.ani\n",
              L"[DefaultInstall.NT]\nCopyFiles=Scheme.Cur,Scheme.Txt\nAddReg=Scheme.Reg\n"
              L"[DestinationDirs]\nScheme.Txt = 10,\"%CUR_DIR%\"\n"),
         Entries({L"arrow.cur", L"", L"busy.ani", L"busy.ani"}),
         {L"arrow.cur", L"busy.ani"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const scheme::PackPlan plan = Plan(row.text);
        ASSERT_EQ(PackProblem::None, plan.problem) << plan.detail;
        EXPECT_EQ(row.entries, plan.entries);
        std::vector<std::wstring> sources;
        for (const auto& file : plan.files)
            sources.push_back(file.source);
        EXPECT_EQ(row.sources, sources);
    }
}

TEST(CursorPack, BadPacksAreRefusedWithWhatIsWrong)
{
    const std::wstring key = L"HKCU,\"Control Panel\\Cursors\\Schemes\",";
    const std::wstring reg = key + L"\"%SCHEME_NAME%\",0x00020000,";
    // The install section again, in the form read first.
    const std::wstring nt = L"[DefaultInstall.NT]\nAddReg=Scheme.Reg\nCopyFiles=";
    const struct {
        const wchar_t* what;
        std::wstring text;
        PackProblem problem;
        std::wstring detail;
    } rows[] = {
        {L"no scheme", Pack(L""), PackProblem::NoScheme, L""},
        {L"a scheme of another key", Pack(L"HKLM" + key.substr(4) + L"x,,a"), PackProblem::NoScheme, L""},
        {L"no install section", L"[Install]\nAddReg=r\n[r]\n" + kScheme + L"\n", PackProblem::NoScheme, L""},
        {L"an unreadable line anywhere", Pack(kScheme, L"arrow.cur\nbusy.ani\n", L"[x]\n\"open\n"),
         PackProblem::Malformed, L"20"},
        {L"flags that are no number", Pack(key + L"x,0xZ,a"), PackProblem::Malformed, L"13"},
        {L"a scheme that is no text", Pack(key + L"x,0x1,a"), PackProblem::Malformed, L"13"},
        {L"an AddReg line of one field", Pack(L"HKCU"), PackProblem::Malformed, L"13"},
        {L"a missing section", Pack(kScheme, L"arrow.cur", L"[DefaultInstall.NT]\nAddReg=Nowhere,Scheme.Reg\n"),
         PackProblem::MissingSection, L"Nowhere"},
        {L"a missing copy list the scheme needs",
         Pack(kScheme, L"arrow.cur", nt + L"Scheme.Cur,Notes,More\n[DestinationDirs]\nMore=10,Cursors\\Neon\n"),
         PackProblem::MissingSection, L"More"},
        {L"a directory id that is no number",
         Pack(kScheme, L"arrow.cur", nt + L"@arrow.cur\n[DestinationDirs]\nDefaultDestDir=windows\n"),
         PackProblem::Malformed, L"21"},
        {L"a copy list's folder that is no number",
         Pack(kScheme, L"arrow.cur", nt + L"List\n[List]\narrow.cur\n[DestinationDirs]\nList=windows\n"),
         PackProblem::Malformed, L"23"},
        {L"a copied name that climbs out", Pack(kScheme, L"..\\arrow.cur"), PackProblem::ClimbsOut, L"..\\arrow.cur"},
        {L"a source that climbs out", Pack(kScheme, L"arrow.cur,sub\\..\\..\\x.cur"), PackProblem::ClimbsOut,
         L"sub\\..\\..\\x.cur"},
        {L"an absolute source", Pack(kScheme, L"arrow.cur,C:\\Windows\\x.cur"), PackProblem::ClimbsOut,
         L"C:\\Windows\\x.cur"},
        {L"a rooted source", Pack(kScheme, L"arrow.cur,\\x.cur"), PackProblem::ClimbsOut, L"\\x.cur"},
        {L"a share", Pack(kScheme, L"arrow.cur,\\\\server\\x.cur"), PackProblem::ClimbsOut, L"\\\\server\\x.cur"},
        {L"a copied name with a wild card", Pack(kScheme, L"*.cur"), PackProblem::BadFileName, L"*.cur"},
        {L"a device's name copied", Pack(kScheme, L"arrow.cur\nCOM1.cur"), PackProblem::BadFileName, L"COM1.cur"},
        {L"a device's name as a folder of the source", Pack(kScheme, L"arrow.cur,sub\\Aux \\a.cur"),
         PackProblem::BadFileName, L"sub\\Aux \\a.cur"},
        {L"a role line naming a file the pack does not ship",
         Pack(RoleLine(L"Wait", L"%10%\\Cursors\\Neon\\wait.ani") + kScheme), PackProblem::NotShipped,
         L"%10%\\Cursors\\Neon\\wait.ani"},
        {L"a scheme file's name with a comma",
         Pack(RoleLine(L"Wait", L"%10%\\Cursors\\Neon\\a,b.cur") + kScheme, L"arrow.cur\nbusy.ani\n\"a,b.cur\""),
         PackProblem::BadFileName, L"a,b.cur"},
        {L"an entry the pack does not copy", Pack(kScheme, L"arrow.cur"), PackProblem::NotShipped,
         L"%10%\\Cursors\\Neon\\busy.ani"},
        {L"an entry in another folder", Pack(reg + L"\",%11%\\Cursors\\Neon\\arrow.cur\""), PackProblem::NotShipped,
         L"%11%\\Cursors\\Neon\\arrow.cur"},
        {L"an entry with no folder", Pack(reg + L"\",arrow.cur\""), PackProblem::NotShipped, L"arrow.cur"},
        {L"two files of one name",
         Pack(reg + L"\"%10%\\Cursors\\Neon\\arrow.cur,%11%\\arrow.cur\"", L"arrow.cur",
              nt + L"Scheme.Cur,@arrow.cur\n"),
         PackProblem::NameClash, L"arrow.cur"},
        {L"a name that gives no folder", Pack(key + L"\" . \",,a"), PackProblem::BadSchemeName, L"."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const scheme::PackPlan plan = Plan(row.text);
        EXPECT_EQ(row.problem, plan.problem);
        EXPECT_EQ(row.detail, plan.detail);
        EXPECT_TRUE(plan.files.empty() && plan.entries.empty());
    }
}

TEST(CursorPack, OfferedWhenTheInstallSectionWritesASchemeEvenABadOne)
{
    EXPECT_TRUE(scheme::WritesCursorScheme(scheme::ReadInf(Pack(kScheme, L"..\\x.cur", L"[x]\n\"open\n"))));
    EXPECT_FALSE(scheme::WritesCursorScheme(scheme::ReadInf(Pack(L""))));
    EXPECT_FALSE(scheme::WritesCursorScheme(scheme::ReadInf(L"[Version]\nClass=Mouse\n")));
}

TEST(CursorPack, FolderNamesForSchemeNames)
{
    const struct {
        const wchar_t* scheme;
        const wchar_t* folder;
    } rows[] = {
        {L"Neon Glow", L"Neon Glow"},
        {L"a/b\\c:d*e?f\"g<h>i|j,k%l", L"a_b_c_d_e_f_g_h_i_j_k_l"},
        {L"  x.. ", L"x"},
        {L"\x3042\x3044", L"\x3042\x3044"},
        {L"con", L"_con"},
        {L"Nul.cur", L"_Nul.cur"},
        {L"COM1", L"_COM1"},
        {L"COM0", L"COM0"},
        {L"nul .txt", L"_nul .txt"},
        {L"lpt\u00B2", L"_lpt\u00B2"},
        {L"CONSOLE", L"CONSOLE"},
        {L"...", L""},
        {L"", L""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.folder, scheme::PackFolderName(row.scheme)) << row.scheme;
    EXPECT_EQ(80u, scheme::PackFolderName(std::wstring(200, L'x')).size());
}

} // namespace
