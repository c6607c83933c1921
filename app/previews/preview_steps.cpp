#include "app/previews/preview_steps.h"

#include <climits>
#include <cstddef>

namespace preview {

long long ClockFromCounter(long long count, long long frequency) noexcept
{
    if (frequency < 1)
        return 0;
    // Split so that count * kClockPerSecond cannot overflow.
    return count / frequency * kClockPerSecond + count % frequency * kClockPerSecond / frequency;
}

long long StepDuration(int rate) noexcept { return (rate < 1 ? 1 : static_cast<long long>(rate)) * kClockPerJiffy; }

namespace {

// Walks at most `limit` steps while the current one has run out by `now`.
// Every step start is at or before `now`, so nothing overflows.
void Walk(std::span<const int> rates, StepAdvance& a, long long now, std::size_t limit) noexcept
{
    for (std::size_t i = 0; i < limit; ++i) {
        long long d = StepDuration(rates[static_cast<std::size_t>(a.step)]);
        if (now - a.stepStart < d)
            return;
        a.stepStart += d;
        ++a.passed;
        if (static_cast<std::size_t>(++a.step) >= rates.size())
            a.step = 0;
    }
}

} // namespace

StepAdvance AdvanceSteps(std::span<const int> rates, int step, long long stepStart, long long now) noexcept
{
    StepAdvance a{step, stepStart, 0};
    if (rates.empty() || now <= stepStart)
        return a;
    if (step < 0 || static_cast<std::size_t>(step) >= rates.size())
        a.step = 0;
    const long long cycleStart = a.stepStart;
    Walk(rates, a, now, rates.size());
    if (a.passed < static_cast<long long>(rates.size()))
        return a; // still inside the first cycle
    // A whole cycle fitted: skip every further whole cycle in one go. The
    // cycle is at least one jiffy per step and no longer than the gap.
    const long long cycle = a.stepStart - cycleStart;
    const long long whole = (now - a.stepStart) / cycle;
    a.stepStart += whole * cycle;
    a.passed += whole * static_cast<long long>(rates.size());
    Walk(rates, a, now, rates.size());
    return a;
}

bool Animatable(int stepCount, std::span<const int> rates, std::span<const int> sequence, int frameCount) noexcept
{
    if (stepCount < 1 || frameCount < 1)
        return false;
    if (rates.size() != static_cast<std::size_t>(stepCount) || sequence.size() != static_cast<std::size_t>(stepCount))
        return false;
    for (int frame : sequence)
        if (frame < 0 || frame >= frameCount)
            return false;
    return true;
}

bool IsFileSystemPath(std::wstring_view path) noexcept
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

ViewGeometry ToViewCoordinates(ListPoint origin, ListPoint item) noexcept
{
    if (origin.x >= 0 && origin.y >= 0)
        return {origin, item};
    // Client coordinates with a negated origin: view = client + scroll.
    const auto negate = [](int v) { return v == INT_MIN ? INT_MAX : -v; };
    const auto add = [](int a, int b) {
        const long long sum = static_cast<long long>(a) + b;
        return static_cast<int>(sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : sum);
    };
    const ListPoint scroll{negate(origin.x), negate(origin.y)};
    return {scroll, {add(item.x, scroll.x), add(item.y, scroll.y)}};
}

bool ItemInView(int originX, int originY, int viewWidth, int viewHeight, int itemX, int itemY, int side) noexcept
{
    const long long kItemSide = side;
    const long long viewLeft = originX, viewTop = originY;
    const long long viewRight = viewLeft + viewWidth, viewBottom = viewTop + viewHeight;
    const long long itemLeft = itemX, itemTop = itemY;
    const long long itemRight = itemLeft + kItemSide, itemBottom = itemTop + kItemSide;
    return !(viewRight < itemLeft || itemRight < viewLeft || viewBottom < itemTop || itemBottom < viewTop);
}

} // namespace preview
