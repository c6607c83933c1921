#include "dialogs/screen_place.h"

#include <algorithm>

namespace dialogs {
namespace {

// One axis: `pos` and `size` of the window against [nearEdge, farEdge) of
// the work area; `keep` is how much of the window (from its near edge) must
// lie inside. When it does not, the whole window is brought inside. Wide
// arithmetic: stored values can be anything.
void FitAxis(long long& pos, long long& size, long long nearEdge, long long farEdge, long long keep)
{
    long long room = std::max(0LL, farEdge - nearEdge);
    if (size > room)
        size = room;
    keep = std::clamp(keep, 0LL, size);
    if (pos >= nearEdge && pos + keep <= farEdge)
        return;
    if (pos + size > farEdge)
        pos = farEdge - size;
    if (pos < nearEdge)
        pos = nearEdge;
}

int ToInt(long long v) noexcept
{
    return static_cast<int>(std::clamp<long long>(v, -2147483647LL - 1, 2147483647LL));
}

} // namespace

Bounds FitOnWorkArea(const Bounds& stored, const Bounds& current, const scheme::Rect& work, int titleHeight) noexcept
{
    long long left = stored.left, top = stored.top;
    long long width = stored.width > 0 ? stored.width : current.width;
    long long height = stored.height > 0 ? stored.height : current.height;
    // The title bar spans the whole width, so the window's width stays inside.
    FitAxis(left, width, work.left, work.right, width);
    FitAxis(top, height, work.top, work.bottom, titleHeight);
    return {ToInt(left), ToInt(top), ToInt(width), ToInt(height)};
}

scheme::Point CenterOnScreen(int width, int height, int screenWidth, int screenHeight,
                             const std::optional<Display>& activeDisplay) noexcept
{
    if (activeDisplay && !activeDisplay->primary) {
        const scheme::Rect& w = activeDisplay->work;
        long long x = w.left + (static_cast<long long>(w.right) - w.left - width) / 2;
        long long y = w.top + (static_cast<long long>(w.bottom) - w.top - height) / 2;
        return {ToInt(std::max<long long>(x, w.left)), ToInt(std::max<long long>(y, w.top))};
    }
    long long x = (static_cast<long long>(screenWidth) - width) / 2;
    long long y = (static_cast<long long>(screenHeight) - height) / 2;
    return {ToInt(std::max(0LL, x)), ToInt(std::max(0LL, y))};
}

} // namespace dialogs
