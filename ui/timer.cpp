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

// The registry is built first, so that it is torn down after a timer with
// static storage (the monitors' find timer) that stops at the process's end.
Timer::Timer() { RunningTimers(); }

bool Timer::Set()
{
    // A thread timer's id is the one the system gives; a window's is ours.
    const UINT_PTR got = SetTimer(wnd_, wnd_ ? id_ : 0, period_, &Timer::Proc);
    if (!got) {
        running_ = false;
        return false;
    }
    if (!wnd_)
        id_ = got;
    RunningTimers()[{wnd_, id_}] = this;
    running_ = true;
    return true;
}

bool Timer::Start(HWND wnd, UINT_PTR id, UINT periodMs, std::function<void()> tick)
{
    Stop();
    wnd_ = wnd;
    id_ = id;
    period_ = periodMs;
    if (!Set())
        return false;
    ++serial_;
    tick_ = std::move(tick);
    return true;
}

void Timer::Stop() noexcept
{
    if (!running_)
        return;
    KillTimer(wnd_, id_);
    RunningTimers().erase({wnd_, id_});
    running_ = false;
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
            // Killed while the box is up: its own message loop would run the
            // next tick, and the next box, without end.
            if (serial_ == serial)
                KillTimer(wnd, id);
            failing_ = true;
        }
        ShowCurrentException(wnd ? GetAncestor(wnd, GA_ROOT) : GetActiveWindow());
        if (!stillHere || !*alive)
            return;
        failing_ = false;
        // Stopped or restarted while the box was up: that stands.
        if (serial_ != serial)
            return;
        // The window went while the box was up, or the system has no timer
        // left: the timer stops; a thread timer may come back under a new id.
        RunningTimers().erase({wnd, id});
        (void)Set();
    }
}

} // namespace ui
