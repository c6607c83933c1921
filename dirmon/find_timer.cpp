#include "dirmon/find_timer.h"

#include "ui/exception.h"

#include <map>

namespace {
// Running find timers by the id the system gave them.
std::map<UINT_PTR, TFindTimer*>& RunningTimers()
{
    static std::map<UINT_PTR, TFindTimer*> running;
    return running;
}
} // namespace

TFindTimer::TFindTimer(std::function<void()> tick) : tick_(std::move(tick))
{
    RunningTimers(); // built first, so it is torn down after this timer
}

TFindTimer::~TFindTimer()
{
    Stop();
}

bool TFindTimer::SetInterval(unsigned periodMs)
{
    if (periodMs == 0) {
        Stop();
        return true;
    }
    if (id_ != 0 && periodMs == interval_)
        return true;
    // With no window the id only matters when it names a running timer of
    // this thread: then the system changes that timer's period.
    const UINT_PTR id = SetTimer(nullptr, id_, periodMs, &TFindTimer::Proc);
    if (id == 0) {
        Stop();
        return false;
    }
    if (id != id_) {
        if (id_ != 0) {
            KillTimer(nullptr, id_);
            RunningTimers().erase(id_);
        }
        id_ = id;
        RunningTimers()[id_] = this;
    }
    interval_ = periodMs;
    return true;
}

void TFindTimer::Stop() noexcept
{
    if (id_ != 0) {
        KillTimer(nullptr, id_);
        RunningTimers().erase(id_);
    }
    id_ = 0;
    interval_ = 0;
}

void CALLBACK TFindTimer::Proc(HWND, UINT, UINT_PTR id, DWORD) noexcept
{
    auto it = RunningTimers().find(id);
    if (it == RunningTimers().end())
        return;
    TFindTimer* self = it->second;
    ui::Guarded(GetActiveWindow(), [self] {
        if (self->tick_)
            self->tick_();
    });
}
