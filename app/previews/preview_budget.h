// How much memory the previews take, window-free: what one loaded cursor
// holds (its frames, its steps and the frames composed for drawing), and
// the atlas pages the composed frames sit in, so that the loader can keep
// the previews of a folder within a budget.
#pragma once

namespace preview {

// Frames per row of an atlas page, and rows of an ordinary page. A cursor
// with more frames than an ordinary page holds gets a page of its own, of
// as many whole rows as it needs.
inline constexpr int kAtlasColumns = 32;
inline constexpr int kAtlasRows = 8;
// The icon size the previews are drawn at unless the list says otherwise.
inline constexpr int kAtlasFrameSide = 32;
// The looks a preview's frames are composed in at once: plain and selected.
inline constexpr int kComposedLooks = 2;

// Most frames one page holds for frames of `side` pixels: a page is one
// bitmap whose height, in pixels, must fit 16 bits.
int AtlasMaxFrames(int side) noexcept;

// What the previews of one folder may hold together: a few thousand frames
// with their steps, far more than any real folder of cursors shows.
inline constexpr long long kDefaultPreviewBudget = 64LL << 20;

// Bytes of an atlas page made for `frames` frames of `side` pixels: whole
// rows, at least an ordinary page. 0 for no frames or more than a page can
// hold.
long long AtlasPageBytes(int frames, int side) noexcept;

// Bytes one loaded cursor of `frames` frames of `side` pixels and `steps`
// steps holds: the frames with their masks, a rate and a frame index per
// step, and its frames composed in every look. -1 for a count below 0 or
// frames that no atlas page can hold.
long long PreviewBytes(int frames, int side, long long steps) noexcept;

// Whether growing from `used` bytes by `growth` stays within `budget`. A
// growth of -1 never fits.
bool WithinBudget(long long used, long long growth, long long budget) noexcept;

} // namespace preview
