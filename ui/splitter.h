// A vertical bar between two panes that the user drags to resize the left one.
#pragma once
#include "ui/window.h"

namespace ui {

class Splitter : public Window {
public:
    bool Create(HWND parent, COLORREF colour);
    // Raised while dragging with the new left edge, in the parent's coordinates.
    Event<Splitter*, int> OnMoved;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    COLORREF colour_ = RGB(0xC0, 0xC0, 0xC0);
    int grab_ = 0; // where in the bar the drag started
};

} // namespace ui
