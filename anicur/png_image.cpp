#include "anicur/png_image.h"

#include "anicur/byte_reader.h"
#include "anicur/inflate.h"

#include <array>
#include <cstring>

namespace anicur {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

constexpr std::array<uint32_t, 256> kCrcTable = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}();

uint32_t Crc32(const uint8_t* p, size_t n) noexcept
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
        c = kCrcTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// Ancillary chunks that do not change the pixels as decoded.
bool Harmless(const uint8_t* type) noexcept
{
    for (const char* t : {"cHRM", "bKGD", "pHYs", "tEXt", "zTXt", "iTXt", "tIME"})
        if (std::memcmp(type, t, 4) == 0)
            return true;
    return false;
}

// What the chunks say about the image.
struct PngParts {
    int colourType = 0;
    int depth = 0;
    const uint8_t* palette = nullptr; // RGB triples
    size_t paletteCount = 0;
    const uint8_t* alphas = nullptr; // alpha of the first palette entries
    size_t alphaCount = 0;
    const uint8_t* data = nullptr; // the first IDAT's data
    size_t dataLength = 0;         // all IDATs together
    int dataChunks = 0;
};

// Walks and checks every chunk up to IEND; false for anything not read
// here.
bool ReadChunks(const uint8_t* png, size_t length, int side, PngParts& parts) noexcept
{
    if (length < 8 || std::memcmp(png, kSignature, 8) != 0)
        return false;
    size_t at = 8;
    bool header = false, dataEnded = false;
    for (;;) {
        if (length - at < 12)
            return false;
        const uint32_t size = ReadU32BigEndian(png + at);
        if (size > length - at - 12)
            return false;
        const uint8_t* type = png + at + 4;
        const uint8_t* data = type + 4;
        if (Crc32(type, size + 4) != ReadU32BigEndian(data + size))
            return false;
        at += size + 12;
        const bool isData = IdIs(type, "IDAT");
        if (parts.dataChunks > 0 && !isData)
            dataEnded = true;
        if (!header) {
            if (!IdIs(type, "IHDR") || size != 13)
                return false;
            header = true;
            parts.depth = data[8];
            parts.colourType = data[9];
            const bool known = (parts.colourType == 6 && parts.depth == 8) ||
                               (parts.colourType == 3 && (parts.depth == 1 || parts.depth == 2 ||
                                                          parts.depth == 4 || parts.depth == 8));
            if (ReadU32BigEndian(data) != static_cast<uint32_t>(side) ||
                ReadU32BigEndian(data + 4) != static_cast<uint32_t>(side) || !known || data[10] != 0 ||
                data[11] != 0 || data[12] != 0)
                return false;
        } else if (isData) {
            // A palette without transparency is left to the system.
            if (dataEnded || (parts.colourType == 3 && !parts.alphas))
                return false;
            if (parts.dataChunks++ == 0)
                parts.data = data;
            parts.dataLength += size;
        } else if (IdIs(type, "PLTE")) {
            if (parts.colourType != 3 || parts.palette || parts.dataChunks || size == 0 || size % 3 != 0 ||
                size / 3 > (size_t{1} << parts.depth))
                return false;
            parts.palette = data;
            parts.paletteCount = size / 3;
        } else if (IdIs(type, "tRNS")) {
            if (parts.colourType != 3 || !parts.palette || parts.alphas || parts.dataChunks ||
                size > parts.paletteCount)
                return false;
            parts.alphas = data;
            parts.alphaCount = size;
        } else if (IdIs(type, "IEND")) {
            return size == 0 && parts.dataChunks > 0;
        } else if (!Harmless(type)) {
            return false;
        }
    }
}

