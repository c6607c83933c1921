// The PNG reader and its inflater: every filter and every kind of image it
// takes, streams of each block kind, and whatever it must leave to the
// system's decoder (untouched frames).
#include "anicur/inflate.h"
#include "anicur/png_image.h"

#include "ani_builder.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace anicur;
using namespace anitest;

namespace {

constexpr int kSide = 8;

// Reads `png` into frames of kSide; the frame's colours, or none.
std::vector<uint32_t> Read(const Bytes& png)
{
    FramePixels frames(kSide);
    std::vector<uint8_t> scratch;
    HeapBytes bytes(png);
    if (!AppendExactPng(frames, bytes.data(), bytes.size(), scratch)) {
        EXPECT_EQ(frames.Count(), 0);
        return {};
    }
    EXPECT_EQ(frames.Count(), 1);
    EXPECT_TRUE(frames.Alpha(0));
    for (int i = 0; i < kSide * kSide; ++i) // masked where alpha is not whole
        EXPECT_EQ(frames.Mask(0)[i], frames.Colour(0)[i] >> 24 != 255 ? 1 : 0) << i;
    return std::vector<uint32_t>(frames.Colour(0), frames.Colour(0) + kSide * kSide);
}

} // namespace

TEST(PngImage, ReadsEveryKindThroughEveryFilter)
{
    const std::vector<std::vector<int>> filters = {{0}, {1}, {2}, {3}, {4}, {4, 3, 2, 1, 0}};
    for (const PngKind& k : PngKinds())
        for (const std::vector<int>& f : filters) {
            SCOPED_TRACE(std::string(k.name) + ", filter " + std::to_string(f[0]) + (f.size() > 1 ? " and more" : ""));
            const PngSample sample = SamplePng(kSide, k, f);
            EXPECT_EQ(Read(sample.png), sample.colours);
        }
}

TEST(PngImage, LeavesWhatItDoesNotReadToTheSystem)
{
    const Bytes good = SamplePng(kSide, PngKinds()[0], {0}).png;
    ASSERT_FALSE(Read(good).empty());
    const Bytes rows = good.substr(48, 4 * kSide * kSide + kSide); // RGBA: the stored block's data
    Bytes badCrc = good;
    badCrc[30] ^= 1;                              // inside IHDR's CRC
    Bytes cut = good.substr(0, good.size() - 12); // no IEND
    Bytes badFilter = rows;
    badFilter[4 * kSide + 1] = 5; // the second row's filter
    const Bytes clear(rows.size(), '\0');
    const Bytes two = PngChunk("IDAT", ZlibStored(rows).substr(0, 10)) + PngChunk("tEXt", "a\0b");
    const struct {
        const char* name;
        Bytes png;
    } cases[] = {
        {"another width", PngOf(kSide + 1, kSide, 6, 8, {}, ZlibStored(rows))},
        {"another height", PngOf(kSide, kSide + 1, 6, 8, {}, ZlibStored(rows))},
        {"interlaced", PngOf(kSide, kSide, 6, 8, {}, ZlibStored(rows), 1)},
        {"16 bits a channel", PngOf(kSide, kSide, 6, 16, {}, ZlibStored(rows + rows))},
        {"RGB", PngOf(kSide, kSide, 2, 8, {}, ZlibStored(Bytes(kSide * (3 * kSide + 1), '\0')))},
        {"grey", PngOf(kSide, kSide, 0, 8, {}, ZlibStored(Bytes(kSide * (kSide + 1), '\0')))},
        {"gamma", PngOf(kSide, kSide, 6, 8, PngChunk("gAMA", U32(45455)), ZlibStored(rows))},
        {"unknown critical chunk", PngOf(kSide, kSide, 6, 8, PngChunk("ABCD", {}), ZlibStored(rows))},
        {"palette without PLTE", PngOf(kSide, kSide, 3, 8, {}, ZlibStored(Bytes(kSide * (kSide + 1), '\0')))},
        {"palette without tRNS",
         PngOf(kSide, kSide, 3, 8, PngChunk("PLTE", "\1\2\3"), ZlibStored(Bytes(kSide * (kSide + 1), '\0')))},
        {"index past the palette",
         PngOf(kSide, kSide, 3, 8, PngChunk("PLTE", "\1\2\3") + PngChunk("tRNS", "\xFF"),
               ZlibStored(Bytes(kSide * (kSide + 1), '\1')))},
        {"wholly transparent", PngOf(kSide, kSide, 6, 8, {}, ZlibStored(clear))},
        {"bad CRC", badCrc},
        {"no IEND", cut},
        {"IDATs apart", PngOf(kSide, kSide, 6, 8, two, ZlibStored(rows).substr(10))},
        {"unknown filter", PngOf(kSide, kSide, 6, 8, {}, ZlibStored(badFilter))},
        {"rows short", PngOf(kSide, kSide, 6, 8, {}, ZlibStored(rows.substr(1)))},
        {"rows long", PngOf(kSide, kSide, 6, 8, {}, ZlibStored(rows + "x"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Read(c.png).empty());
    }
    for (size_t n = 0; n < good.size(); ++n)
        ASSERT_TRUE(Read(good.substr(0, n)).empty()) << n;
}

// zlib streams of each block kind: stored ones made here, and those of
// tests/data/inflate (tests/anicur/inflate_streams.py makes them): a real
// deflater's at several levels and windows (codes longer than the decoder's
// table, copies from every distance code), and streams made by hand that copy
// from exactly as far back as their window reaches or break one rule each.
TEST(Inflate, ReadsEveryBlockKindAndRefusesBrokenStreams)
{
    struct Stream {
        std::string name;
        Bytes stream, data;
        bool good;
    };
    std::vector<Stream> streams = {{"stored", ZlibStored("stored bytes"), "stored bytes", true},
                                   {"stored, empty", ZlibStored(""), "", true}};
    const std::filesystem::path dir(TARIMOKU_INFLATE_DATA);
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string(); // DATA.WHAT[.bad].zlib
        if (entry.path().extension() == ".zlib")
            streams.push_back({name, ReadFileBytes(entry.path().string()),
                               ReadFileBytes((dir / (name.substr(0, name.find('.')) + ".bin")).string()),
                               name.find(".bad.") == std::string::npos});
    }
    ASSERT_GT(streams.size(), 10u);
    for (const auto& s : streams) {
        SCOPED_TRACE(s.name);
        HeapBytes in(s.stream);
        std::vector<uint8_t> out(s.data.size() + 1);
        ASSERT_EQ(ZlibInflate(in.data(), in.size(), out.data(), s.data.size()), s.good);
        if (!s.good)
            continue;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<ptrdiff_t>(s.data.size())), s.data);
        // One byte more or less than the stream holds, its check or header
        // changed, or a preset dictionary asked for.
        EXPECT_FALSE(ZlibInflate(in.data(), in.size(), out.data(), s.data.size() + 1));
        if (!s.data.empty()) {
            EXPECT_FALSE(ZlibInflate(in.data(), in.size(), out.data(), s.data.size() - 1));
        }
        for (size_t at : {size_t{0}, size_t{1}, s.stream.size() - 1}) {
            HeapBytes changed(s.stream);
            changed.data()[at] ^= at == 1 ? 0x20 : 0x01;
            EXPECT_FALSE(ZlibInflate(changed.data(), changed.size(), out.data(), s.data.size())) << at;
        }
        for (size_t n = 0; n < s.stream.size(); n += 1 + n / 64) {
            HeapBytes cut(s.stream, n);
            ASSERT_FALSE(ZlibInflate(cut.data(), cut.size(), out.data(), s.data.size())) << n;
        }
    }
}
