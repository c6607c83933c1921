#include "ui/timer.h"

#include "ui/exception.h"

#include <map>
#include <utility>

namespace ui {
namespace {
// Running timers by window and id: the timer procedure finds its object here.
std::map<std::pair<HWND, UINT_PTR>, Timer*>& RunningTimers()
{
    static std::map<std::pair<HWND, UINT_PTR>, Timer*> running;
    return running;
}

// The timer running under (wnd, id), if any.
Timer* Find(HWND wnd, UINT_PTR id)
{
    auto it = RunningTimers().find({wnd, id});
    return it == RunningTimers().end() ? nullptr : it->second;
}
} // namespace

bool Timer::Start(HWND wnd, UINT_PTR id, UINT periodMs, std::function<void()> tick)
{
    Stop();
    if (!SetTimer(wnd, id, periodMs, &Timer::Proc))
        return false;
    wnd_ = wnd;
    id_ = id;
    period_ = periodMs;
    ++serial_;
    tick_ = std::move(tick);
    RunningTimers()[{wnd, id}] = this;
    return true;
}

void Timer::Stop() noexcept
{
    if (!wnd_)
        return;
    KillTimer(wnd_, id_);
    RunningTimers().erase({wnd_, id_});
    wnd_ = nullptr;
    ++serial_;
}

void CALLBACK Timer::Proc(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    if (Timer* self = Find(wnd, id))
        self->Tick();
}

void Timer::Tick()
{
    if (failing_ || !tick_)
        return; // a tick queued before the box: the box is the only one
    const HWND wnd = wnd_;
    const UINT_PTR id = id_;
    const unsigned serial = serial_;
    const std::shared_ptr<bool> alive = alive_;
    try {
        // A copy: the tick may restart this timer with another callable.
        std::function<void()> tick = tick_;
        tick();
    } catch (...) {
        bool stillHere = *alive;
        if (stillHere) {
            if (serial_ == serial)
                KillTimer(wnd, id);
            failing_ = true;
        }
        ShowCurrentException(GetAncestor(wnd, GA_ROOT));
        if (!stillHere || !*alive)
            return;
        failing_ = false;
        // Stopped or restarted while the box was up: that stands.
        if (serial_ != serial)
            return;
        if (!SetTimer(wnd, id, period_, &Timer::Proc)) {
            // The window went while the box was up.
            RunningTimers().erase({wnd, id});
            wnd_ = nullptr;
        }
    }
}

} // namespace ui
