// The file list driven by the real folder tree: what the list asks of the
// tree when a folder cannot be read. (The tree's own tests cover opening and
// renaming folders from the list.)
#include <gtest/gtest.h>

#include "shview/folderview/FolderView.h"
#include "tests/shview/fileview/fileview_fixture.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/test_folder.h"

namespace fvtest {

using testsupport::TestFolder;
namespace {

class FileViewTreeTest : public FileViewTest {
protected:
    void SetUp() override
    {
        FileViewTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(tree.Create(host));
        tree.SetBounds(0, 0, 200, 560);
        view.SetBounds(200, 0, 580, 560);
        tree.SetFileView(&view);
        testsupport::PumpUntilIdle();
    }
    void TearDown() override
    {
        tree.SetFileView(nullptr);
        FileViewTest::TearDown();
    }
    TFolderView tree;
};

TEST_F(FileViewTreeTest, TwoUnreadableFoldersDoNotSendTheTreeBackAndForth)
{
    std::wstring a = dir.Folder(L"a");
    std::wstring b = dir.Folder(L"b");
    dir.File(L"a\\in-a.txt", "x");
    tree.SelectPath(a);
    ui::TreeNode aNode = tree.Selected();
    ASSERT_TRUE(aNode);
    ASSERT_EQ(Captions(), std::vector<std::wstring>{L"in-a.txt"});

    auto desktop = TestFolder::Over(idlist::DesktopFolder());
    desktop->unreadable = {a, b};
    testsupport::BoxRecorder boxes; // each folder that cannot be read says so
    {
        idlist::ScopedShellObjects scope(nullptr, desktop.get());
        tree.SelectPath(b);
        testsupport::PumpUntilIdle();
    }
    // b failed and sent the tree back to a, which failed too: there it stays.
    EXPECT_EQ(desktop->enumFailures, 2);
    EXPECT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(tree.Selected(), aNode);
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"in-a.txt"});
    EXPECT_EQ(view.ItemPath(0), a + L"\\in-a.txt");
}

} // namespace
} // namespace fvtest
