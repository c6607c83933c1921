// Where a window goes when it is centred on another one within a work area.
#pragma once

namespace scheme {

struct Rect {
    int left, top, right, bottom;
};

struct Point {
    int x, y;
};

// Top-left corner for `window` centred on `reference`, pushed back inside
// `work`: the far edge is clamped first, then the near edge, so a window
// larger than the work area sits at its left and top edges.
Point CenterPosition(const Rect& window, const Rect& reference, const Rect& work) noexcept;

} // namespace scheme
