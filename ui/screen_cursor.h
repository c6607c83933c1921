// The program-wide screen cursor: while set, every window of the program shows
// it (an hourglass during a fill, the application-starting arrow while the
// previews load); set back to the default, each window shows its own again.
#pragma once
#include <windows.h>

namespace ui {

class ScreenCursor {
public:
    // A system cursor id (IDC_WAIT, IDC_APPSTARTING) or nullptr for the default.
    static void Set(LPCWSTR id) noexcept;
    static LPCWSTR Current() noexcept;
    // Called for WM_SETCURSOR: shows the screen cursor and answers true while one is set.
    static bool Apply() noexcept;
};

// Shows a screen cursor for a scope and puts the previous one back.
class ScopedScreenCursor {
public:
    explicit ScopedScreenCursor(LPCWSTR id) noexcept : previous_(ScreenCursor::Current()) { ScreenCursor::Set(id); }
    ~ScopedScreenCursor() { ScreenCursor::Set(previous_); }
    ScopedScreenCursor(const ScopedScreenCursor&) = delete;
    ScopedScreenCursor& operator=(const ScopedScreenCursor&) = delete;

private:
    LPCWSTR previous_;
};

} // namespace ui
