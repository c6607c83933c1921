#include "ui/window.h"

#include "ui/exception.h"
#include "ui/screen_cursor.h"

namespace ui {

Window::~Window() { Destroy(); }

void Window::Destroy() noexcept
{
    if (hwnd_) {
        HWND h = hwnd_;
        DestroyWindow(h);
        // WM_NCDESTROY has unbound the object; make sure even if it did not run.
        if (hwnd_ == h) {
            SetWindowLongPtrW(h, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
        }
    }
}

Window* Window::FromHandle(HWND hwnd) noexcept
{
    if (!hwnd)
        return nullptr;
    wchar_t cls[64];
    if (!GetClassNameW(hwnd, cls, 64) || wcsncmp(cls, L"Tarimoku", 8) != 0)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::CreateWindowOf(const ClassInfo& cls, DWORD exStyle, const wchar_t* title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (!GetClassInfoExW(instance, cls.name, &existing)) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = cls.style;
        wc.lpfnWndProc = &Window::Proc;
        wc.hInstance = instance;
        wc.hIcon = cls.icon;
        wc.hIconSm = cls.icon;
        wc.hCursor = cls.cursor ? cls.cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = cls.background;
        wc.lpszClassName = cls.name;
        if (!RegisterClassExW(&wc))
            return false;
    }
    return CreateWindowExW(exStyle, cls.name, title, style, x, y, width, height, parent, menu, instance, this) !=
           nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultHandling(msg, wp, lp); }

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_SETCURSOR && ScreenCursor::Apply())
        return TRUE;
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        ShowCurrentException(hwnd);
        result = msg == WM_NCCREATE ? FALSE : 0;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace ui
