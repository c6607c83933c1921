// Where a window goes when it is centred on another: rectangles of a window,
// its reference and the reference's work area, and the corner it goes to.
// The arithmetic is checked on every row natively; the rows real windows can
// have are checked again through CenterWindow under Wine.
#pragma once
#include "scheme/center_math.h"

namespace schemetest {

struct CenterRow {
    const char* name;
    scheme::Rect window, reference, work;
    scheme::Point at;
    bool real; // a window can have these rectangles
};

inline constexpr int kBig = 2147483647;
inline constexpr CenterRow kCenterRows[] = {
    {"centred", {0, 0, 300, 200}, {100, 100, 601, 401}, {0, 0, 1024, 738}, {200, 150}, true},
    // Odd sizes round toward zero on both halves: 100 + 0 - 0.
    {"odd sizes", {50, 50, 51, 51}, {100, 100, 101, 101}, {0, 0, 1024, 738}, {100, 100}, true},
    // Near the right and bottom edges: the far edges end on the work area's.
    {"far edges", {0, 0, 300, 200}, {900, 650, 1100, 800}, {0, 30, 1024, 738}, {1024 - 300, 738 - 200}, true},
    {"near edges", {0, 0, 300, 200}, {-50, 0, 50, 40}, {0, 30, 1024, 738}, {0, 30}, true},
    // Larger than the work area: aligned with its left and top edges.
    {"larger", {0, 0, 2000, 1000}, {100, 100, 601, 401}, {0, 30, 1024, 738}, {0, 30}, true},
    // A work area that does not start at the origin (taskbar on the left).
    {"taskbar left", {0, 0, 300, 200}, {0, 100, 100, 401}, {60, 0, 1024, 738}, {60, 150}, true},
    // The window on a second monitor, right of the primary one: its own
    // work area holds the dialog, not the primary's.
    {"second monitor", {0, 0, 300, 200}, {2200, 700, 2700, 1000}, {1280, 0, 2560, 984}, {2260, 750}, true},
    {"above the primary", {0, 0, 300, 200}, {100, -900, 500, -500}, {0, -1024, 1280, -40}, {150, -800}, true},
    {"extreme", {-kBig, -kBig, kBig, kBig}, {-kBig, -kBig, kBig, kBig}, {0, 0, 1024, 738}, {0, 0}, false},
    // A minimised reference window sits at (-32000, -32000).
    {"minimised", {0, 0, 300, 200}, {-32000, -32000, -31840, -31972}, {0, 0, 1024, 738}, {0, 0}, false},
};

} // namespace schemetest
