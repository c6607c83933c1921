// The operations against Wine's own shell: real folders and files on disk.
#include <gtest/gtest.h>

#include "idlist/file_path.h"
#include "idlist/idlist.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/fake_folder.h"
#include "tests/support/wine_ui.h"

namespace {

using testsupport::BytesOf;
using idlist::AbsoluteIDList;
using idlist::ChildIDList;
using idlist::RelativeIDList;

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

    idlist::ShellModule module;
    testsupport::TempDir temp;
};

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

TEST_F(IDListShell, ModuleHasTheShellObjects)
{
    EXPECT_TRUE(idlist::ShellModule::Ready());
    EXPECT_NE(idlist::ShellMalloc(), nullptr);
    EXPECT_NE(idlist::DesktopFolder(), nullptr);
    // A nested module shares them.
    IShellFolder* desktop = idlist::DesktopFolder();
    {
        idlist::ShellModule inner;
        EXPECT_EQ(idlist::DesktopFolder(), desktop);
    }
    EXPECT_EQ(idlist::DesktopFolder(), desktop);
}

TEST_F(IDListShell, ResolvesAFolderAndReadsItsNamesThroughItsParent)
{
    std::wstring path = Folder(L"Sub Folder");
    AbsoluteIDList absolute = idlist::IDListFromPath(path);
    ASSERT_TRUE(absolute);
    EXPECT_GE(idlist::IDListCount(absolute.get()), 2u);

    ui::ComPtr<IShellFolder> parent;
    ChildIDList last;
    ASSERT_TRUE(idlist::IDListBindParent(absolute.get(), parent, last));
    ASSERT_TRUE(parent);
    ASSERT_TRUE(last);
    EXPECT_EQ(idlist::IDListCount(last.get()), 1u);
    EXPECT_EQ(BytesOf(last.get()), BytesOf(idlist::IDListLast(absolute.get()).get()));

    std::wstring text;
    EXPECT_TRUE(idlist::IDListDisplayName(parent.get(), last.get(), SHGDN_NORMAL, text));
    EXPECT_EQ(text, L"Sub Folder");
    EXPECT_TRUE(idlist::IDListDisplayName(parent.get(), last.get(), SHGDN_INFOLDER, text));
    EXPECT_EQ(text, L"Sub Folder");
    EXPECT_TRUE(idlist::IDListDisplayName(parent.get(), last.get(), SHGDN_FORPARSING, text));
    EXPECT_TRUE(SamePath(text, path)) << "got " << testing::PrintToString(text);
    // The desktop names the whole identifier the same way.
    EXPECT_TRUE(SamePath(idlist::IDListDisplayName(absolute.get(), SHGDN_FORPARSING), path));
}

// A file-system folder has a path, a virtual one none, and a failure leaves
// nothing behind. (Past MAX_PATH Wine's own shell cuts the path short, so the
// depth itself shows only on Windows.)
TEST_F(IDListShell, AFileSystemPathIsReadForRealFoldersOnly)
{
    AbsoluteIDList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
    const std::wstring folder = Folder(L"real");
    AbsoluteIDList real = idlist::IDListFromPath(folder);
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
        EXPECT_EQ(idlist::IDListFileSystemPath(row.list, path), !row.path.empty());
        EXPECT_TRUE(SamePath(path, row.path)) << testing::PrintToString(path);
    }
}

TEST_F(IDListShell, BindParentOfADriveAndOfTheDesktop)
{
    AbsoluteIDList drive = idlist::IDListFromPath(L"C:\\");
    ASSERT_TRUE(drive);
    ui::ComPtr<IShellFolder> parent;
    ChildIDList last;
    ASSERT_TRUE(idlist::IDListBindParent(drive.get(), parent, last));
    EXPECT_TRUE(SamePath(idlist::IDListDisplayName(parent.get(), last.get(), SHGDN_FORPARSING), L"C:\\"));

    // The drive's first item is a desktop child: its parent is the desktop.
    AbsoluteIDList child = idlist::IDListAsAbsolute(idlist::IDListFirst(drive.get()));
    ASSERT_TRUE(idlist::IDListBindParent(child.get(), parent, last));
    EXPECT_EQ(parent.get(), idlist::DesktopFolder());
    EXPECT_EQ(BytesOf(last.get()), BytesOf(child.get()));
    EXPECT_FALSE(idlist::IDListParent(child.get()));

    AbsoluteIDList desktop = idlist::IDListCombine(nullptr, nullptr);
    ASSERT_TRUE(idlist::IDListBindParent(desktop.get(), parent, last));
    EXPECT_EQ(parent.get(), idlist::DesktopFolder());
    EXPECT_FALSE(last);
}

