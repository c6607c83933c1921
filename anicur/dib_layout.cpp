#include "anicur/dib_layout.h"

#include "anicur/byte_reader.h"

namespace anicur {
namespace {

constexpr uint32_t InfoHeader = 40;  // BITMAPINFOHEADER
constexpr uint32_t MaskHeader = 52;  // the first header that holds the masks
constexpr size_t MaskBytes = 12;     // red, green and blue masks
constexpr uint32_t RgbCompression = 0;
constexpr uint32_t BitFieldCompression = 3;

bool ValidSide(int64_t v) { return v >= 1 && v <= kMaxImageSide; }

} // namespace

std::optional<DibLayout> ParseDib(const uint8_t* dib, size_t avail)
{
    if (avail < InfoHeader)
        return std::nullopt;
    DibLayout d;
    d.headerSize = ReadU32(dib);
    const int32_t width = static_cast<int32_t>(ReadU32(dib + 4));
    const int32_t doubleHeight = static_cast<int32_t>(ReadU32(dib + 8));
    const uint16_t planes = ReadU16(dib + 12);
    const uint16_t bits = ReadU16(dib + 14);
    const uint32_t compression = ReadU32(dib + 16);
    const uint32_t clrUsed = ReadU32(dib + 32);
    if (d.headerSize < InfoHeader || d.headerSize > avail || planes != 1)
        return std::nullopt;
    if (!ValidSide(width) || !ValidSide(doubleHeight / 2))
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;

    size_t masksAfterHeader = 0;
    if (compression == BitFieldCompression) {
        if (bits != 16 && bits != 32)
            return std::nullopt;
        size_t at = 0;
        if (d.headerSize == InfoHeader) {
            masksAfterHeader = MaskBytes;
            at = InfoHeader;
        } else if (d.headerSize >= MaskHeader) {
            at = InfoHeader;
        } else {
            return std::nullopt;
        }
        if (at + MaskBytes > avail)
            return std::nullopt;
        d.bitFields = true;
        for (int i = 0; i < 3; ++i)
            d.masks[i] = ReadU32(dib + at + 4 * i);
    } else if (compression != RgbCompression) {
        return std::nullopt;
    }

    // Counted as the system counts them, so that nothing it reads lies
    // outside the image.
    d.colourCount = clrUsed > 256 ? 256 : clrUsed;
    if (d.colourCount == 0 && bits <= 8)
        d.colourCount = size_t{1} << bits;
    d.width = width;
    d.height = doubleHeight / 2;
    d.bitCount = bits;
    // All below stays far from overflow: sides are at most 4096 pixels.
    d.colourRow = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    d.maskRow = (static_cast<size_t>(width) + 31) / 32 * 4;
    d.paletteOffset = d.headerSize + masksAfterHeader;
    d.colourBitsOffset = d.paletteOffset + d.colourCount * 4;
    d.maskOffset = d.colourBitsOffset + d.colourRow * static_cast<size_t>(d.height);
    d.size = d.maskOffset + d.maskRow * static_cast<size_t>(d.height);
    if (d.size > avail)
        return std::nullopt;
    return d;
}

} // namespace anicur
