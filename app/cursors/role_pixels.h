// The pixels of a role menu picture, window-free: a cursor drawn once over
// black and once over white gives its colours and its transparency.
#pragma once
#include <cstdint>
#include <vector>

namespace rolemenu {

// Premultiplied 0xAARRGGBB pixels from the same picture drawn over a black
// and over a white backdrop (0x00RRGGBB each, the same order and count).
// Where the two agree the pixel is opaque; where white shows through it is
// as transparent as the backdrops differ. A pixel that inverts what lies
// under it (lighter over black than over white, as a cursor's screen-inverting
// parts are) becomes opaque black, as such a cursor looks on a light menu.
// Nothing when the two differ in size.
std::vector<uint32_t> PremultipliedFromBackdrops(const std::vector<uint32_t>& onBlack,
                                                 const std::vector<uint32_t>& onWhite);

} // namespace rolemenu
