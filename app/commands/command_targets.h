// The main window's menu bar and tool bar as the command states' targets.
#pragma once
#include "app/commands/command_states.h"

#include <windows.h>

namespace ui {
class ToolBar;
class Window;
} // namespace ui

class MenuAndButtons final : public commands::CommandTargets {
public:
    // `window`'s menu bar as it is when a state changes (none: only the buttons).
    MenuAndButtons(const ui::Window& window, ui::ToolBar& buttons) : window_(window), buttons_(buttons) {}

    void EnableMenuItem(unsigned id, bool enabled) override;
    void EnableButton(unsigned id, bool enabled) override;

private:
    const ui::Window& window_;
    ui::ToolBar& buttons_;
};
