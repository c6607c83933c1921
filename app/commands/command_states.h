// Which of the main window's commands are enabled, from the panes' focus and
// selections, shown on the menu bar and the tool bar; and the table that runs
// a command by its id. Window-free: the window reads the panes and the menu
// and buttons stand behind CommandTargets.
#pragma once
#include <functional>
#include <map>
#include <utility>

namespace commands {

enum class Focus { Elsewhere,
                   Tree,
                   List };

// What the states follow.
struct PaneState {
    Focus focus = Focus::Elsewhere;
    int listSelected = 0;            // selected items in the list
    bool treeSelected = false;       // the tree has a selected node
    bool treeSelectedVirtual = true; // ... that is none, the root or without a path
    bool treeSelectedHasParent = false;
};

struct Enabled {
    bool remove = false;
    bool rename = false;
    bool folderUp = false;
};

// Delete and rename for the pane with the focus and its selection (the list:
// any selected item; the tree: rename any node, delete a real folder;
// elsewhere neither); folder up while the tree's node has a parent.
Enabled EnabledFor(const PaneState& state);

// Where a command's state shows.
class CommandTargets {
public:
    virtual ~CommandTargets() = default;
    virtual void EnableMenuItem(unsigned id, bool enabled) = 0;
    virtual void EnableButton(unsigned id, bool enabled) = 0;
};

// The ids of the commands whose states change (the others stay enabled).
struct StateIds {
    unsigned remove;
    unsigned rename;
    unsigned folderUp;
};

class CommandStates {
public:
    CommandStates(CommandTargets& targets, StateIds ids, std::function<PaneState()> read)
        : targets_(targets), ids_(ids), read_(std::move(read))
    {
    }

    // A command's menu item and tool button together.
    void SetEnabled(unsigned id, bool enabled);
    // Reads the panes and applies delete, rename and folder up (which has a
    // button only); nothing while held.
    void Update();

    // Holds the states still while a command changes many items' states:
    // they are computed once at the end of the outermost hold.
    class Hold {
    public:
        explicit Hold(CommandStates& states) : states_(states) { ++states_.held_; }
        ~Hold()
        {
            if (--states_.held_ == 0)
                states_.Update();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CommandStates& states_;
    };

private:
    CommandTargets& targets_;
    StateIds ids_;
    std::function<PaneState()> read_;
    int held_ = 0;
};

// The handlers of the menu bar, the tool buttons and the accelerators by id.
class CommandTable {
public:
    void Add(unsigned id, std::function<void()> handler) { handlers_[id] = std::move(handler); }
    // Runs the command's handler; false when it has none.
    bool Run(unsigned id) const;

private:
    std::map<unsigned, std::function<void()>> handlers_;
};

} // namespace commands
