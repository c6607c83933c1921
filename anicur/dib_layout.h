// Where the parts of a DIB lie as a cursor or icon file stores it: the
// header, the bit-field masks, the palette, the colour bits and the AND mask
// (the header's height counts colour bits and mask together). Window-free, so
// that it can be tested and fuzzed on exact-size buffers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace anicur {

struct DibLayout {
    uint32_t headerSize = 0;
    int width = 0;
    int height = 0;   // of the colour image: half the header's height
    int bitCount = 0; // 1, 4, 8, 16, 24 or 32
    bool bitFields = false;      // colours given by three masks (16 and 32 bits)
    uint32_t masks[3] = {0, 0, 0}; // red, green, blue when bitFields
    size_t colourCount = 0;      // palette entries, at most 256
    // Offsets from the start of the DIB; every part lies inside `size`.
    size_t paletteOffset = 0;
    size_t colourBitsOffset = 0;
    size_t colourRow = 0; // bytes per row of colour bits
    size_t maskOffset = 0;
    size_t maskRow = 0;   // bytes per row of the AND mask
    size_t size = 0;      // bytes the whole image needs
};

// The layout of the DIB at `dib`, of which `avail` bytes may be read; nothing
// when it is not a DIB an icon can be made of or does not fit in `avail`.
// Bit-field masks follow a 40-byte header and lie inside a header of 52
// bytes or more; a bit-field header of any length between holds them neither
// way and is refused.
std::optional<DibLayout> ParseDib(const uint8_t* dib, size_t avail);

// Largest image side accepted, in pixels.
constexpr int kMaxImageSide = 4096;

} // namespace anicur
