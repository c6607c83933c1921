// Dialogs laid out in pixels: the templates give the controls, these helpers
// put them where the design says, whatever font the template was measured in.
#pragma once
#include "ui/handles.h"

#include <windows.h>

#include <initializer_list>

namespace dialogs {

// A control's place in its dialog's client area, in pixels.
struct ControlPlace {
    int id;
    int x, y, width, height;
};

// Gives the dialog a client area of `clientWidth` x `clientHeight` (keeping
// its position) and moves every control listed to its place.
void ApplyPixelLayout(HWND dialog, int clientWidth, int clientHeight, std::initializer_list<ControlPlace> places);

// A font of `face` with a character height of `pixels`, Shift-JIS charset.
ui::UniqueFont MakeDialogFont(const wchar_t* face, int pixels);

// Sets `font` on the dialog's controls (the font must outlive them).
void SetFontOnChildren(HWND dialog, HFONT font);

} // namespace dialogs
