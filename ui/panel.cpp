#include "ui/panel.h"

#include "ui/paint.h"

namespace ui {

bool Panel::Create(HWND parent, COLORREF colour, bool topBevel)
{
    colour_ = colour;
    topBevel_ = topBevel;
    return CreateWindowOf(ClassInfo{L"TarimokuPanel"}, WS_EX_CONTROLPARENT, L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        ui::FillClient(Handle(), reinterpret_cast<HDC>(wp), colour_);
        if (topBevel_) {
            RECT r;
            GetClientRect(Handle(), &r);
            RECT line{r.left, r.top, r.right, r.top + 2};
            DrawEdge(reinterpret_cast<HDC>(wp), &line, EDGE_ETCHED, BF_TOP);
        }
        return 1;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetParent(Handle()), msg, wp, lp);
    default:
        return DefaultHandling(msg, wp, lp);
    }
}

} // namespace ui
