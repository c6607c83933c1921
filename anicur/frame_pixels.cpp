#include "anicur/frame_pixels.h"

#include "anicur/byte_reader.h"
#include "anicur/dib_layout.h"

namespace anicur {

int FramePixels::Append(bool alpha)
{
    const size_t pixels = static_cast<size_t>(side_) * side_;
    alpha_.reserve(alpha_.size() + 1);
    colour_.resize(colour_.size() + pixels, 0);
    try {
        mask_.resize(mask_.size() + pixels, 1);
    } catch (...) {
        colour_.resize(colour_.size() - pixels);
        throw;
    }
    alpha_.push_back(alpha ? 1 : 0);
    return Count() - 1;
}

void FramePixels::PopBack() noexcept
{
    if (alpha_.empty())
        return;
    const size_t pixels = static_cast<size_t>(side_) * side_;
    alpha_.pop_back();
    colour_.resize(colour_.size() - pixels);
    mask_.resize(mask_.size() - pixels);
}

bool FramePixels::Shows(int f, size_t i) const noexcept
{
    const uint32_t c = Colour(f)[i];
    if (Alpha(f))
        return (c >> 24) != 0;
    return Mask(f)[i] == 0 || (c & 0xFFFFFF) != 0;
}

bool AppendExactDib(FramePixels& frames, const uint8_t* dib, size_t length)
{
    const std::optional<DibLayout> layout = ParseDib(dib, length);
    const int side = frames.Side();
    if (!layout || layout->width != side || layout->height != side || layout->bitFields)
        return false;
    const int bits = layout->bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    // Rows run from the bottom; every part lies inside the image (ParseDib).
    bool alpha = false;
    if (bits == 32)
        for (int y = 0; y < side && !alpha; ++y)
            for (int x = 0; x < side && !alpha; ++x)
                alpha = dib[layout->colourBitsOffset + y * layout->colourRow + x * 4 + 3] != 0;
    const int f = frames.Append(alpha);
    uint32_t* colour = frames.Colour(f);
    uint8_t* mask = frames.Mask(f);
    const uint8_t* palette = dib + layout->paletteOffset;
    for (int y = 0; y < side; ++y) {
        const uint8_t* row = dib + layout->colourBitsOffset + static_cast<size_t>(side - 1 - y) * layout->colourRow;
        const uint8_t* maskRow = dib + layout->maskOffset + static_cast<size_t>(side - 1 - y) * layout->maskRow;
        for (int x = 0; x < side; ++x) {
            uint32_t c = 0;
            if (bits == 32) {
                c = ReadU32(row + x * 4);
                if (!alpha)
                    c &= 0xFFFFFF;
            } else if (bits == 24) {
                c = uint32_t(row[x * 3]) | uint32_t(row[x * 3 + 1]) << 8 | uint32_t(row[x * 3 + 2]) << 16;
            } else {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                const size_t index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
                // An index past the palette shows black, as GDI draws it.
                c = index < layout->colourCount ? ReadU32(palette + 4 * index) & 0xFFFFFF : 0;
            }
            colour[static_cast<size_t>(y) * side + x] = c;
            mask[static_cast<size_t>(y) * side + x] = (maskRow[x / 8] & (0x80 >> (x % 8))) ? 1 : 0;
        }
    }
    return true;
}

namespace {

// One channel of straight alpha `a` over `beneath`, rounded.
inline uint32_t Blend(uint32_t colour, uint32_t beneath, uint32_t a, int shift) noexcept
{
    const uint32_t c = (colour >> shift) & 0xFF, b = (beneath >> shift) & 0xFF;
    return ((c * a + b * (255 - a) + 127) / 255) << shift;
}

} // namespace

void ComposeFrame(const FramePixels& frames, int f, uint32_t* pixels, size_t stride) noexcept
{
    const int side = frames.Side();
    const uint32_t* colour = frames.Colour(f);
    if (frames.Alpha(f)) {
        for (int y = 0; y < side; ++y, pixels += stride, colour += side)
            for (int x = 0; x < side; ++x) {
                const uint32_t c = colour[x], a = c >> 24, b = pixels[x] & 0xFFFFFF;
                pixels[x] = a == 255 ? (c & 0xFFFFFF)
                            : a == 0 ? b
                                     : Blend(c, b, a, 16) | Blend(c, b, a, 8) | Blend(c, b, a, 0);
            }
        return;
    }
    const uint8_t* mask = frames.Mask(f);
    for (int y = 0; y < side; ++y, pixels += stride, colour += side, mask += side)
        for (int x = 0; x < side; ++x)
            pixels[x] = ((mask[x] ? pixels[x] : 0) ^ colour[x]) & 0xFFFFFF;
}

} // namespace anicur
