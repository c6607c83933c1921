// Reads the PNG images of cursor files straight from their bytes, for the
// kinds the frames of animated cursors are made of. Window-free.
#pragma once
#include "anicur/frame_pixels.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace anicur {

// Appends the image of the PNG stream [png, png + length) as the system's
// decoder makes it (an alpha frame, masked where alpha is not 255), when it
// is exactly Side() pixels square, not interlaced, 8-bit RGBA or a palette
// of 1 to 8 bits with transparency, some pixel not fully transparent, and
// every chunk it holds is whole, checked and understood. False, with
// nothing appended, for any other (the system's decoder then reads it, and
// decides about a broken one). `scratch` is working memory, kept for the
// next image. std::bad_alloc when memory runs out.
bool AppendExactPng(FramePixels& frames, const uint8_t* png, size_t length, std::vector<uint8_t>& scratch);

} // namespace anicur
