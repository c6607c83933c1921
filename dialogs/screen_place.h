// Where windows go on the screen: a restored main window brought back onto
// a display, and the about box centred on the screen.
#pragma once
#include "dialogs/bounds_text.h"
#include "scheme/center_math.h"

#include <optional>

namespace dialogs {

// Stored bounds made usable on a display with work area `work`:
// - a width or height of 0 or less takes the size of `current` instead;
// - a window wider or higher than the work area shrinks to fit it;
// - its title bar (the top `titleHeight` pixels of the outer window, across
//   its whole width) must lie wholly within the work area: where it does
//   not, the window moves onto the work area, as far in as its size allows.
// Bounds that already satisfy this come back unchanged (a window may hang
// below the work area's bottom as long as its title bar is inside).
Bounds FitOnWorkArea(const Bounds& stored, const Bounds& current, const scheme::Rect& work, int titleHeight) noexcept;

// A display as the system describes it.
struct Display {
    scheme::Rect bounds; // the whole display
    scheme::Rect work;   // without the task bar and docked bars
    bool primary = false;
};

// Top-left corner of a box of `width` x `height` centred on the screen of
// `screenWidth` x `screenHeight` (the primary display's full size), each
// coordinate raised to 0 if negative. When the active window is on another
// display than the primary one, the box is centred in that display's work
// area instead (and kept from its left and top edges).
scheme::Point CenterOnScreen(int width, int height, int screenWidth, int screenHeight,
                             const std::optional<Display>& activeDisplay) noexcept;

} // namespace dialogs
