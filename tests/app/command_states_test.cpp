// Which commands are enabled for which panes' state, where the states show,
// and a hold that computes them once.
#include "app/commands/command_states.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

using commands::Focus;
using commands::PaneState;

constexpr commands::StateIds kIds{2, 3, 51};

class RecordingTargets final : public commands::CommandTargets {
public:
    std::map<unsigned, bool> menu, buttons;
    int changes = 0;
    void EnableMenuItem(unsigned id, bool enabled) override
    {
        menu[id] = enabled;
        ++changes;
    }
    void EnableButton(unsigned id, bool enabled) override
    {
        buttons[id] = enabled;
        ++changes;
    }
};

TEST(CommandStates, DeleteRenameAndFolderUpFollowTheFocusedPane)
{
    struct Row {
        const char* name;
        PaneState state;
        bool remove, rename, up;
    };
    const Row rows[] = {
        {"list, one selected", {Focus::List, 1, true, false, true}, true, true, true},
        {"list, none selected", {Focus::List, 0, true, false, true}, false, false, true},
        // The tree's selection does not count while the list has the focus.
        {"list, virtual folder in view", {Focus::List, 2, true, true, false}, true, true, false},
        {"tree, a real folder", {Focus::Tree, 0, true, false, true}, true, true, true},
        {"tree, the root", {Focus::Tree, 3, true, true, false}, false, true, false},
        {"tree, nothing selected", {Focus::Tree, 0, false, true, false}, false, false, false},
        {"neither pane", {Focus::Elsewhere, 4, true, false, true}, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingTargets targets;
        commands::CommandStates states(targets, kIds, [&] { return row.state; });
        states.Update();
        EXPECT_EQ(row.remove, targets.menu.at(kIds.remove));
        EXPECT_EQ(row.remove, targets.buttons.at(kIds.remove));
        EXPECT_EQ(row.rename, targets.menu.at(kIds.rename));
        EXPECT_EQ(row.rename, targets.buttons.at(kIds.rename));
        // Folder up has a tool button and no menu item.
        EXPECT_EQ(row.up, targets.buttons.at(kIds.folderUp));
        EXPECT_EQ(0u, targets.menu.count(kIds.folderUp));
    }
}

TEST(CommandStates, AHoldComputesTheStatesOnceAtTheEndOfTheOutermost)
{
    RecordingTargets targets;
    int reads = 0;
    PaneState state{Focus::List, 0, true, false, true};
    commands::CommandStates states(targets, kIds, [&] {
        ++reads;
        return state;
    });
    {
        commands::CommandStates::Hold outer(states);
        {
            commands::CommandStates::Hold inner(states);
            state.listSelected = 5;
            states.Update();
        }
        states.Update();
        EXPECT_EQ(0, reads);
        EXPECT_EQ(0, targets.changes);
    }
    EXPECT_EQ(1, reads);
    EXPECT_TRUE(targets.menu.at(kIds.remove)); // the state at the hold's end
}

TEST(CommandTable, RunsTheHandlerOfAnIdAndAnswersWhetherItHadOne)
{
    commands::CommandTable table;
    std::vector<unsigned> ran;
    table.Add(7, [&] { ran.push_back(7); });
    table.Add(8, [&] { ran.push_back(8); });
    table.Add(8, [&] { ran.push_back(80); }); // a later handler replaces the earlier
    table.Add(9, nullptr);
    EXPECT_TRUE(table.Run(7));
    EXPECT_TRUE(table.Run(8));
    EXPECT_FALSE(table.Run(9));
    EXPECT_FALSE(table.Run(10));
    EXPECT_EQ((std::vector<unsigned>{7, 80}), ran);
}

} // namespace
