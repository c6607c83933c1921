// Dispatches this thread's messages (timers included) until a condition holds.
#pragma once
#include <windows.h>

namespace testsupport {

// True as soon as `done()` holds; false when `maxMs` passed first. The limit
// is a safety net, never a measurement: give it generously.
template <class Pred>
bool PumpUntil(Pred done, DWORD maxMs = 10000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= maxMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

} // namespace testsupport
