#include "app/commands/command_targets.h"

#include "ui/toolbar.h"
#include "ui/window.h"

void MenuAndButtons::EnableMenuItem(unsigned id, bool enabled)
{
    if (HMENU menu = window_.Handle() ? GetMenu(window_.Handle()) : nullptr)
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MenuAndButtons::EnableButton(unsigned id, bool enabled) { buttons_.SetEnabled(id, enabled); }
