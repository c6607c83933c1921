// The listed monitors and the poll of their notification objects, free of
// system calls: the wait is passed in, so the poll runs the same under a test's
// fake wait as under the system's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace dirmon {

// A notification object as the system hands it out.
using Handle = void*;

// The system waits on at most this many objects at once.
inline constexpr size_t kMaxWaitHandles = 64;

// Tests `count` (1 .. kMaxWaitHandles) objects without waiting: the index of
// a signalled one (the lowest, when several are), or none. A failed wait is none.
using WaitFunction = std::function<std::optional<size_t>(const Handle* handles, size_t count)>;

// One entry of the list: a monitor as the poll sees it.
class Watcher {
public:
    // The object to test; null when there is none (it never signals).
    virtual Handle WaitHandle() const noexcept = 0;
    // Makes the object wait for the next change; called after it has signalled
    // and before the change is reported.
    virtual void Rearm() noexcept = 0;
    // Reports the change. It may switch watchers on or off and destroy any of
    // them, this one included.
    virtual void Changed() = 0;

protected:
    Watcher() = default;
    ~Watcher() = default;
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

private:
    friend class WatchList;
    // The tick that last reported this watcher (0: none yet).
    uint64_t reportedTick_ = 0;
};

class WatchList {
public:
    // Adds at the end; false (and nothing changes) when it is listed already.
    bool Add(Watcher* watcher);
    // False when it was not listed.
    bool Remove(Watcher* watcher) noexcept;
    bool Contains(const Watcher* watcher) const noexcept;
    size_t Size() const noexcept { return watchers_.size(); }
    bool Empty() const noexcept { return watchers_.empty(); }

    // One tick: reports every watcher whose object has signalled, in list
    // order, each at most once (an object that is still signalled after its
    // re-arm waits for the next tick), re-arming each before its report. The
    // objects are tested in runs of at most kMaxWaitHandles, and the runs are
    // built afresh after every report since a report may change the list.
    // A tick started while one runs (from a nested message loop in a report)
    // does nothing. Returns the number of reports.
    size_t Poll(const WaitFunction& wait);

    bool Polling() const noexcept { return polling_; }

private:
    // The first watcher, in list order, that has signalled and was not yet
    // reported in `tick`; null if none.
    Watcher* FindSignalled(const WaitFunction& wait, uint64_t tick);

    std::vector<Watcher*> watchers_;
    // Scratch arrays of one search, kept to save allocations between ticks.
    std::vector<Handle> handles_;
    std::vector<Watcher*> owners_;
    uint64_t ticks_ = 0;
    bool polling_ = false;
};

} // namespace dirmon
