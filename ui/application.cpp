#include "ui/application.h"

#include "ui/control.h"
#include "ui/exception.h"

namespace ui {

Application& Application::Instance()
{
    static Application app;
    return app;
}

bool Application::DoIdle()
{
    bool done = true;
    if (idle_)
        Guarded(main_, [&] { idle_(done); });
    return done;
}

bool Application::Dispatch(MSG& msg)
{
    if (msg.message == WM_QUIT)
        return false;
    if (!Accelerate(main_, accelerators_, msg))
        DispatchNoted(msg);
    return true;
}

bool Application::Accelerate(HWND main, HACCEL accelerators, MSG& msg)
{
    // Ctrl+A in an in-place rename selects its text; as a command it would
    // end the rename and keep the half-typed name.
    return main && accelerators && !IsEditBox(msg.hwnd) && TranslateAcceleratorW(main, accelerators, &msg);
}

int Application::Run(HWND main, HACCEL accelerators)
{
    main_ = main;
    accelerators_ = accelerators;
    MSG msg{};
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!Dispatch(msg))
                return int(msg.wParam);
        }
        if (DoIdle())
            WaitMessage();
    }
}

} // namespace ui
