#include "anicur/icon_dir.h"

#include "ani_builder.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

using namespace anicur;
using namespace anitest;

namespace {

DirImage Image(int side, int bits, uint32_t colour = 0x000000)
{
    return {Dib(side, side, bits, Solid(colour)), side, side};
}

std::optional<IconImage> Choose(const Bytes& file)
{
    HeapBytes heap(file);
    return ChooseIconImage(heap.data(), heap.size());
}

std::vector<IconImage> List(const Bytes& file)
{
    HeapBytes heap(file);
    return ListIconImages(heap.data(), heap.size());
}

// (side, bits) of the chosen image.
std::pair<int, int> Chosen(const std::vector<DirImage>& images)
{
    const auto image = Choose(IconFile(images));
    if (!image)
        return {0, 0};
    EXPECT_EQ(image->width, image->height);
    return {image->width, image->bitCount};
}

} // namespace

TEST(IconDir, PrefersAnExact32WithTheMostColours)
{
    using P = std::pair<int, int>;
    EXPECT_EQ(Chosen({Image(16, 32), Image(32, 4), Image(48, 32), Image(32, 32), Image(32, 8)}), P(32, 32));
    EXPECT_EQ(Chosen({Image(32, 8), Image(32, 1)}), P(32, 8));
    // Else the nearest larger, with the most colours among equals.
    EXPECT_EQ(Chosen({Image(16, 32), Image(64, 32), Image(48, 4), Image(48, 24), Image(128, 32)}), P(48, 24));
    // Else the largest.
    EXPECT_EQ(Chosen({Image(16, 32), Image(24, 4), Image(20, 32)}), P(24, 4));
    EXPECT_EQ(Chosen({Image(256, 32)}), P(256, 32));
}

TEST(IconDir, MeasuresImagesByTheirOwnHeaders)
{
    // The directory claims 32 x 32 for a 48 x 48 DIB and 256 (0) for a PNG of
    // 32 x 32: the image headers decide.
    Bytes file = IconFile({{Dib(48, 48, 32, Solid(0xFF0000)), 32, 32}, {Png(32, 32, Solid(0x00FF00)), 0, 0}});
    const std::vector<IconImage> images = List(file);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 48);
    EXPECT_FALSE(images[0].png);
    EXPECT_EQ(images[1].width, 32);
    EXPECT_EQ(images[1].bitCount, 32);
    EXPECT_TRUE(images[1].png);
    const auto chosen = Choose(file);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->png);
    EXPECT_EQ(file.substr(chosen->offset, 8), Bytes("\x89PNG\r\n\x1a\n", 8));
}

TEST(IconDir, CursorEntriesCarryHotspots)
{
    DirImage img = Image(32, 8);
    img.hotspotX = 5;
    img.hotspotY = 31;
    auto cursor = Choose(IconFile({img}, 2));
    ASSERT_TRUE(cursor);
    EXPECT_TRUE(cursor->cursor);
    EXPECT_EQ(cursor->hotspotX, 5);
    EXPECT_EQ(cursor->hotspotY, 31);
    // In an icon those fields are planes and bit count, not a hotspot.
    auto icon = Choose(IconFile({img}, 1));
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->cursor);
    EXPECT_EQ(icon->hotspotX, 0);
}

TEST(IconDir, ImageRangeCoversExactlyTheDib)
{
    const Bytes dib = Dib(32, 32, 4, Solid(0xFF0000));
    // 40 + 16 colours + 32 rows of 16 bytes + 32 mask rows of 4 bytes.
    ASSERT_EQ(dib.size(), 40u + 64 + 512 + 128);
    Bytes file = IconFile({{dib, 32, 32}});
    auto image = Choose(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->length, dib.size());
    EXPECT_EQ(file.substr(image->offset, image->length), dib);
    // A byte count larger than the data: the DIB's own size is used.
    file.replace(6 + 8, 4, U32(100000));
    image = Choose(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->length, dib.size());
}

TEST(IconDir, LeavesOutImagesThatDoNotFit)
{
    const Bytes good = IconFile({Image(32, 4)});
    ASSERT_TRUE(Choose(good));
    // Cut short by one byte: the mask's last row is incomplete.
    EXPECT_FALSE(Choose(good.substr(0, good.size() - 1)));
    // The directory says more entries than there are.
    Bytes more = good;
    more.replace(4, 2, U16(5000));
    EXPECT_EQ(List(more).size(), 1u);
    // An offset past the end.
    Bytes far = good;
    far.replace(6 + 12, 4, U32(0xFFFFFFF0));
    EXPECT_FALSE(Choose(far));
    // Header fields an icon cannot have, each at its offset in the DIB.
    const size_t dib = 6 + 16;
    struct Change {
        size_t at;
        Bytes value;
    };
    for (const Change& c : {Change{0, U32(12)},           // a core header
                            Change{4, U32(0)},            // no width
                            Change{4, U32(0x80000000)},   // negative width
                            Change{4, U32(5000)},         // too wide
                            Change{8, U32(1)},            // no rows once halved
                            Change{12, U16(2)},           // two planes
                            Change{14, U16(3)},           // 3 bits per pixel
                            Change{16, U32(1)},           // run-length encoded
                            Change{16, U32(3)},           // bit fields on 4 bits
                            Change{32, U32(0xFFFF)}}) {   // more colours than the data holds
        Bytes bad = good;
        bad.replace(dib + c.at, c.value.size(), c.value);
        EXPECT_FALSE(Choose(bad)) << "change at " << c.at;
    }
    // A PNG with a broken header, and one cut inside its header.
    const Bytes png = Png(32, 32, Solid(0));
    Bytes badPng = png;
    badPng[12] = 'i';
    EXPECT_FALSE(Choose(IconFile({{badPng, 32, 32}})));
    EXPECT_FALSE(Choose(IconFile({{png.substr(0, 20), 32, 32}})));
    // Nothing at all.
    EXPECT_FALSE(Choose(""));
    EXPECT_FALSE(Choose(IconFile({})));
}
