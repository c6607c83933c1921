// The drop handling over stand-in panes: where a drop goes, what the shell is
// asked, and a list highlight that a refill during the drag has replaced.
#include "app/drops/pane_drops.h"
#include "tests/support/fake_drop_panes.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const auto kNodeA = reinterpret_cast<ui::TreeNode>(0x10);

// The drop handling over fake panes, with the shell's file operation recorded.
class PaneDropsTest : public ::testing::Test {
protected:
    PaneDropsTest()
    {
        panes.nodesAt = {{1, kNodeA}};
        panes.nodeFolders = {{kNodeA, L"C:\\a"}};
        panes.itemsAt = {{10, 0}, {11, 1}};
        panes.itemFolders = {L"C:\\view\\sub", L"C:\\view\\sub2"};
        panes.view = L"C:\\view";
    }

    struct Call {
        UINT function;
        std::wstring to;
        HWND owner;
        int busy;
    };
    testsupport::FakeDropPanes panes;
    Busy busy;
    PaneDrops drops{panes, busy};
    std::vector<Call> calls;
    int result = 0;
    bool aborted = false;
    ui::ScopedSeam<ui::FileOperationFn> seam{ui::CurrentSeams().fileOperation, [this](SHFILEOPSTRUCTW& op) {
                                                 calls.push_back({op.wFunc, op.pTo, op.hwnd, busy.Count()});
                                                 op.fAnyOperationsAborted = aborted;
                                                 return result;
                                             }};
};

// The real window's tests drop into real folders; these rows are what they
// cannot make happen: the shell failing, the user stopping it, a link.
TEST_F(PaneDropsTest, DropsGoIntoTheFolderUnderThePointerOrTheFolderInView)
{
    enum class Pane { Tree,
                      List };
    struct Row {
        const char* name;
        Pane pane;
        LONG x;            // 0: nothing there
        DWORD effect;      // asked by the keys
        bool virtualView;  // the folder in view has no path
        int result;        // the shell's answer
        bool aborted;      // the user stopped it
        const wchar_t* to; // nullptr: the shell is not asked
        DWORD reported;    // the effect answered
        bool listChanged;
    };
    const Row rows[] = {
        {"tree folder, move", Pane::Tree, 1, DROPEFFECT_MOVE, false, 0, false, L"C:\\a", DROPEFFECT_MOVE, true},
        {"tree, a link does nothing", Pane::Tree, 1, DROPEFFECT_LINK, false, 0, false, nullptr, DROPEFFECT_NONE,
         false},
        {"list elsewhere, virtual view", Pane::List, 0, DROPEFFECT_COPY, true, 0, false, nullptr, DROPEFFECT_NONE,
         false},
        {"the shell fails", Pane::List, 10, DROPEFFECT_MOVE, false, 2, false, L"C:\\view\\sub", DROPEFFECT_NONE,
         false},
        {"the user stops it", Pane::List, 10, DROPEFFECT_COPY, false, 0, true, L"C:\\view\\sub", DROPEFFECT_NONE,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        calls.clear();
        panes.listChanged = false;
        panes.view = row.virtualView ? L"" : L"C:\\view";
        result = row.result;
        aborted = row.aborted;
        DWORD effect = row.effect;
        const std::vector<std::wstring> files{L"D:\\in\\f.txt"};
        if (row.pane == Pane::Tree)
            drops.FolderDrop(files, 0, POINT{row.x, 0}, effect);
        else
            drops.FileDrop(files, 0, POINT{row.x, 0}, effect);
        EXPECT_EQ(row.reported, effect);
        ASSERT_EQ(row.to ? 1u : 0u, calls.size());
        if (row.to) {
            EXPECT_EQ(row.to, calls[0].to);
            EXPECT_EQ(UINT(row.effect == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY), calls[0].function);
            EXPECT_EQ(panes.Owner(), calls[0].owner);
            EXPECT_EQ(1, calls[0].busy);
        }
        EXPECT_EQ(0, busy.Count());
        EXPECT_EQ(row.listChanged, panes.listChanged);
        EXPECT_EQ(nullptr, panes.litNode);
        EXPECT_TRUE(panes.lit.empty());
    }
    // Over a tree folder a link shows as the copy it would be.
    DWORD effect = DROPEFFECT_LINK;
    drops.FolderDragEnter();
    drops.FolderDragOver(0, POINT{1, 0}, effect);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), effect);
    drops.FolderDragLeave();
}

TEST_F(PaneDropsTest, AListRefilledDuringTheDragKeepsNoStaleHighlight)
{
    DWORD effect = DROPEFFECT_MOVE;
    drops.FileDragEnter();
    drops.FileDragOver(0, POINT{11, 0}, effect);
    ASSERT_EQ(std::set<int>{1}, panes.lit);
    struct Row {
        const char* name;
        std::vector<std::wstring> items; // after the refill
        LONG overX;                      // where the pointer is next
        std::set<int> lit;               // highlighted after it
        int kept;
    };
    const Row rows[] = {
        // The same place again: the new item there is highlighted anew.
        {"same items", {L"C:\\view\\sub", L"C:\\view\\sub2"}, 11, {1}, 1},
        // The kept index is past the list's end now; nothing is asked of it.
        {"fewer items", {L"C:\\view\\sub"}, 10, {0}, 0},
        {"over nothing", {L"C:\\view\\sub"}, 0, {}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        panes.Refill(row.items);
        panes.itemCalls.clear();
        effect = DROPEFFECT_MOVE;
        drops.FileDragOver(0, POINT{row.overX, 0}, effect);
        EXPECT_EQ(row.lit, panes.lit);
        EXPECT_EQ(row.kept, drops.HighlightedItem());
        // Only the new item is touched: none of the stale index's.
        for (const auto& [item, on] : panes.itemCalls)
            EXPECT_TRUE(on && item == row.kept) << item;
    }
    // Leaving after a refill touches nothing either.
    drops.FileDragOver(0, POINT{10, 0}, effect);
    panes.Refill({});
    panes.itemCalls.clear();
    drops.FileDragLeave();
    EXPECT_TRUE(panes.itemCalls.empty());
    EXPECT_EQ(-1, drops.HighlightedItem());
}

} // namespace
