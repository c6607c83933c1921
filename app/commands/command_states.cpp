#include "app/commands/command_states.h"

namespace commands {

Enabled EnabledFor(const PaneState& state)
{
    Enabled e;
    if (state.focus == Focus::List) {
        e.remove = e.rename = state.listSelected > 0;
    } else if (state.focus == Focus::Tree) {
        e.rename = state.treeSelected;
        e.remove = !state.treeSelectedVirtual;
    }
    e.folderUp = state.treeSelected && state.treeSelectedHasParent;
    return e;
}

void CommandStates::SetEnabled(unsigned id, bool enabled)
{
    targets_.EnableMenuItem(id, enabled);
    targets_.EnableButton(id, enabled);
}

void CommandStates::Update()
{
    if (held_ > 0 || !read_)
        return;
    const Enabled e = EnabledFor(read_());
    SetEnabled(ids_.remove, e.remove);
    SetEnabled(ids_.rename, e.rename);
    targets_.EnableButton(ids_.folderUp, e.folderUp);
}

bool CommandTable::Run(unsigned id) const
{
    auto it = handlers_.find(id);
    if (it == handlers_.end() || !it->second)
        return false;
    it->second();
    return true;
}

} // namespace commands
