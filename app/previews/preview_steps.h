// Window-free arithmetic of the animated previews in the file list: the
// animation clock, stepping an animation by the time that has really passed,
// which files are previewed and which loaded cursors can be animated, and
// whether an item can be seen.
#pragma once
#include <span>
#include <string_view>

namespace preview {

// The animation clock counts 1/60000 s. A jiffy (1/60 s, the unit of an
// animated cursor's rates) is then exactly 1000 units, so the start of a step
// is always an exact sum of step durations and the pace cannot drift.
inline constexpr long long kClockPerSecond = 60000;
inline constexpr long long kClockPerJiffy = 1000;
inline constexpr long long kClockPerMs = 60;

// Clock units of a performance counter that reads `count` and ticks
// `frequency` times a second (0 for a frequency below 1).
long long ClockFromCounter(long long count, long long frequency) noexcept;

// How long a step of `rate` jiffies is shown; a rate below 1 counts as 1.
long long StepDuration(int rate) noexcept;

struct StepAdvance {
    int step;            // the step to show at `now`
    long long stepStart; // when that step began: the previous start plus the
                         // exact durations of the steps passed
    long long passed;    // steps passed on the way (whole cycles included)
};

// Advances an animation whose step `step` began at `stepStart` to the time
// `now`: a step lasts StepDuration(rates[step]); after the last step comes
// step 0. However long the gap, at most two cycles are walked: whole cycles
// that fit into it are skipped at once, so a stall lands on the step the
// time calls for instead of racing through what was missed. A step outside
// the animation restarts at 0; an empty animation or a clock that went back
// passes nothing.
StepAdvance AdvanceSteps(std::span<const int> rates, int step, long long stepStart, long long now) noexcept;

// Whether a loaded cursor can be animated: at least one step, one rate and
// one frame index per step, every index naming one of `frameCount` frames.
bool Animatable(int stepCount, std::span<const int> rates, std::span<const int> sequence, int frameCount) noexcept;

// Whether a parsing path names a place in the file system on its own: a
// drive's absolute path ("C:\...") or a network path ("\\server\..."). A
// relative path, a drive-relative one ("C:x") and a virtual item's parsing
// name ("::{...}") do not.
bool IsFileSystemPath(std::wstring_view path) noexcept;

struct ListPoint {
    int x, y;
};
struct ViewGeometry {
    ListPoint origin; // the view coordinates of the client area's top-left corner
    ListPoint item;   // the item's icon position in view coordinates
};
// The list's origin and an item's position as the list view reports them,
// turned into view coordinates. The system's list view reports the item in
// view coordinates and the origin as the scroll offset, which an
// auto-arranged icon view never makes negative; Wine's reports the item in
// client coordinates and the origin negated. A negative origin therefore
// names the second convention; at origin 0 the two agree.
ViewGeometry ToViewCoordinates(ListPoint origin, ListPoint item) noexcept;

// Whether an icon of `side` x `side` pixels at (itemX, itemY) overlaps the
// visible part of the list: the view rectangle runs from the origin over the
// control's size. Touching edges count as overlapping.
bool ItemInView(int originX, int originY, int viewWidth, int viewHeight, int itemX, int itemY,
                int side = 32) noexcept;

} // namespace preview
