// Base of the program's own windows: the object is bound to its window at
// WM_NCCREATE and every message goes to HandleMessage. An exception thrown by
// a handler is shown by the top-level handler and the window goes on.
#pragma once
#include "ui/component.h"

#include <windows.h>

namespace ui {

class Window : public Component {
public:
    Window() = default;
    ~Window() override;

    HWND Handle() const noexcept { return hwnd_; }
    static Window* FromHandle(HWND hwnd) noexcept;

    void Destroy() noexcept;

protected:
    struct ClassInfo {
        const wchar_t* name;
        UINT style = CS_DBLCLKS;
        HICON icon = nullptr;
        HBRUSH background = nullptr;
        HCURSOR cursor = nullptr; // arrow when null
    };
    // Registers the class on first use and creates the window.
    bool CreateWindowOf(const ClassInfo& cls, DWORD exStyle, const wchar_t* title, DWORD style, int x,
                        int y, int width, int height, HWND parent, HMENU menu);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Posts one of a window's private messages (always with wParam 0, lParam 0).
inline bool PostPrivate(HWND hwnd, UINT msg) { return PostMessageW(hwnd, msg, 0, 0) != FALSE; }

} // namespace ui
