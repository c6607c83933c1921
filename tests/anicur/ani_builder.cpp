#include "ani_builder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>

namespace anitest {

Bytes U16(uint16_t v)
{
    return Bytes{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

Bytes U32(uint32_t v)
{
    Bytes b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

Bytes U32s(std::initializer_list<uint32_t> values)
{
    Bytes b;
    for (uint32_t v : values)
        b += U32(v);
    return b;
}

Bytes Chunk(std::string_view id, const Bytes& content, bool pad)
{
    Bytes b(id.substr(0, 4));
    b += U32(static_cast<uint32_t>(content.size()));
    b += content;
    if (pad && (content.size() & 1))
        b += '\0';
    return b;
}

Bytes List(std::string_view type, const Bytes& chunks, bool pad)
{
    return Chunk("LIST", Bytes(type) + chunks, pad);
}

Bytes RiffWithLength(const Bytes& chunks, uint32_t length)
{
    return "RIFF" + U32(length) + "ACON" + chunks;
}

Bytes Riff(const Bytes& chunks)
{
    return RiffWithLength(chunks, static_cast<uint32_t>(chunks.size() + 4));
}

Bytes Anih(uint32_t steps, uint32_t frames, uint32_t defaultRate, uint32_t flags)
{
    return Chunk("anih", U32s({36, frames, steps, 0, 0, 0, 0, defaultRate, flags}));
}

Bytes FrameList(const std::vector<Bytes>& frames)
{
    Bytes icons;
    for (const Bytes& f : frames)
        icons += Chunk("icon", f);
    return List("fram", icons);
}

uint32_t PaletteColour(int index)
{
    static const std::array<uint32_t, 5> first = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF};
    if (index < 5)
        return first[index];
    const uint32_t g = static_cast<uint32_t>(index) & 0xFF;
    return (g << 16) | (g << 8) | g;
}

namespace {

int PaletteIndex(uint32_t colour, int bits)
{
    if (bits == 1)
        return colour == 0xFFFFFF ? 1 : 0;
    for (int i = 0; i < (1 << bits); ++i)
        if (PaletteColour(i) == colour)
            return i;
    throw std::invalid_argument("colour not in the palette");
}

void PutBits(Bytes& row, int x, int bits, uint32_t value)
{
    const int bit = x * bits;
    if (bits < 8) {
        const int shift = 8 - bits - bit % 8;
        row[bit / 8] = static_cast<char>(static_cast<uint8_t>(row[bit / 8]) | (value << shift));
        return;
    }
    for (int i = 0; i < bits / 8; ++i)
        row[bit / 8 + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t Crc32(const Bytes& data)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

Bytes BigEndian(uint32_t v)
{
    return Bytes{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                 static_cast<char>(v)};
}

} // namespace

Bytes Dib(int width, int height, int bits, const PixelFn& pixel)
{
    Bytes b = U32s({40, static_cast<uint32_t>(width), static_cast<uint32_t>(2 * height)});
    b += U16(1) + U16(static_cast<uint16_t>(bits));
    b += U32s({0, 0, 0, 0, 0, 0});
    if (bits <= 8)
        for (int i = 0; i < (1 << bits); ++i) {
            const uint32_t c = PaletteColour(i);
            b += static_cast<char>(c & 0xFF);
            b += static_cast<char>((c >> 8) & 0xFF);
            b += static_cast<char>((c >> 16) & 0xFF);
            b += '\0';
        }
    const size_t colourRow = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    const size_t maskRow = (static_cast<size_t>(width) + 31) / 32 * 4;
    Bytes colours, mask;
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(colourRow, '\0'), maskBits(maskRow, '\0');
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixel(x, y);
            const bool inverting = (c & 0xFF000000) == Inverting;
            const bool clear = c == Transparent;
            if (clear || inverting)
                maskBits[x / 8] = static_cast<char>(static_cast<uint8_t>(maskBits[x / 8]) | (0x80 >> (x % 8)));
            if (inverting && bits != 32)
                c &= 0xFFFFFF; // its colour stays, under a set mask bit
            uint32_t v = 0;
            if (bits <= 8)
                v = clear ? 0 : static_cast<uint32_t>(PaletteIndex(c, bits));
            else if (bits == 24)
                v = clear ? 0 : c;
            else
                v = clear ? 0 : (c | 0xFF000000);
            PutBits(row, x, bits, v);
        }
        colours += row;
        mask += maskBits;
    }
    return b + colours + mask;
}

Bytes WithBitFields(const Bytes& dib, uint32_t headerSize, uint32_t red, uint32_t green, uint32_t blue)
{
    const Bytes masks = U32s({red, green, blue});
    Bytes header = dib.substr(0, 40);
    header.replace(0, 4, U32(headerSize));
    header.replace(16, 4, U32(3)); // BI_BITFIELDS
    if (headerSize == 40)
        header += masks;
    else if (headerSize >= 52)
        header += masks + Bytes(headerSize - 52, '\0');
    else
        header += Bytes(headerSize - 40, '\0');
    return header + dib.substr(40);
}

Bytes PngChunk(std::string_view type, const Bytes& data)
{
    Bytes body = Bytes(type) + data;
    return BigEndian(static_cast<uint32_t>(data.size())) + body + BigEndian(Crc32(body));
}

Bytes ZlibStored(const Bytes& raw)
{
    Bytes z = "\x78\x01";
    uint32_t a = 1, s = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        s = (s + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t n = std::min<size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += U16(static_cast<uint16_t>(n)) + U16(static_cast<uint16_t>(~n));
        z += raw.substr(pos, n);
        pos += n;
        if (last)
            break;
    }
    return z + BigEndian((s << 16) | a);
}

Bytes PngOf(int width, int height, int colourType, int depth, const Bytes& before, const Bytes& zlib, int interlace)
{
    const char kind[5] = {static_cast<char>(depth), static_cast<char>(colourType), 0, 0, static_cast<char>(interlace)};
    const Bytes ihdr = BigEndian(width) + BigEndian(height) + Bytes(kind, 5);
    return Bytes("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + before + PngChunk("IDAT", zlib) +
           PngChunk("IEND", {});
}

Bytes Png(int width, int height, const PixelFn& pixel)
{
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < width; ++x) {
            const uint32_t c = pixel(x, y);
            const bool clear = c == Transparent;
            raw += static_cast<char>(clear ? 0 : (c >> 16) & 0xFF);
            raw += static_cast<char>(clear ? 0 : (c >> 8) & 0xFF);
            raw += static_cast<char>(clear ? 0 : c & 0xFF);
            raw += static_cast<char>(clear ? 0 : 0xFF);
        }
    }
    return PngOf(width, height, 6, 8, {}, ZlibStored(raw));
}

namespace {

// `raw` (rows without filter bytes, `rowBytes` each) filtered row by row
// with filter `filters[y % size]`, as an encoder does.
Bytes Filtered(const Bytes& raw, size_t rowBytes, size_t bpp, const std::vector<int>& filters)
{
    Bytes out;
    const Bytes zero(rowBytes, '\0');
    for (size_t y = 0; y * rowBytes < raw.size(); ++y) {
        const auto* cur = reinterpret_cast<const uint8_t*>(raw.data() + y * rowBytes);
        const auto* up = reinterpret_cast<const uint8_t*>(y ? raw.data() + (y - 1) * rowBytes : zero.data());
        const int f = filters[y % filters.size()];
        out += static_cast<char>(f);
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= bpp ? cur[i - bpp] : 0, b = up[i], c = i >= bpp ? up[i - bpp] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int predicted[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b
                                                                                                : c};
            out += static_cast<char>(cur[i] - predicted[f]);
        }
    }
    return out;
}

} // namespace

const std::vector<PngKind>& PngKinds()
{
    static const std::vector<PngKind> kinds = {
        {"RGBA", 6, 8},
        {"palette, 8 bits", 3, 8},
        {"palette, 4 bits", 3, 4},
        {"palette, 2 bits", 3, 2},
        {"palette, 1 bit", 3, 1},
    };
    return kinds;
}

PngSample SamplePng(int side, const PngKind& k, const std::vector<int>& filters)
{
    Bytes raw, chunks;
    std::vector<uint32_t> colours;
    const int entries = k.colourType == 3 ? 1 << k.depth : 0;
    Bytes palette, alphas;
    for (int i = 0; i < entries; ++i) {
        palette += Bytes{static_cast<char>(i * 37), static_cast<char>(255 - i), static_cast<char>(i * 5 + 1)};
        if (i < entries / 2 + 1)
            alphas += static_cast<char>(i == 0 ? 255 : i * 29);
    }
    if (entries)
        chunks = PngChunk("PLTE", palette) + PngChunk("tRNS", alphas);
    for (int y = 0; y < side; ++y) {
        const int bits = k.colourType == 6 ? 32 : k.depth;
        Bytes row((side * bits + 7) / 8, '\0');
        for (int x = 0; x < side; ++x) {
            const uint8_t r = static_cast<uint8_t>(x * 31 + y * 7), g = static_cast<uint8_t>(200 - y * 13),
                          b = static_cast<uint8_t>(x * y * 5), a = static_cast<uint8_t>(x * 36 + y);
            if (k.colourType == 6) {
                row.replace(x * 4, 4, Bytes{char(r), char(g), char(b), char(a)});
                colours.push_back(uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b);
            } else {
                const int index = (x * 3 + y) % entries, at = x * k.depth;
                row[at / 8] = static_cast<char>(row[at / 8] | index << (8 - k.depth - at % 8));
                const uint32_t alpha = index < static_cast<int>(alphas.size()) ? uint8_t(alphas[index]) : 255;
                colours.push_back(alpha << 24 | uint32_t(uint8_t(palette[index * 3])) << 16 |
                                  uint32_t(uint8_t(palette[index * 3 + 1])) << 8 | uint8_t(palette[index * 3 + 2]));
            }
        }
        raw += row;
    }
    const size_t rowBytes = raw.size() / side, bpp = k.colourType == 6 ? 4 : 1;
    return {PngOf(side, side, k.colourType, k.depth, chunks, ZlibStored(Filtered(raw, rowBytes, bpp, filters))),
            colours};
}

Bytes IconFile(const std::vector<DirImage>& images, uint16_t type)
{
    Bytes b = U16(0) + U16(type) + U16(static_cast<uint16_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const DirImage& i : images) {
        b += static_cast<char>(i.width >= 256 ? 0 : i.width);
        b += static_cast<char>(i.height >= 256 ? 0 : i.height);
        b += Bytes(2, '\0');
        b += U16(i.hotspotX) + U16(i.hotspotY);
        b += U32(static_cast<uint32_t>(i.bytes.size())) + U32(offset);
        offset += static_cast<uint32_t>(i.bytes.size());
    }
    for (const DirImage& i : images)
        b += i.bytes;
    return b;
}

PixelFn Halves(int width, int height, uint32_t left, uint32_t right)
{
    return [=](int x, int y) {
        if (y < height / 4)
            return Transparent;
        return x < width / 2 ? left : right;
    };
}

PixelFn Solid(uint32_t colour)
{
    return [=](int, int) { return colour; };
}

Bytes SolidFrame(uint32_t colour, int bits)
{
    return IconFile({{Dib(32, 32, bits, Solid(colour)), 32, 32}});
}

} // namespace anitest
