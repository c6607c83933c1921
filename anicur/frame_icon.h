// An image of a cursor or icon file image made into an icon, from memory.
#pragma once
#include "ui/handles.h"

#include <cstddef>
#include <cstdint>

namespace anicur {

struct IconImage;

// The icon of the image inside a cursor or icon file image that `image`
// describes, `side` x `side` pixels (0: the image's own size). Null when the
// system cannot make it.
ui::UniqueIcon MakeImageIcon(const uint8_t* file, size_t size, const IconImage& image, int side = 0) noexcept;

} // namespace anicur
