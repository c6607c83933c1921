// The main window's one busy count (FBusy): above zero while a refresh, a
// navigation or a file operation runs nested message loops, so that the
// animation holds still and the automatic refresh waits. Whoever needs it
// raised takes a Hold for its scope; the count falls when the Hold ends,
// also on an exception.
#pragma once
#include <utility>

class Busy {
public:
    class Hold {
    public:
        explicit Hold(Busy& busy) noexcept : busy_(&busy) { ++busy_->count_; }
        Hold(Hold&& other) noexcept : busy_(std::exchange(other.busy_, nullptr)) {}
        ~Hold()
        {
            if (busy_)
                --busy_->count_;
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        Hold& operator=(Hold&&) = delete;

    private:
        Busy* busy_;
    };

    Busy() = default;
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

    [[nodiscard]] Hold Raise() noexcept { return Hold(*this); }
    bool Raised() const noexcept { return count_ > 0; }
    int Count() const noexcept { return count_; }
    // The views' and the context menu's busy events, which come in pairs:
    // raised on true, lowered on false.
    void Follow(bool raised) noexcept
    {
        if (raised)
            ++count_;
        else if (count_ > 0)
            --count_;
    }

private:
    int count_ = 0;
};
