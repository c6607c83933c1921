#include "app/preview_budget.h"

namespace preview {

long long AtlasPageBytes(int frames) noexcept
{
    if (frames <= 0 || frames > kAtlasMaxFrames)
        return 0;
    const int ordinary = kAtlasColumns * kAtlasRows;
    const int places = frames > ordinary ? (frames + kAtlasColumns - 1) / kAtlasColumns * kAtlasColumns : ordinary;
    return places * kAtlasFrameBytes;
}

long long AtlasGrowth(int room, int frames) noexcept
{
    if (frames <= 0 || frames > kAtlasMaxFrames)
        return -1;
    if (room >= frames)
        return 0;
    return AtlasPageBytes(frames);
}

bool WithinBudget(long long used, long long growth, long long budget) noexcept
{
    if (growth < 0 || used < 0)
        return false;
    return growth <= budget - used; // used may already be over a lowered budget
}

} // namespace preview
