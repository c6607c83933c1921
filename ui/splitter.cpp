#include "ui/splitter.h"

#include "ui/paint.h"

#include <windowsx.h>

namespace ui {

bool Splitter::Create(HWND parent, COLORREF colour)
{
    colour_ = colour;
    ClassInfo cls{L"TarimokuSplitter"};
    cls.cursor = LoadCursorW(nullptr, IDC_SIZEWE);
    return CreateWindowOf(cls, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr);
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        ui::FillClient(Handle(), reinterpret_cast<HDC>(wp), colour_);
        return 1;
    case WM_LBUTTONDOWN:
        grab_ = GET_X_LPARAM(lp);
        SetCapture(Handle());
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == Handle()) {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            MapWindowPoints(Handle(), GetParent(Handle()), &pt, 1);
            OnMoved(this, pt.x - grab_);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == Handle())
            ReleaseCapture();
        return 0;
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

} // namespace ui