// Reverses the filter of each row, in place. `rows` is preceded by a row of
// zeros (the row above the first).
bool Unfilter(uint8_t* rows, int height, size_t rowBytes, size_t bpp) noexcept
{
    const uint8_t* prev = rows - rowBytes;
    uint8_t* row = rows;
    for (int y = 0; y < height; ++y) {
        const uint8_t filter = row[0];
        uint8_t* cur = row + 1;
        const size_t n = rowBytes - 1;
        const uint8_t* up = prev;
        switch (filter) {
        case 0: break;
        case 1:
            for (size_t i = bpp; i < n; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + cur[i - bpp]);
            break;
        case 2:
            for (size_t i = 0; i < n; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + up[i]);
            break;
        case 3:
            for (size_t i = 0; i < bpp; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + (up[i] >> 1));
            for (size_t i = bpp; i < n; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + ((cur[i - bpp] + up[i]) >> 1));
            break;
        case 4:
            for (size_t i = 0; i < bpp; ++i)
                cur[i] = static_cast<uint8_t>(cur[i] + up[i]);
            for (size_t i = bpp; i < n; ++i) {
                const int a = cur[i - bpp], b = up[i], c = up[i - bpp];
                const int pa = b > c ? b - c : c - b; // |p - a| with p = a + b - c
                const int pb = a > c ? a - c : c - a;
                const int ab = a + b - 2 * c, pc = ab < 0 ? -ab : ab;
                const int pick = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                cur[i] = static_cast<uint8_t>(cur[i] + pick);
            }
            break;
        default: return false;
        }
        prev = cur;
        row += rowBytes;
    }
    return true;
}

// Turns the unfiltered rows into colours 0xAARRGGBB; false for a palette
// index past the palette.
bool ToColours(const PngParts& parts, const uint8_t* rows, int side, size_t rowBytes, uint32_t* colour) noexcept
{
    uint32_t palette[256];
    for (size_t i = 0; i < parts.paletteCount; ++i) {
        const uint8_t* p = parts.palette + 3 * i;
        const uint32_t a = i < parts.alphaCount ? parts.alphas[i] : 255;
        palette[i] = a << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    for (int y = 0; y < side; ++y, colour += side) {
        const uint8_t* p = rows + y * rowBytes + 1;
        if (parts.colourType == 6) {
            for (int x = 0; x < side; ++x, p += 4)
                colour[x] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        } else if (parts.depth == 8) {
            for (int x = 0; x < side; ++x) {
                if (p[x] >= parts.paletteCount)
                    return false;
                colour[x] = palette[p[x]];
            }
        } else {
            const int bits = parts.depth, perByte = 8 / bits;
            const unsigned valueMask = (1u << bits) - 1;
            for (int x = 0; x < side; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                const size_t index = (p[x / perByte] >> shift) & valueMask;
                if (index >= parts.paletteCount)
                    return false;
                colour[x] = palette[index];
            }
        }
    }
    return true;
}

} // namespace

bool AppendExactPng(FramePixels& frames, const uint8_t* png, size_t length, std::vector<uint8_t>& scratch)
{
    const int side = frames.Side();
    PngParts parts;
    if (!ReadChunks(png, length, side, parts))
        return false;
    const size_t bitsPerPixel = parts.colourType == 6 ? 32 : parts.depth;
    const size_t rowBytes = (static_cast<size_t>(side) * bitsPerPixel + 7) / 8 + 1; // with its filter byte
    const size_t rawBytes = rowBytes * side;
    const size_t bpp = bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
    // A row of zeros, the rows, then the data of several IDATs joined.
    scratch.assign(rowBytes, 0);
    scratch.resize(rowBytes + rawBytes + (parts.dataChunks > 1 ? parts.dataLength : 0));
    uint8_t* rows = scratch.data() + rowBytes;
    const uint8_t* data = parts.data;
    if (parts.dataChunks > 1) {
        // Consecutive IDATs: their data without the chunk frames between.
        uint8_t* joined = rows + rawBytes;
        size_t left = parts.dataLength;
        const uint8_t* chunk = parts.data - 8;
        while (left > 0) {
            const size_t size = ReadU32BigEndian(chunk);
            std::memcpy(joined, chunk + 8, size);
            joined += size;
            left -= size;
            chunk += size + 12;
        }
        data = rows + rawBytes;
    }
    if (!ZlibInflate(data, parts.dataLength, rows, rawBytes) || !Unfilter(rows, side, rowBytes, bpp))
        return false;
    // As the system's decoder makes them: an alpha frame, its mask set
    // where alpha is not whole.
    const int f = frames.Append(true);
    uint32_t* colour = frames.Colour(f);
    uint8_t* mask = frames.Mask(f);
    bool shows = false;
    if (ToColours(parts, rows, side, rowBytes, colour)) {
        const size_t pixels = static_cast<size_t>(side) * side;
        for (size_t i = 0; i < pixels; ++i) {
            const uint32_t a = colour[i] >> 24;
            shows = shows || a != 0;
            mask[i] = a != 255 ? 1 : 0;
        }
    }
    if (!shows) {
        // Wholly transparent or a bad index: the system's decoder decides.
        frames.PopBack();
        return false;
    }
    return true;
}

} // namespace anicur
