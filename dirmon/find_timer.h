// The one timer that polls the monitors of the process: a thread timer (no
// window) on the thread that starts it, so it needs no window of its own and
// can be stopped at any time, also while the process ends. A tick that fails
// is shown once, with the timer waiting, as every ui::Timer does.
#pragma once
#include "ui/timer.h"

#include <functional>

class TFindTimer {
public:
    explicit TFindTimer(std::function<void()> tick);
    TFindTimer(const TFindTimer&) = delete;
    TFindTimer& operator=(const TFindTimer&) = delete;

    // 0 stops the timer; another value (re)starts it with that period. The
    // same period again leaves a running timer alone. False when the system
    // refuses the timer (the timer is then stopped).
    bool SetInterval(unsigned periodMs);
    unsigned Interval() const noexcept { return timer_.Running() ? interval_ : 0; }
    bool Running() const noexcept { return timer_.Running(); }

private:
    std::function<void()> tick_;
    unsigned interval_ = 0;
    ui::Timer timer_;
};
