// A window timer whose procedure is a callable; killed when the object goes.
// The callable runs on the window's thread from the message loop; an
// exception it throws is shown by the top-level handler.
#pragma once
#include <windows.h>

#include <functional>

namespace ui {

class Timer {
public:
    Timer() = default;
    ~Timer() { Stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // (Re)starts timer `id` of `wnd` with the period given.
    bool Start(HWND wnd, UINT_PTR id, UINT periodMs, std::function<void()> tick);
    void Stop() noexcept;
    bool Running() const noexcept { return wnd_ != nullptr; }

private:
    static void CALLBACK Proc(HWND wnd, UINT, UINT_PTR id, DWORD);
    HWND wnd_ = nullptr;
    UINT_PTR id_ = 0;
    std::function<void()> tick_;
};

} // namespace ui
