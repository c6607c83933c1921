#include "anicur/icon_dir.h"

#include "anicur/byte_reader.h"
#include "anicur/dib_layout.h"

#include <cstring>

namespace anicur {
namespace {

constexpr size_t DirHeader = 6;
constexpr size_t DirEntry = 16;
constexpr size_t MinPng = 8 + 8 + 13 + 4; // signature and IHDR chunk
constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool ValidSide(int64_t v) { return v >= 1 && v <= kMaxImageSide; }

// Fills size and depth from a PNG stream's IHDR; false if it is no PNG.
bool MeasurePng(const uint8_t* p, size_t avail, IconImage& img)
{
    // Signature, then the IHDR chunk: length 13, "IHDR", 13 bytes, CRC.
    if (avail < MinPng || std::memcmp(p, PngSignature, 8) != 0)
        return false;
    if (ReadU32BigEndian(p + 8) != 13 || std::memcmp(p + 12, "IHDR", 4) != 0)
        return false;
    const uint32_t width = ReadU32BigEndian(p + 16);
    const uint32_t height = ReadU32BigEndian(p + 20);
    const int depth = p[24];
    int channels = 0;
    switch (p[25]) {
    case 0: channels = 1; break; // grey
    case 2: channels = 3; break; // RGB
    case 3: channels = 1; break; // palette
    case 4: channels = 2; break; // grey and alpha
    case 6: channels = 4; break; // RGBA
    default: return false;
    }
    if (!ValidSide(width) || !ValidSide(height) || depth < 1 || depth > 16)
        return false;
    img.width = static_cast<int>(width);
    img.height = static_cast<int>(height);
    img.bitCount = depth * channels;
    img.png = true;
    return true;
}

// True when `a` fits a target cell better than `b`.
bool Better(const IconImage& a, const IconImage& b, int target)
{
    auto rank = [target](const IconImage& i) {
        if (i.width == target && i.height == target)
            return 0;
        return i.width >= target && i.height >= target ? 1 : 2;
    };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb;
    const int64_t areaA = int64_t{a.width} * a.height, areaB = int64_t{b.width} * b.height;
    if (ra == 1 && areaA != areaB)
        return areaA < areaB; // the nearest larger
    if (ra == 2 && areaA != areaB)
        return areaA > areaB; // the largest of the smaller ones
    return a.bitCount > b.bitCount;
}

} // namespace

bool IsIconDirectory(const uint8_t* data, size_t size) noexcept
{
    if (size < DirHeader)
        return false;
    const uint16_t type = ReadU16(data + 2);
    return ReadU16(data) == 0 && (type == 1 || type == 2) && ReadU16(data + 4) >= 1;
}

std::vector<IconImage> ListIconImages(const uint8_t* data, size_t size)
{
    std::vector<IconImage> images;
    if (size < DirHeader)
        return images;
    const uint16_t type = ReadU16(data + 2);
    const size_t count = ReadU16(data + 4);
    for (size_t i = 0; i < count && DirHeader + (i + 1) * DirEntry <= size; ++i) {
        const uint8_t* e = data + DirHeader + i * DirEntry;
        const uint32_t bytes = ReadU32(e + 8);
        const uint32_t offset = ReadU32(e + 12);
        if (offset >= size)
            continue;
        const size_t avail = size - offset;
        IconImage img;
        img.offset = offset;
        img.cursor = type == 2;
        if (img.cursor) {
            img.hotspotX = ReadU16(e + 4);
            img.hotspotY = ReadU16(e + 6);
        }
        if (MeasurePng(data + offset, avail, img)) {
            // A PNG's length is only known from the directory.
            img.length = bytes < avail ? bytes : avail;
            if (img.length < MinPng)
                continue;
        } else {
            const std::optional<DibLayout> dib = ParseDib(data + offset, avail);
            if (!dib)
                continue;
            img.width = dib->width;
            img.height = dib->height;
            img.bitCount = dib->bitCount;
            img.png = false;
            const size_t needed = dib->size;
            // The directory's byte count is often wrong; the DIB header says
            // how much the image needs, and the data holds it.
            img.length = bytes >= needed && bytes <= avail ? bytes : needed;
        }
        images.push_back(img);
    }
    return images;
}

std::optional<IconImage> ChooseIconImage(const uint8_t* data, size_t size, int target)
{
    std::optional<IconImage> best;
    for (const IconImage& img : ListIconImages(data, size))
        if (!best || Better(img, *best, target))
            best = img;
    return best;
}

} // namespace anicur
