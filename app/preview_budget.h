// How much memory the previews' frame atlas takes, window-free: the size of
// its pages and what one more cursor would add, so that the loader can keep
// the previews of a folder within a budget.
#pragma once

namespace preview {

// Frames per row of an atlas page, and rows of an ordinary page. A cursor
// with more frames than an ordinary page holds gets a page of its own, of
// as many whole rows as it needs.
inline constexpr int kAtlasColumns = 32;
inline constexpr int kAtlasRows = 8;
inline constexpr int kAtlasFrameSide = 32;
// A page is one bitmap whose height, in pixels, must fit 16 bits.
inline constexpr int kAtlasMaxFrames = 0x7FFF / kAtlasFrameSide * kAtlasColumns;
// Bytes of one frame in a page (32 x 32 pixels of 32 bits).
inline constexpr long long kAtlasFrameBytes = 4LL * kAtlasFrameSide * kAtlasFrameSide;

// What the previews of one folder may hold in atlas pages together: some
// sixteen thousand frames, far more than any real folder of cursors shows.
inline constexpr long long kDefaultPreviewBudget = 64LL << 20;

// Bytes of a page made for `frames` frames: whole rows, at least an ordinary
// page. 0 for no frames or more than a page can hold.
long long AtlasPageBytes(int frames) noexcept;

// Bytes the atlas grows by to take a cursor of `frames` frames when its last
// page has `room` places left (0 without a page): 0 when they fit there,
// else a new page. -1 when no page can hold them (none, or too many).
long long AtlasGrowth(int room, int frames) noexcept;

// Whether growing an atlas of `used` bytes by `growth` stays within
// `budget`. A growth of -1 never fits.
bool WithinBudget(long long used, long long growth, long long budget) noexcept;

} // namespace preview
