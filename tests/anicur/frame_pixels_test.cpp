// A frame drawn as the pointer is drawn: every kind of pixel over colours
// beneath it.
#include "anicur/frame_pixels.h"

#include "ani_builder.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

using anicur::ComposeFrame;
using anicur::FramePixels;

TEST(FramePixels, EachPixelIsDrawnAsThePointerDrawsIt)
{
    struct Row {
        const char* what;
        bool alpha;
        uint32_t colour;
        uint8_t mask;
        uint32_t beneath, drawn;
    };
    const Row rows[] = {
        {"transparent", false, 0x000000, 1, 0x123456, 0x123456},
        {"inverting", false, 0xFFFFFF, 1, 0x123456, 0xEDCBA9},
        {"inverting part of the colour", false, 0x00FF00, 1, 0x123456, 0x12CB56},
        {"opaque black", false, 0x000000, 0, 0x123456, 0x000000},
        {"opaque colour", false, 0x80FF01, 0, 0x123456, 0x80FF01},
        {"alpha's own byte is no colour", false, 0xFF000000, 0, 0x123456, 0x000000},
        {"alpha opaque", true, 0xFF80FF01, 1, 0x123456, 0x80FF01},
        {"alpha clear: the mask is not used", true, 0x00FFFFFF, 0, 0x123456, 0x123456},
        {"alpha half", true, 0x80FFFFFF, 0, 0x000000, 0x808080},
        {"alpha a quarter over white", true, 0x40000000, 1, 0xFFFFFF, 0xBFBFBF},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FramePixels frames(2);
        const int f = frames.Append(r.alpha);
        for (int i = 0; i < 4; ++i) {
            frames.Colour(f)[i] = r.colour;
            frames.Mask(f)[i] = r.mask;
        }
        // A 2 x 2 frame inside a wider surface: the pixel beside it stays.
        uint32_t surface[2][3] = {{r.beneath, r.beneath, 7}, {r.beneath, r.beneath, 7}};
        ComposeFrame(frames, f, &surface[0][0], 3);
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(surface[y][0], r.drawn);
            EXPECT_EQ(surface[y][1], r.drawn);
            EXPECT_EQ(surface[y][2], 7u);
        }
        EXPECT_EQ(frames.Shows(f, 0), r.drawn != r.beneath);
    }
}

TEST(FramePixels, FramesCountTheirBytesAndDropTheLast)
{
    FramePixels frames(4);
    EXPECT_EQ(frames.Count(), 0);
    frames.Append(false);
    frames.Append(true);
    EXPECT_EQ(frames.Count(), 2);
    EXPECT_EQ(frames.Bytes(), 2 * FramePixels::FrameBytes(4));
    EXPECT_TRUE(frames.Alpha(1));
    frames.PopBack();
    EXPECT_EQ(frames.Count(), 1);
    EXPECT_FALSE(frames.Alpha(0));
    EXPECT_EQ(frames.Bytes(), FramePixels::FrameBytes(4));
    EXPECT_EQ(FramePixels(0).Side(), 1);
}

// A DIB of exactly the frames' side is read from its bytes: colours, mask
// and inverting pixels as stored; anything else is left to GDI.
TEST(FramePixels, ExactDibsAreReadStraightFromTheirBytes)
{
    using namespace anitest;
    auto picture = [](int x, int y) -> uint32_t {
        if (y < 2)
            return Transparent;
        if (y < 4)
            return Inverting | 0xFFFFFF;
        return x < 4 ? 0xFF0000u : 0x0000FFu;
    };
    struct Row {
        const char* what;
        Bytes dib;
        bool read;
    };
    const Row rows[] = {
        {"1-bit", Dib(8, 8, 1, [](int x, int y) { return y < 2 ? Transparent : (x + y) % 2 ? 0xFFFFFFu
                                                                                           : 0u; }),
         true},
        {"4-bit", Dib(8, 8, 4, picture), true},
        {"8-bit", Dib(8, 8, 8, picture), true},
        {"24-bit", Dib(8, 8, 24, picture), true},
        {"32-bit", Dib(8, 8, 32, [](int x, int y) { return y < 2 ? Transparent : 0xFF0000u; }), true},
        {"another size", Dib(16, 16, 24, picture), false},
        {"another width", Dib(16, 8, 24, picture), false},
        {"16-bit", Dib(8, 8, 16, Solid(0)), false},
        {"bit fields", WithBitFields(Dib(8, 8, 32, picture), 40), false},
        {"cut short", Dib(8, 8, 24, picture).substr(0, 100), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        anicur::FramePixels frames(8);
        HeapBytes heap(r.dib);
        ASSERT_EQ(anicur::AppendExactDib(frames, heap.data(), heap.size()), r.read);
        ASSERT_EQ(frames.Count(), r.read ? 1 : 0);
        if (!r.read)
            continue;
        uint32_t grey[64];
        std::fill(std::begin(grey), std::end(grey), 0x404040u);
        ComposeFrame(frames, 0, grey, 8);
        EXPECT_EQ(grey[0], 0x404040u) << "transparent";
        if (std::string(r.what) == "1-bit") {
            EXPECT_EQ(grey[2 * 8 + 1], 0xFFFFFFu);
            EXPECT_EQ(grey[2 * 8 + 0], 0u);
            continue;
        }
        EXPECT_EQ(grey[7 * 8 + 0], 0xFF0000u) << "opaque, bottom-left";
        if (std::string(r.what) == "32-bit") {
            EXPECT_TRUE(frames.Alpha(0));
            continue;
        }
        EXPECT_EQ(grey[7 * 8 + 7], 0x0000FFu) << "opaque, bottom-right";
        EXPECT_EQ(grey[2 * 8 + 3], 0xBFBFBFu) << "inverting";
    }
}

} // namespace
