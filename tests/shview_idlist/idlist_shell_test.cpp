// The operations against Wine's own shell: real folders and files on disk.
#include <gtest/gtest.h>

#include "shview/idlist/file_path.h"
#include "shview/idlist/idlist.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/fake_folder.h"
#include "tests/support/wine_ui.h"

namespace {

using testsupport::BytesOf;
using shview::AbsoluteIDList;
using shview::ChildIDList;
using shview::RelativeIDList;

// TempDir's names can come out relative to the working folder; the shell
// parses only full paths.
std::wstring Full(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return n && n < MAX_PATH ? std::wstring(full, n) : path;
}

class IDListShell : public testing::Test {
protected:
    std::wstring File(const wchar_t* name, std::string_view bytes = {}) { return Full(temp.File(name, bytes)); }
    std::wstring Folder(const wchar_t* name) { return Full(temp.Folder(name)); }
    std::wstring Path(const wchar_t* name) { return Full(temp / name); }

    shview::ShellModule module;
    testsupport::TempDir temp;
};

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

TEST_F(IDListShell, ModuleHasTheShellObjects)
{
    EXPECT_TRUE(shview::ShellModule::Ready());
    EXPECT_NE(shview::ShellMalloc(), nullptr);
    EXPECT_NE(shview::DesktopFolder(), nullptr);
    // A nested module shares them.
    IShellFolder* desktop = shview::DesktopFolder();
    {
        shview::ShellModule inner;
        EXPECT_EQ(shview::DesktopFolder(), desktop);
    }
    EXPECT_EQ(shview::DesktopFolder(), desktop);
}

TEST_F(IDListShell, ResolvesAFolderAndReadsItsNamesThroughItsParent)
{
    std::wstring path = Folder(L"Sub Folder");
    AbsoluteIDList absolute = shview::IDListFromPath(path);
    ASSERT_TRUE(absolute);
    EXPECT_GE(shview::IDListCount(absolute.get()), 2u);

    ui::ComPtr<IShellFolder> parent;
    ChildIDList last;
    ASSERT_TRUE(shview::IDListBindParent(absolute.get(), parent, last));
    ASSERT_TRUE(parent);
    ASSERT_TRUE(last);
    EXPECT_EQ(shview::IDListCount(last.get()), 1u);
    EXPECT_EQ(BytesOf(last.get()), BytesOf(shview::IDListLast(absolute.get()).get()));

    std::wstring text;
    EXPECT_TRUE(shview::IDListDisplayName(parent.get(), last.get(), SHGDN_NORMAL, text));
    EXPECT_EQ(text, L"Sub Folder");
    EXPECT_TRUE(shview::IDListDisplayName(parent.get(), last.get(), SHGDN_INFOLDER, text));
    EXPECT_EQ(text, L"Sub Folder");
    EXPECT_TRUE(shview::IDListDisplayName(parent.get(), last.get(), SHGDN_FORPARSING, text));
    EXPECT_TRUE(SamePath(text, path)) << "got " << testing::PrintToString(text);
    // The desktop names the whole identifier the same way.
    EXPECT_TRUE(SamePath(shview::IDListDisplayName(absolute.get(), SHGDN_FORPARSING), path));
}

// A file-system folder has a path, a virtual one none, and a failure leaves
// nothing behind. (Past MAX_PATH Wine's own shell cuts the path short, so the
// depth itself shows only on Windows.)
TEST_F(IDListShell, AFileSystemPathIsReadForRealFoldersOnly)
{
    AbsoluteIDList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
    const std::wstring folder = Folder(L"real");
    AbsoluteIDList real = shview::IDListFromPath(folder);
    ASSERT_TRUE(real);
    struct Row {
        const char* name;
        PCIDLIST_ABSOLUTE list;
        std::wstring path; // empty: none
    };
    const Row rows[] = {
        {"a folder", real.get(), folder},
        {"the computer", computer.get(), L""},
        {"no list", nullptr, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::wstring path = L"stale";
        EXPECT_EQ(shview::IDListFileSystemPath(row.list, path), !row.path.empty());
        EXPECT_TRUE(SamePath(path, row.path)) << testing::PrintToString(path);
    }
}

TEST_F(IDListShell, BindParentOfADriveAndOfTheDesktop)
{
    AbsoluteIDList drive = shview::IDListFromPath(L"C:\\");
    ASSERT_TRUE(drive);
    ui::ComPtr<IShellFolder> parent;
    ChildIDList last;
    ASSERT_TRUE(shview::IDListBindParent(drive.get(), parent, last));
    EXPECT_TRUE(SamePath(shview::IDListDisplayName(parent.get(), last.get(), SHGDN_FORPARSING), L"C:\\"));

    // The drive's first item is a desktop child: its parent is the desktop.
    AbsoluteIDList child = shview::IDListAsAbsolute(shview::IDListFirst(drive.get()));
    ASSERT_TRUE(shview::IDListBindParent(child.get(), parent, last));
    EXPECT_EQ(parent.get(), shview::DesktopFolder());
    EXPECT_EQ(BytesOf(last.get()), BytesOf(child.get()));
    EXPECT_FALSE(shview::IDListParent(child.get()));

    AbsoluteIDList desktop = shview::IDListCombine(nullptr, nullptr);
    ASSERT_TRUE(shview::IDListBindParent(desktop.get(), parent, last));
    EXPECT_EQ(parent.get(), shview::DesktopFolder());
    EXPECT_FALSE(last);
}

TEST_F(IDListShell, CompareThroughTheDesktopOrdersAbsoluteIdentifiers)
{
    AbsoluteIDList a = shview::IDListFromPath(File(L"a.txt"));
    AbsoluteIDList b = shview::IDListFromPath(File(L"b.txt"));
    AbsoluteIDList a2 = shview::IDListFromPath(Path(L"a.txt"));
    ASSERT_TRUE(a && b && a2);
    IShellFolder* desktop = shview::DesktopFolder();
    EXPECT_EQ(shview::IDListCompare(desktop, a.get(), a2.get()), 0);
    EXPECT_LT(shview::IDListCompare(desktop, a.get(), b.get()), 0);
    EXPECT_GT(shview::IDListCompare(desktop, b.get(), a.get()), 0);
}

TEST_F(IDListShell, PacksPathsOfOneFolderInTheirOrder)
{
    std::vector<std::wstring> paths{File(L"c.cur"), File(L"a.cur"), File(L"b.ani")};
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    ASSERT_TRUE(shview::IDListPackPaths(paths, parent, packed));
    ASSERT_TRUE(parent);
    ASSERT_EQ(shview::IDListCount(packed.get()), 3u);

    PCUIDLIST_RELATIVE item = packed.get();
    for (const std::wstring& path : paths) {
        ASSERT_NE(item, nullptr);
        ChildIDList one = shview::IDListFirst(item);
        EXPECT_TRUE(SamePath(shview::IDListDisplayName(parent.get(), one.get(), SHGDN_FORPARSING), path));
        EXPECT_EQ(BytesOf(one.get()), BytesOf(shview::IDListLast(shview::IDListFromPath(path).get()).get()));
        item = shview::IDListRest(item);
    }
    EXPECT_EQ(item, nullptr);
}

TEST_F(IDListShell, PackTakesTheFirstPathsFolderForAll)
{
    std::wstring x = File(L"one\\x.cur");
    std::wstring y = File(L"two\\y.cur");
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    ASSERT_TRUE(shview::IDListPackPaths({x, y}, parent, packed));
    ASSERT_EQ(shview::IDListCount(packed.get()), 2u);

    // The parent is the first path's folder.
    ChildIDList first = shview::IDListFirst(packed.get());
    EXPECT_TRUE(SamePath(shview::IDListDisplayName(parent.get(), first.get(), SHGDN_FORPARSING), x));
    // The second path gave only its last item.
    ChildIDList second = shview::IDListFirst(shview::IDListRest(packed.get()));
    EXPECT_EQ(BytesOf(second.get()), BytesOf(shview::IDListLast(shview::IDListFromPath(y).get()).get()));
}

TEST_F(IDListShell, MissingAndUnixPathsFailCleanly)
{
    std::wstring existing = File(L"here.cur");
    EXPECT_FALSE(shview::IDListFromPath(Path(L"missing.cur")));
    EXPECT_FALSE(shview::IDListFromPath(L"/tmp"));
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    EXPECT_FALSE(shview::IDListPackPaths({existing, Path(L"missing.cur")}, parent, packed));
    EXPECT_FALSE(parent);
    EXPECT_FALSE(packed);
    EXPECT_FALSE(shview::IDListPackPaths({Path(L"missing.cur"), existing}, parent, packed));
    EXPECT_FALSE(shview::IDListPackPaths({existing, L"/tmp"}, parent, packed));
    EXPECT_FALSE(packed);
}

TEST_F(IDListShell, IconIndexOfARealFile)
{
    AbsoluteIDList file = shview::IDListFromPath(File(L"pointer.cur", "x"));
    AbsoluteIDList folder = shview::IDListFromPath(Folder(L"inside"));
    ASSERT_TRUE(file && folder);
    EXPECT_GE(shview::IDListIconIndex(file.get(), SHGFI_SYSICONINDEX), 0);
    EXPECT_GE(shview::IDListIconIndex(folder.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON), 0);
    EXPECT_GE(shview::IDListIconIndex(folder.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON), 0);
    EXPECT_EQ(shview::IDListIconIndex(nullptr, SHGFI_SYSICONINDEX), 0);
}

} // namespace