TEST_F(IDListShell, CompareThroughTheDesktopOrdersAbsoluteIdentifiers)
{
    AbsoluteIDList a = idlist::IDListFromPath(File(L"a.txt"));
    AbsoluteIDList b = idlist::IDListFromPath(File(L"b.txt"));
    AbsoluteIDList a2 = idlist::IDListFromPath(Path(L"a.txt"));
    ASSERT_TRUE(a && b && a2);
    IShellFolder* desktop = idlist::DesktopFolder();
    EXPECT_EQ(idlist::IDListCompare(desktop, a.get(), a2.get()), 0);
    EXPECT_LT(idlist::IDListCompare(desktop, a.get(), b.get()), 0);
    EXPECT_GT(idlist::IDListCompare(desktop, b.get(), a.get()), 0);
}

TEST_F(IDListShell, PacksPathsOfOneFolderInTheirOrder)
{
    std::vector<std::wstring> paths{File(L"c.cur"), File(L"a.cur"), File(L"b.ani")};
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    ASSERT_TRUE(idlist::IDListPackPaths(paths, parent, packed));
    ASSERT_TRUE(parent);
    ASSERT_EQ(idlist::IDListCount(packed.get()), 3u);

    PCUIDLIST_RELATIVE item = packed.get();
    for (const std::wstring& path : paths) {
        ASSERT_NE(item, nullptr);
        ChildIDList one = idlist::IDListFirst(item);
        EXPECT_TRUE(SamePath(idlist::IDListDisplayName(parent.get(), one.get(), SHGDN_FORPARSING), path));
        EXPECT_EQ(BytesOf(one.get()), BytesOf(idlist::IDListLast(idlist::IDListFromPath(path).get()).get()));
        item = idlist::IDListRest(item);
    }
    EXPECT_EQ(item, nullptr);
}

TEST_F(IDListShell, PackTakesTheFirstPathsFolderForAll)
{
    std::wstring x = File(L"one\\x.cur");
    std::wstring y = File(L"two\\y.cur");
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    ASSERT_TRUE(idlist::IDListPackPaths({x, y}, parent, packed));
    ASSERT_EQ(idlist::IDListCount(packed.get()), 2u);

    // The parent is the first path's folder.
    ChildIDList first = idlist::IDListFirst(packed.get());
    EXPECT_TRUE(SamePath(idlist::IDListDisplayName(parent.get(), first.get(), SHGDN_FORPARSING), x));
    // The second path gave only its last item.
    ChildIDList second = idlist::IDListFirst(idlist::IDListRest(packed.get()));
    EXPECT_EQ(BytesOf(second.get()), BytesOf(idlist::IDListLast(idlist::IDListFromPath(y).get()).get()));
}

TEST_F(IDListShell, MissingAndUnixPathsFailCleanly)
{
    std::wstring existing = File(L"here.cur");
    EXPECT_FALSE(idlist::IDListFromPath(Path(L"missing.cur")));
    EXPECT_FALSE(idlist::IDListFromPath(L"/tmp"));
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    EXPECT_FALSE(idlist::IDListPackPaths({existing, Path(L"missing.cur")}, parent, packed));
    EXPECT_FALSE(parent);
    EXPECT_FALSE(packed);
    EXPECT_FALSE(idlist::IDListPackPaths({Path(L"missing.cur"), existing}, parent, packed));
    EXPECT_FALSE(idlist::IDListPackPaths({existing, L"/tmp"}, parent, packed));
    EXPECT_FALSE(packed);
}

TEST_F(IDListShell, IconIndexOfARealFile)
{
    AbsoluteIDList file = idlist::IDListFromPath(File(L"pointer.cur", "x"));
    AbsoluteIDList folder = idlist::IDListFromPath(Folder(L"inside"));
    ASSERT_TRUE(file && folder);
    EXPECT_GE(idlist::IDListIconIndex(file.get(), SHGFI_SYSICONINDEX), 0);
    EXPECT_GE(idlist::IDListIconIndex(folder.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON), 0);
    EXPECT_GE(idlist::IDListIconIndex(folder.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON), 0);
    EXPECT_EQ(idlist::IDListIconIndex(nullptr, SHGFI_SYSICONINDEX), 0);
}

} // namespace
