// Choice of one image from a cursor or icon file image (the content of a
// frame of an animated cursor): the directory is read bounds-checked and
// every image is checked against its own header before it can be chosen.
#pragma once
#include "anicur/dib_layout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace anicur {

struct IconImage {
    // The image's bytes inside the file image: a DIB (header, colours, colour
    // bits, mask) or a complete PNG stream.
    size_t offset = 0;
    size_t length = 0;
    int width = 0;
    int height = 0;
    int bitCount = 0; // bits per pixel (for PNG: bit depth times channels)
    bool png = false;
    bool cursor = false;           // resource type 2: the directory holds hotspots
    uint16_t hotspotX = 0, hotspotY = 0;
};

// Whether `data` begins like a cursor (type 2) or icon (type 1) file: a
// 6-byte header with a zero reserved word, one of those types and at least
// one directory entry. Nothing beyond the header is looked at.
bool IsIconDirectory(const uint8_t* data, size_t size) noexcept;

// The images of the directory that are whole and well-formed, in
// directory order. Entries that point outside the data or whose image header
// does not describe an image that fits are left out.
std::vector<IconImage> ListIconImages(const uint8_t* data, size_t size);

// The image that best fits a `target` x `target` cell: an exact fit with the
// most colours, else the nearest larger one, else the largest; ties go to
// more colours, then to the earlier entry. Nothing when no image is usable.
std::optional<IconImage> ChooseIconImage(const uint8_t* data, size_t size, int target = 32);

} // namespace anicur
