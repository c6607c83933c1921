// Work that runs a nested message loop (a fill that the shell may interrupt
// with its own dialogs, a shell command, a rename) is announced to whoever
// must hold still meanwhile: the busy event is raised with true before the
// work and with false after it, in pairs, also when the work throws.
#pragma once
#include "ui/component.h"

namespace ui {

using BusyEvent = Event<Component*, bool>;

class BusyScope {
public:
    // The event is copied: the scope may outlive the component that raised it.
    BusyScope(const BusyEvent& event, Component* sender) : event_(event), sender_(sender) { event_(sender_, true); }
    ~BusyScope()
    {
        try {
            event_(sender_, false);
        } catch (...) {
            // The work is over either way; a handler that cannot count down
            // has nothing to be told.
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyEvent event_;
    Component* sender_;
};

} // namespace ui
