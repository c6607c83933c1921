#include "dirmon/find_timer.h"

#include <utility>

TFindTimer::TFindTimer(std::function<void()> tick) : tick_(std::move(tick)) {}

bool TFindTimer::SetInterval(unsigned periodMs)
{
    if (periodMs == 0) {
        timer_.Stop();
        return true;
    }
    if (Running() && periodMs == interval_)
        return true;
    interval_ = periodMs;
    return timer_.Start(nullptr, 0, periodMs, tick_);
}
