// Window-free stand-ins for the directory monitor's poll: watchers with fake
// notification objects, and a wait that answers from a set of signalled
// objects as the system would (lowest index of the run wins).
#pragma once
#include "dirmon/watch_list.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

// A fake object: any distinct non-null value.
inline dirmon::Handle FakeHandle(size_t n)
{
    return reinterpret_cast<dirmon::Handle>(static_cast<uintptr_t>(0x1000 + 16 * n));
}

// What the fakes did, in order: "rearm 3", "change 3", "wait 64".
using Journal = std::vector<std::string>;

class FakeObjects {
public:
    // Objects that have signalled.
    std::set<dirmon::Handle> signalled;
    // Re-arming leaves the object signalled (a watched folder that is gone).
    bool sticky = false;
    // Every wait answers "signalled" for its first object.
    bool alwaysSignalled = false;
    Journal* journal = nullptr;
    // Sizes of the runs waited on, in order.
    std::vector<size_t> waits;
    // A poll that waits more often than this does not end: the wait throws.
    size_t maxWaits = 10000;

    dirmon::WaitFunction Wait()
    {
        return [this](const dirmon::Handle* handles, size_t count) -> std::optional<size_t> {
            if (waits.size() >= maxWaits)
                throw std::runtime_error("the poll does not end");
            waits.push_back(count);
            if (journal)
                journal->push_back("wait " + std::to_string(count));
            if (alwaysSignalled)
                return 0;
            for (size_t i = 0; i < count; ++i)
                if (signalled.count(handles[i]))
                    return i;
            return std::nullopt;
        };
    }
    void Rearm(dirmon::Handle h)
    {
        if (!sticky)
            signalled.erase(h);
    }
};

class FakeWatcher final : public dirmon::Watcher {
public:
    FakeWatcher(FakeObjects& objects, size_t number)
        : objects_(objects), number_(number), handle_(FakeHandle(number)) {}

    dirmon::Handle WaitHandle() const noexcept override { return handle_; }
    void Rearm() noexcept override
    {
        ++rearms;
        if (objects_.journal)
            objects_.journal->push_back("rearm " + std::to_string(number_));
        objects_.Rearm(handle_);
    }
    void Changed() override
    {
        ++changes;
        if (objects_.journal)
            objects_.journal->push_back("change " + std::to_string(number_));
        // The handler may destroy this watcher: call a copy.
        const auto handler = onChange;
        if (handler)
            handler(*this);
    }

    void Signal() { objects_.signalled.insert(handle_); }
    // Without an object (a failed re-arm): never signals.
    void Disarm() { handle_ = nullptr; }
    size_t Number() const { return number_; }

    int rearms = 0;
    int changes = 0;
    std::function<void(FakeWatcher&)> onChange;

private:
    FakeObjects& objects_;
    size_t number_;
    dirmon::Handle handle_;
};

// `count` watchers numbered 0 .. count - 1 over one set of objects.
inline std::vector<std::unique_ptr<FakeWatcher>> MakeWatchers(FakeObjects& objects, size_t count)
{
    std::vector<std::unique_ptr<FakeWatcher>> v;
    for (size_t i = 0; i < count; ++i)
        v.push_back(std::make_unique<FakeWatcher>(objects, i));
    return v;
}

} // namespace testsupport
