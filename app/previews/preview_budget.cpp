#include "app/previews/preview_budget.h"

namespace preview {

int AtlasMaxFrames(int side) noexcept { return side < 1 ? 0 : 0x7FFF / side * kAtlasColumns; }

long long AtlasPageBytes(int frames, int side) noexcept
{
    if (frames <= 0 || frames > AtlasMaxFrames(side))
        return 0;
    const int ordinary = kAtlasColumns * kAtlasRows;
    const long long places =
        frames > ordinary ? (frames + kAtlasColumns - 1LL) / kAtlasColumns * kAtlasColumns : ordinary;
    return places * 4 * side * side;
}

long long PreviewBytes(int frames, int side, long long steps) noexcept
{
    if (frames < 0 || steps < 0 || frames > AtlasMaxFrames(side))
        return -1;
    const long long pixels = static_cast<long long>(side) * side;
    // Colour and mask (5 bytes a pixel), then 4 a pixel per composed look.
    return frames * pixels * (5 + 4 * kComposedLooks) + steps * 8;
}

bool WithinBudget(long long used, long long growth, long long budget) noexcept
{
    if (growth < 0 || used < 0)
        return false;
    return growth <= budget - used; // used may already be over a lowered budget
}

} // namespace preview
