// A plain child window that holds other controls: fills itself with its
// colour, draws an optional top bevel line, and passes its children's
// commands and notifications on to its own parent.
#pragma once
#include "ui/window.h"

namespace ui {

class Panel : public Window {
public:
    bool Create(HWND parent, COLORREF colour, bool topBevel);
    void SetBounds(int x, int y, int width, int height) noexcept { MoveWindow(Handle(), x, y, width, height, TRUE); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    COLORREF colour_ = RGB(0xC0, 0xC0, 0xC0);
    bool topBevel_ = false;
};

} // namespace ui
