// Key presses as the program's message loop handles them: the main window's
// accelerators get the key first; a key they do not take goes to the control
// with TranslateMessage, and the character it makes follows at once.
#pragma once
#include "ui/application.h"

#include <windows.h>

namespace testsupport {

// Holds modifier keys down in this thread's key state for a scope.
class HeldModifiers {
public:
    explicit HeldModifiers(bool ctrl, bool shift = false)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        CopyMemory(state, saved_, sizeof(state));
        state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
        state[VK_MENU] = state[VK_LMENU] = 0;
        SetKeyboardState(state);
    }
    ~HeldModifiers() { SetKeyboardState(saved_); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    BYTE saved_[256];
};

// Presses and releases `vk` on `target` (the focused control) as the loop of
// a window `main` with `accelerators` would. Answers whether an accelerator took it.
inline bool PressKey(HWND main, HACCEL accelerators, HWND target, UINT vk, bool ctrl = false, bool shift = false)
{
    HeldModifiers held(ctrl, shift);
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    MSG down{};
    down.hwnd = target;
    down.message = WM_KEYDOWN;
    down.wParam = vk;
    down.lParam = LPARAM(1 | (scan << 16));
    down.time = GetTickCount();
    bool accelerated = ui::Application::Accelerate(main, accelerators, down);
    if (!accelerated) {
        TranslateMessage(&down);
        DispatchMessageW(&down);
        MSG ch;
        while (PeekMessageW(&ch, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE))
            DispatchMessageW(&ch);
    }
    MSG up = down;
    up.message = WM_KEYUP;
    up.lParam = LPARAM(1 | (scan << 16) | (1u << 30) | (1u << 31));
    if (IsWindow(target) && !ui::Application::Accelerate(main, accelerators, up))
        DispatchMessageW(&up);
    return accelerated;
}

} // namespace testsupport
