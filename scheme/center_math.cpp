#include "scheme/center_math.h"

namespace scheme {
namespace {

// One axis. Wide arithmetic: window rectangles of minimised or off-screen
// windows can hold extreme values.
long long Place(long long windowNear, long long windowFar, long long refNear, long long refFar,
                long long workNear, long long workFar) noexcept
{
    long long size = windowFar - windowNear;
    long long pos = refNear + (refFar - refNear) / 2 - size / 2;
    if (pos + size > workFar)
        pos = workFar - size;
    if (pos < workNear)
        pos = workNear;
    return pos;
}

int ToInt(long long v) noexcept
{
    // Only reachable with a window larger than the coordinate space itself.
    constexpr long long lo = -2147483647LL - 1, hi = 2147483647LL;
    return static_cast<int>(v < lo ? lo : v > hi ? hi : v);
}

} // namespace

Point CenterPosition(const Rect& window, const Rect& reference, const Rect& work) noexcept
{
    return {ToInt(Place(window.left, window.right, reference.left, reference.right, work.left, work.right)),
            ToInt(Place(window.top, window.bottom, reference.top, reference.bottom, work.top, work.bottom))};
}

} // namespace scheme
