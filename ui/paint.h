// Small drawing helpers shared by the program's own windows.
#pragma once
#include <windows.h>

namespace ui {

// Fills a window's client area with one colour (WM_ERASEBKGND).
inline void FillClient(HWND wnd, HDC dc, COLORREF colour)
{
    RECT r;
    GetClientRect(wnd, &r);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

} // namespace ui
