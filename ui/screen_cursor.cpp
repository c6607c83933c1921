#include "ui/screen_cursor.h"

namespace ui {
namespace {
LPCWSTR g_current = nullptr;
}

void ScreenCursor::Set(LPCWSTR id) noexcept
{
    if (g_current == id)
        return;
    g_current = id;
    if (id) {
        SetCursor(LoadCursorW(nullptr, id));
    } else {
        // The window under the pointer chooses its own again at the next move.
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

LPCWSTR ScreenCursor::Current() noexcept { return g_current; }

bool ScreenCursor::Apply() noexcept
{
    if (!g_current)
        return false;
    SetCursor(LoadCursorW(nullptr, g_current));
    return true;
}

} // namespace ui
