// What the file list asks of the tree that drives it, seen through a
// recording stand-in for the tree: the list knows the tree only through its
// link, and the link empties when the tree goes.
#include <gtest/gtest.h>

#include "tests/shview/fileview/fileview_fixture.h"
#include "tests/support/test_folder.h"
#include "tests/support/recording_tree.h"

#include <memory>

namespace fvtest {

using testsupport::TestFolder;
namespace {

enum class Tree { None, Linked, Gone };
enum class Action { DoubleClickFolder, DoubleClickFile, ShowUnreadable };

struct LinkRow {
    const char* name;
    Tree tree;
    Action action;
    std::vector<std::wstring> asked; // of the tree, in order
    bool executed;                   // the item was run through the shell instead
};

TEST_F(FileViewTest, TheListAsksItsTreeThroughTheLinkOnly)
{
    const std::wstring sub = dir.Folder(L"sub");
    dir.File(L"note.txt", "x");
    const LinkRow rows[] = {
        {"a folder's double click opens it in the tree", Tree::Linked, Action::DoubleClickFolder, {L"OpenChild"}, false},
        {"a file's double click runs it", Tree::Linked, Action::DoubleClickFile, {}, true},
        {"without a tree a folder is run", Tree::None, Action::DoubleClickFolder, {}, true},
        {"a destroyed tree is not called", Tree::Gone, Action::DoubleClickFolder, {}, true},
        {"an unreadable folder sends the tree back once", Tree::Linked, Action::ShowUnreadable, {L"GoBack"}, false},
        {"an unreadable folder without a tree asks nothing", Tree::Gone, Action::ShowUnreadable, {}, false},
    };
    for (const LinkRow& r : rows) {
        SCOPED_TRACE(r.name);
        Show(Dir());
        view.executed.clear();
        auto tree = std::make_unique<testsupport::RecordingTree>();
        testsupport::RecordingTree* recorder = tree.get();
        std::vector<std::wstring> asked;
        if (r.tree != Tree::None)
            view.LinkTree(tree.get());
        if (r.tree == Tree::Gone) {
            tree.reset();
            recorder = nullptr;
            EXPECT_FALSE(view.FolderView) << "the link empties with the tree";
        }

        switch (r.action) {
        case Action::DoubleClickFolder:
        case Action::DoubleClickFile:
            SelectOnly({r.action == Action::DoubleClickFolder ? L"sub" : L"note.txt"});
            view.DblClick();
            break;
        case Action::ShowUnreadable: {
            auto desktop = TestFolder::Over(idlist::DesktopFolder());
            desktop->unreadable = {sub};
            idlist::ScopedShellObjects scope(nullptr, desktop.get());
            Show(sub);
            break;
        }
        }
        testsupport::PumpUntilIdle();

        if (recorder)
            asked = recorder->Asked();
        EXPECT_EQ(asked, r.asked);
        EXPECT_EQ(!view.executed.empty(), r.executed);
        if (recorder && !recorder->calls.empty() && recorder->calls[0].what == L"OpenChild") {
            EXPECT_EQ(idlist::IDListDisplayName(view.ShellFolder(), recorder->calls[0].first.get(),
                                                SHGDN_INFOLDER | SHGDN_FORPARSING),
                      L"sub");
        }
        view.LinkTree(nullptr);
    }
}

} // namespace
} // namespace fvtest
