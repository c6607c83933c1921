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
} // namespace

bool Timer::Start(HWND wnd, UINT_PTR id, UINT periodMs, std::function<void()> tick)
{
    Stop();
    if (!SetTimer(wnd, id, periodMs, &Timer::Proc))
        return false;
    wnd_ = wnd;
    id_ = id;
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
}

void CALLBACK Timer::Proc(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    auto it = RunningTimers().find({wnd, id});
    if (it == RunningTimers().end())
        return;
    Timer* self = it->second;
    Guarded(GetAncestor(wnd, GA_ROOT), [self] {
        if (self->tick_)
            self->tick_();
    });
}

} // namespace ui
