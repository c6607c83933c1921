#include "dirmon/watch_list.h"

#include "ui/scoped_value.h"

#include <algorithm>

namespace dirmon {

bool WatchList::Add(Watcher* watcher)
{
    if (!watcher || Contains(watcher))
        return false;
    watchers_.push_back(watcher);
    return true;
}

bool WatchList::Remove(Watcher* watcher) noexcept
{
    auto it = std::find(watchers_.begin(), watchers_.end(), watcher);
    if (it == watchers_.end())
        return false;
    watchers_.erase(it);
    return true;
}

bool WatchList::Contains(const Watcher* watcher) const noexcept
{
    return std::find(watchers_.begin(), watchers_.end(), watcher) != watchers_.end();
}

Watcher* WatchList::FindSignalled(const WaitFunction& wait, uint64_t tick)
{
    handles_.clear();
    owners_.clear();
    for (Watcher* w : watchers_) {
        if (w->reportedTick_ == tick)
            continue;
        if (Handle h = w->WaitHandle()) {
            handles_.push_back(h);
            owners_.push_back(w);
        }
    }
    for (size_t start = 0; start < handles_.size(); start += kMaxWaitHandles) {
        const size_t count = std::min(kMaxWaitHandles, handles_.size() - start);
        const std::optional<size_t> hit = wait(handles_.data() + start, count);
        if (hit && *hit < count)
            return owners_[start + *hit];
    }
    return nullptr;
}

size_t WatchList::Poll(const WaitFunction& wait)
{
    if (polling_ || watchers_.empty())
        return 0;
    ui::ScopedValue running(polling_, true);

    const uint64_t tick = ++ticks_;
    size_t reports = 0;
    while (Watcher* w = FindSignalled(wait, tick)) {
        w->reportedTick_ = tick;
        w->Rearm();
        ++reports;
        w->Changed(); // may destroy w: not touched again
    }
    return reports;
}

} // namespace dirmon
