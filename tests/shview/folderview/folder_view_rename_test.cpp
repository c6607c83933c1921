// In-place renames in the tree whatever the shell does meanwhile (a rebuild
// from its dialogs' message loop, no new identifier), and the busy pairs
// around the tree's fills and renames.
#include "tests/shview/folderview/folder_view_fixture.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/test_folder.h"
#include "tests/support/busy_recorder.h"

namespace fvtest {

using testsupport::CountingMalloc;
using testsupport::TestFolder;
namespace {

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FolderViewTest, ARenamedNodeIsFoundAgainAfterWhateverRanMeanwhile)
{
    struct Row {
        const char* name;
        bool rebuild;    // the tree is rebuilt inside SetNameOf
        bool withhold;   // SetNameOf hands back no identifier
        const wchar_t* to;
    };
    const Row rows[] = {
        {"plain", false, false, L"b1"},
        {"rebuilt", true, false, L"b2"},
        {"no identifier", false, true, L"b3"},
        {"rebuilt, no identifier", true, true, L"b4"},
    };
    std::wstring from = b;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui::TreeNode node = NodeOf(from);
        ASSERT_TRUE(node);
        tree->Select(NodeOf(a));
        auto desktop = TestFolder::Over(idlist::DesktopFolder());
        testsupport::BusyRecorder busy;
        busy.Attach(tree->OnBusy);
        int depthInRename = -1;
        desktop->duringRename = [&] {
            depthInRename = busy.depth;
            if (row.rebuild)
                tree->BuildTree();
        };
        desktop->withholdNewID = row.withhold;
        {
            idlist::ScopedShellObjects scope(nullptr, desktop.get());
            ASSERT_TRUE(EditAndConfirm(node, row.to));
        }
        std::wstring now = PathOf(std::wstring(L"a\\") + row.to);
        EXPECT_TRUE(FolderExists(now));
        EXPECT_FALSE(FolderExists(from));
        EXPECT_EQ(depthInRename, 1);
        EXPECT_TRUE(busy.Balanced());
        tree->OnBusy = nullptr;
        // The folder's node, wherever the tree now has it, names the folder
        // by its new name; none is left under the old one.
        ui::TreeNode found = NodeOf(now);
        ASSERT_TRUE(found);
        EXPECT_EQ(tree->Text(found), row.to);
        idlist::AbsoluteIDList absolute = tree->NodeIDList(found);
        EXPECT_TRUE(SamePath(idlist::IDListDisplayName(absolute.get(), SHGDN_FORPARSING), now));
        ui::TreeNode aNode = NodeOf(a);
        ASSERT_TRUE(aNode);
        EXPECT_EQ(ChildTexts(aNode), std::vector<std::wstring>{row.to});
        from = now;
    }
}

// Enter without typing renames nothing, and a folder with dots in its name
// gets exactly the name typed, with extensions shown or hidden.
TEST_F(FolderViewTest, TheTypedNameIsTakenAsItIsAndAnUnchangedOneRenamesNothing)
{
    struct Row {
        const char* name;
        const wchar_t* folder;
        const wchar_t* typed; // none: left as it was
        const wchar_t* after;
    };
    const Row rows[] = {
        {"x.cur left", L"x.cur", nullptr, L"x.cur"},
        {"fold.txt left", L"fold.txt", nullptr, L"fold.txt"},
        {"fold.ani.ani renamed", L"fold.ani.ani", L"foldB.ani", L"foldB.ani"},
    };
    for (bool hidden : testsupport::kExtensionSettings) {
        testsupport::ScopedFileExtensions extensions{hidden};
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(testsupport::ExtensionSettingName(hidden)) + ", " + row.name);
            const std::wstring path = temp.Folder(std::wstring(L"files\\") + row.folder);
            tree->BuildTree();
            ui::TreeNode node = NodeOf(path);
            ASSERT_TRUE(node);
            const std::wstring shown = tree->Text(node);
            ASSERT_TRUE(EditAndConfirm(node, row.typed ? std::wstring(row.typed) : shown));
            const std::wstring now = PathOf(std::wstring(L"files\\") + row.after);
            EXPECT_TRUE(FolderExists(now));
            ui::TreeNode found = NodeOf(now);
            ASSERT_TRUE(found);
            EXPECT_EQ(tree->Text(found), row.typed ? std::wstring(row.after) : shown);
            ASSERT_EQ(ChildTexts(NodeOf(files)).size(), 1u) << "one folder, under one name";
            testsupport::RemoveTree(now);
            testsupport::RemoveTree(path);
        }
    }
}

TEST_F(FolderViewTest, FillingANodeRunsBusyInPairs)
{
    testsupport::BusyRecorder busy;
    busy.Attach(tree->OnBusy);
    ui::TreeNode aNode = NodeOf(a);
    ASSERT_TRUE(aNode);
    EXPECT_TRUE(busy.Balanced());
    int before = busy.pairs;
    NodeOf(c); // fills a's and b's children
    EXPECT_GE(busy.pairs, before + 2);
    EXPECT_TRUE(busy.Balanced());
    tree->OnBusy = nullptr;
}

} // namespace
} // namespace fvtest
