// Runs test code inside the dispatch of a message, as a handler of the
// program does, and the kinds of nested loop a handler may run there: the
// system's own (a menu, a box) and a plain one like a shell dialog's or a
// drag's, which dispatches without the program's loop knowing.
#pragma once
#include "tests/support/pump_until.h"

#include <windows.h>

#include <functional>
#include <utility>

namespace testsupport {

namespace nested_detail {
inline std::function<void()>& Pending()
{
    static std::function<void()> pending;
    return pending;
}
inline void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (auto run = std::exchange(Pending(), nullptr))
        run();
}
inline std::function<void()>& Tick()
{
    static std::function<void()> tick;
    return tick;
}
inline void CALLBACK RunTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (Tick())
        Tick()();
}
} // namespace nested_detail

// Runs `body` from a thread timer's dispatch through the program's loop and
// waits until it has returned.
inline bool RunInsideDispatch(std::function<void()> body, DWORD maxMs = 20000)
{
    bool done = false;
    nested_detail::Pending() = [&] {
        body();
        done = true;
    };
    SetTimer(nullptr, 0, 0, nested_detail::RunPending);
    return PumpUntil([&] { return done; }, maxMs);
}

// Calls `tick` every few milliseconds from whatever loop runs, until the object goes.
class LoopTicker {
public:
    explicit LoopTicker(std::function<void()> tick)
    {
        nested_detail::Tick() = std::move(tick);
        id_ = SetTimer(nullptr, 0, 20, nested_detail::RunTick);
    }
    ~LoopTicker()
    {
        KillTimer(nullptr, id_);
        nested_detail::Tick() = nullptr;
    }
    LoopTicker(const LoopTicker&) = delete;
    LoopTicker& operator=(const LoopTicker&) = delete;

private:
    UINT_PTR id_ = 0;
};

// A plain loop that dispatches everything for `ms`, not through the
// program's loop (as a shell dialog's or a drag's own loop does).
inline void ForeignLoop(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// The first visible dialog box (#32770) of this thread, or none.
inline HWND ThreadDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM out) {
            wchar_t cls[16] = L"";
            GetClassNameW(wnd, cls, 16);
            if (IsWindowVisible(wnd) && lstrcmpW(cls, L"#32770") == 0) {
                *reinterpret_cast<HWND*>(out) = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace testsupport
