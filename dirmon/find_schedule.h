// The state all monitors of the process share: the poll interval, the list
// of listed monitors and when the one find timer runs. The timer itself is
// reached through a callable, so this logic needs no window system.
#pragma once
#include "dirmon/watch_list.h"

#include <functional>

namespace dirmon {

class FindSchedule {
public:
    // Sets the find timer's period in milliseconds; 0 stops it.
    using TimerControl = std::function<void(unsigned periodMs)>;

    static constexpr int kDefaultInterval = 2000;

    explicit FindSchedule(TimerControl timer) : timer_(std::move(timer)) {}

    int Interval() const noexcept { return interval_; }
    // Stores the interval for every monitor (a negative one as 0) and, while a
    // monitor is listed, gives it to the timer at once; 0 stops all polling
    // until a non-zero interval is set.
    void SetInterval(int ms);

    // Lists a monitor that was armed when it was switched on; the first one
    // listed starts the timer with the interval. False if it was listed already.
    bool List(Watcher* watcher);
    // Takes a monitor off the list; when the list becomes empty the timer
    // stops. False (and nothing happens) if it was not listed.
    bool Unlist(Watcher* watcher) noexcept;

    const WatchList& Listed() const noexcept { return list_; }
    // The timer's tick.
    size_t Poll(const WaitFunction& wait) { return list_.Poll(wait); }

private:
    TimerControl timer_;
    WatchList list_;
    int interval_ = kDefaultInterval;
};

} // namespace dirmon
