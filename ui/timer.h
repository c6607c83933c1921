// A timer whose procedure is a callable; killed when the object goes. Every
// timer of the program runs through here: a window's timer, or with no window
// a thread timer of the thread that starts it (the system picks its id). The
// callable runs from that thread's message loop; an exception it throws is
// shown by the top-level handler. While that message
// is up the timer is stopped (the box's own message loop would otherwise run
// the next tick, and the next box, without end); it starts again once the
// box is closed, unless it was stopped or restarted meanwhile.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

namespace ui {

class Timer {
public:
    Timer();
    ~Timer()
    {
        *alive_ = false;
        Stop();
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // (Re)starts timer `id` of `wnd` with the period given; with no window,
    // a thread timer (`id` is then ignored).
    bool Start(HWND wnd, UINT_PTR id, UINT periodMs, std::function<void()> tick);
    void Stop() noexcept;
    bool Running() const noexcept { return running_; }
    // True while the message of a failed tick is shown (the timer then waits).
    bool Failing() const noexcept { return failing_; }

private:
    static void CALLBACK Proc(HWND wnd, UINT, UINT_PTR id, DWORD);
    void Tick();
    // Sets the system's timer and files it under the id it runs with.
    bool Set();
    HWND wnd_ = nullptr;
    UINT_PTR id_ = 0;
    UINT period_ = 0;
    // Counts starts, so that a tick can tell whether the timer it failed in
    // is still the one running after the box.
    unsigned serial_ = 0;
    bool running_ = false;
    bool failing_ = false;
    // Cleared when the object goes: a tick or its box may destroy it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::function<void()> tick_;
};

} // namespace ui
