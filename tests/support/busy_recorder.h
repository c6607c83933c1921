// Counts the raises of a component's busy event the way the main window
// does, and remembers whether the pairs ever went wrong.
#pragma once
#include "ui/busy.h"

#include <algorithm>

namespace testsupport {

struct BusyRecorder {
    int depth = 0;    // raised and not yet lowered
    int deepest = 0;  // most raised at once
    int pairs = 0;    // lowered again
    bool belowZero = false;

    // Hooks the recorder to one or more busy events.
    template <class... Events>
    void Attach(Events&... events)
    {
        (Hook(events), ...);
    }
    bool Balanced() const { return depth == 0 && !belowZero; }

private:
    void Hook(ui::BusyEvent& event)
    {
        event = [this](ui::Component*, bool busy) {
            if (busy) {
                deepest = std::max(deepest, ++depth);
            } else if (--depth < 0) {
                belowZero = true;
                depth = 0;
            } else {
                ++pairs;
            }
        };
    }
};

} // namespace testsupport
