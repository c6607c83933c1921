#include "dirmon/find_schedule.h"

namespace dirmon {

void FindSchedule::SetInterval(int ms)
{
    interval_ = ms < 0 ? 0 : ms;
    if (!list_.Empty() && timer_)
        timer_(static_cast<unsigned>(interval_));
}

bool FindSchedule::List(Watcher* watcher)
{
    if (!list_.Add(watcher))
        return false;
    if (list_.Size() == 1 && timer_)
        timer_(static_cast<unsigned>(interval_));
    return true;
}

bool FindSchedule::Unlist(Watcher* watcher) noexcept
{
    if (!list_.Remove(watcher))
        return false;
    if (list_.Empty() && timer_) {
        try {
            timer_(0);
        } catch (...) {
            // Stopping a timer does not fail; a control that throws anyway
            // leaves it ticking over an empty list, which does nothing.
        }
    }
    return true;
}

} // namespace dirmon
