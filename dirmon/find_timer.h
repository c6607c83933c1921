// The one timer that polls the monitors of the process: a thread timer (no
// window) on the thread that starts it, so it needs no window of its own and
// can be stopped at any time, also while the process ends.
#pragma once
#include <windows.h>

#include <functional>

class TFindTimer {
public:
    explicit TFindTimer(std::function<void()> tick);
    ~TFindTimer();
    TFindTimer(const TFindTimer&) = delete;
    TFindTimer& operator=(const TFindTimer&) = delete;

    // 0 stops the timer; another value (re)starts it with that period. The
    // same period again leaves a running timer alone. False when the system
    // refuses the timer (the timer is then stopped).
    bool SetInterval(unsigned periodMs);
    unsigned Interval() const noexcept { return interval_; }
    bool Running() const noexcept { return id_ != 0; }

private:
    static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    void Stop() noexcept;

    std::function<void()> tick_;
    UINT_PTR id_ = 0;
    unsigned interval_ = 0;
};
