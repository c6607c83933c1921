// Dialogs laid out in pixels: the templates give the controls, these helpers
// put them where the design says, whatever font the template was measured in.
// The design's pixels are 96-DPI pixels: each figure is scaled to the DPI the
// dialog is shown at.
#pragma once
#include "ui/handles.h"

#include <windows.h>

#include <initializer_list>

namespace dialogs {

// A control's place in its dialog's client area, in pixels at 96 DPI.
struct ControlPlace {
    int id;
    int x, y, width, height;
};

// Gives the dialog a client area of `clientWidth` x `clientHeight` (keeping
// its position) and moves every control listed to its place, all scaled to `dpi`.
void ApplyPixelLayout(HWND dialog, int dpi, int clientWidth, int clientHeight,
                      std::initializer_list<ControlPlace> places);

// A font of `face` with a character height of `pixels` at 96 DPI, scaled to
// `dpi`, Shift-JIS charset.
ui::UniqueFont MakeDialogFont(const wchar_t* face, int pixels, int dpi);

// Sets `font` on the dialog's controls (the font must outlive them).
void SetFontOnChildren(HWND dialog, HFONT font);

// Grows each label listed to the right and down until its text, in the font
// it shows, fits whole. Labels never shrink.
void FitLabelsToText(HWND dialog, std::initializer_list<int> labels);

// A control's rectangle in its dialog's client coordinates.
RECT ClientRectOf(HWND dialog, int id);

// Widens the dialog's client area (keeping its position) by `width` pixels
// and heightens it by `height`; nothing for 0 or less.
void GrowClient(HWND dialog, int width, int height);

} // namespace dialogs
