// Dispatches this thread's messages (timers included) until a condition holds,
// through the program's own dispatch, so that a handler can tell a nested loop.
#pragma once
#include "ui/application.h"

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
            ui::Application::DispatchNoted(msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= maxMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

} // namespace testsupport
