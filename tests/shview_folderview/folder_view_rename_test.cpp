// In-place renames in the tree whatever the shell does meanwhile (a rebuild
// from its dialogs' message loop, no new identifier), and the busy pairs
// around the tree's fills and renames.
#include "tests/shview_folderview/folder_view_fixture.h"
#include "tests/shview_folderview/shell_fakes.h"
#include "tests/support/busy_recorder.h"

namespace fvtest {
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
        ProxyDesktop desktop(shview::DesktopFolder());
        testsupport::BusyRecorder busy;
        busy.Attach(tree->OnBusy);
        int depthInRename = -1;
        desktop.duringRename = [&] {
            depthInRename = busy.depth;
            if (row.rebuild)
                tree->BuildTree();
        };
        desktop.withholdNewID = row.withhold;
        {
            shview::ScopedShellObjects scope(nullptr, &desktop);
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
        shview::AbsoluteIDList absolute = tree->NodeIDList(found);
        EXPECT_TRUE(SamePath(shview::IDListDisplayName(absolute.get(), SHGDN_FORPARSING), now));
        ui::TreeNode aNode = NodeOf(a);
        ASSERT_TRUE(aNode);
        EXPECT_EQ(ChildTexts(aNode), std::vector<std::wstring>{row.to});
        from = now;
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
