// Where the parts of a frame's DIB lie, on exact-size buffers: the address
// sanitizer sees any read past what the layout claims.
#include "anicur/dib_layout.h"

#include "ani_builder.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>

using namespace anicur;
using namespace anitest;

namespace {

constexpr uint32_t Rgb = 0, BitFields = 3;
constexpr uint32_t Masks[3] = {0x7C00, 0x03E0, 0x001F};

struct Want {
    size_t colourCount, paletteOffset, colourBitsOffset, colourRow, maskOffset, maskRow, size;
    bool operator==(const Want&) const = default;
};

Want Measured(const DibLayout& d)
{
    return {d.colourCount, d.paletteOffset, d.colourBitsOffset, d.colourRow, d.maskOffset, d.maskRow, d.size};
}

struct Case {
    const char* name;
    uint32_t headerSize;
    int width, height, bits;
    uint32_t compression, clrUsed;
    size_t length;            // bytes of the buffer
    std::optional<Want> want; // nothing: refused
};

// A header with the given fields (masks at byte 40 when it holds them, or
// right after a 40-byte one), then zeros up to `length`.
Bytes MakeDib(const Case& c)
{
    Bytes b = U32s({c.headerSize, static_cast<uint32_t>(c.width), static_cast<uint32_t>(2 * c.height)});
    b += U16(1) + U16(static_cast<uint16_t>(c.bits));
    b += U32s({c.compression, 0, 0, 0, c.clrUsed, 0});
    if (c.compression == BitFields && (c.headerSize == 40 || c.headerSize >= 52))
        b += U32s({Masks[0], Masks[1], Masks[2]});
    if (b.size() < c.headerSize)
        b += Bytes(c.headerSize - b.size(), '\0');
    b.resize(std::max(b.size(), c.length), '\0');
    return b.substr(0, c.length);
}

std::optional<DibLayout> Parse(const Bytes& dib, size_t length)
{
    HeapBytes heap(dib, length);
    return ParseDib(heap.data(), heap.size());
}

} // namespace

TEST(DibLayout, PartsLieWhereTheHeaderSays)
{
    const std::vector<Case> cases = {
        {"1-bit 3x5, two colours", 40, 3, 5, 1, Rgb, 0, 88, Want{2, 40, 48, 4, 68, 4, 88}},
        {"4-bit 32x32", 40, 32, 32, 4, Rgb, 0, 744, Want{16, 40, 104, 16, 616, 4, 744}},
        {"8-bit with 300 colours counts 256", 40, 4, 1, 8, Rgb, 300, 1072, Want{256, 40, 1064, 4, 1068, 4, 1072}},
        {"24-bit 5x2", 40, 5, 2, 24, Rgb, 0, 80, Want{0, 40, 40, 16, 72, 4, 80}},
        {"32-bit after a 41-byte plain header", 41, 1, 1, 32, Rgb, 0, 49, Want{0, 41, 41, 4, 45, 4, 49}},
        {"16-bit masks after a 40-byte header, two colours", 40, 2, 2, 16, BitFields, 2, 76,
         Want{2, 52, 60, 4, 68, 4, 76}},
        {"32-bit masks inside a 52-byte header", 52, 1, 1, 32, BitFields, 0, 60, Want{0, 52, 52, 4, 56, 4, 60}},
        {"32-bit masks inside a 124-byte header", 124, 2, 2, 32, BitFields, 0, 148,
         Want{0, 124, 124, 8, 140, 4, 148}},
        // A bit-field header too long for masks after it and too short to
        // hold them: the masks would be read from the colour bits and past
        // the image's end.
        {"masks in a 41-byte header", 41, 1, 1, 32, BitFields, 0, 49, std::nullopt},
        {"masks in a 43-byte header", 43, 1, 1, 32, BitFields, 0, 51, std::nullopt},
        {"masks in a 51-byte header", 51, 1, 1, 32, BitFields, 0, 59, std::nullopt},
        {"masks after a header, not counted", 40, 1, 1, 32, BitFields, 0, 48, std::nullopt},
        {"bit fields on 24 bits", 40, 1, 1, 24, BitFields, 0, 60, std::nullopt},
        {"header longer than the data", 200, 1, 1, 32, Rgb, 0, 100, std::nullopt},
        {"not even a header", 40, 1, 1, 32, Rgb, 0, 39, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes dib = MakeDib(c);
        const std::optional<DibLayout> got = Parse(dib, c.length);
        ASSERT_EQ(got.has_value(), c.want.has_value());
        if (!got)
            continue;
        EXPECT_TRUE(Measured(*got) == *c.want);
        EXPECT_EQ(std::tie(got->width, got->height, got->bitCount), std::tie(c.width, c.height, c.bits));
        EXPECT_EQ(got->bitFields, c.compression == BitFields);
        if (got->bitFields) {
            EXPECT_TRUE(std::equal(got->masks, got->masks + 3, Masks));
        }
        // One byte short of the mask's last row: refused.
        EXPECT_FALSE(Parse(dib, c.length - 1));
    }
}
