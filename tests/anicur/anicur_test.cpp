// TAniCur under Wine: result codes, what the members hold, the frames'
// pixels, the real corpus, and that nothing is written.
#include "anicur/AniCur.h"
#include "anicur/ani_walk.h"
#include "anicur/cursor_file.h"
#include "anicur/frame_cell.h"
#include "anicur/frame_icon.h"
#include "anicur/icon_dir.h"
#include "anicur/png_image.h"

#include "ani_builder.h"
#include "corpus_table.h"
#include "test_bytes.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/wine_ui.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

using namespace anicur;
using namespace anitest;
using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t Red = 0xFF0000, Blue = 0x0000FF, Green = 0x00FF00, Black = 0, White = 0xFFFFFF;
constexpr COLORREF Magenta = RGB(255, 0, 255);

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Frame `index` of `frames` drawn as the pointer is over a 32 x 32 surface
// of colour `under` (the window colour for ILD_NORMAL), as 0xRRGGBB pixels
// row by row from the top.
std::vector<uint32_t> Render(const FramePixels& frames, int index, UINT style, COLORREF under = Magenta)
{
    if (style == ILD_NORMAL)
        under = GetSysColor(COLOR_WINDOW);
    std::vector<uint32_t> out(size_t(frames.Side()) * frames.Side(), Rgb(under));
    ComposeFrame(frames, index, out.data(), size_t(frames.Side()));
    return out;
}

using testsupport::SystemDrawing;

// The largest difference of one colour channel between two renderings.
int MostApart(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int most = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift : {0, 8, 16})
            most = std::max(most, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
    return most;
}

uint32_t At(const std::vector<uint32_t>& image, int x, int y) { return image[y * 32 + x]; }

// What a DIB image of a cursor file image shows at each pixel, rows from
// the top: read straight from its bytes.
struct SourcePixel {
    bool opaque = false;      // drawn in its colour
    bool transparent = false; // leaves what lies below (neither: partly, or inverted)
    uint32_t rgb = 0;
};

std::vector<SourcePixel> ReadDib(const uint8_t* dib, const IconImage& image)
{
    auto u32 = [](const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; };
    const uint32_t headerSize = u32(dib), used = u32(dib + 32);
    const int w = image.width, h = image.height, bits = image.bitCount;
    const uint32_t colours = used ? std::min<uint32_t>(used, 256) : (bits <= 8 ? 1u << bits : 0);
    const uint8_t* palette = dib + headerSize;
    const uint8_t* colourBits = palette + 4 * colours;
    const size_t colourRow = (size_t(w) * bits + 31) / 32 * 4, maskRow = (size_t(w) + 31) / 32 * 4;
    const uint8_t* maskBits = colourBits + colourRow * h;
    std::vector<SourcePixel> out(size_t(w) * h);
    bool anyAlpha = false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = colourBits + colourRow * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            uint32_t rgb = 0, alpha = 0;
            if (bits <= 8) {
                const int index = (row[x * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1);
                rgb = u32(palette + 4 * index) & 0xFFFFFF;
            } else {
                const uint8_t* p = row + x * bits / 8;
                rgb = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                alpha = bits == 32 ? p[3] : 0;
            }
            anyAlpha |= alpha != 0;
            const bool masked = maskBits[maskRow * (h - 1 - y) + x / 8] & (0x80 >> (x % 8));
            out[size_t(y) * w + x] = {!masked, masked && rgb == 0, rgb};
            if (bits == 32)
                out[size_t(y) * w + x].rgb |= alpha << 24;
        }
    }
    if (anyAlpha)
        for (SourcePixel& p : out)
            p = {p.rgb >> 24 == 255, p.rgb >> 24 == 0, p.rgb & 0xFFFFFF};
    else
        for (SourcePixel& p : out)
            p.rgb &= 0xFFFFFF;
    return out;
}

// Checks a 32 x 32 rendering on magenta against the source image: a cell
// whose source pixels are all transparent shows magenta, one whose source
// pixels are all opaque in one colour shows that colour. Returns the number
// of cells that break that.
int Mismatches(const std::vector<uint32_t>& drawn, const std::vector<SourcePixel>& source, int w, int h)
{
    int bad = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int x0 = x * w / 32, x1 = std::max(x0 + 1, ((x + 1) * w + 31) / 32);
            const int y0 = y * h / 32, y1 = std::max(y0 + 1, ((y + 1) * h + 31) / 32);
            bool allClear = true, allSame = true;
            const SourcePixel& first = source[size_t(y0) * w + x0];
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const SourcePixel& p = source[size_t(sy) * w + sx];
                    allClear &= p.transparent;
                    allSame &= p.opaque && first.opaque && p.rgb == first.rgb;
                }
            const uint32_t shown = drawn[y * 32 + x];
            if ((allClear && shown != Rgb(Magenta)) || (allSame && shown != first.rgb))
                ++bad;
        }
    return bad;
}

std::wstring Write(const TempDir& dir, const wchar_t* name, const Bytes& bytes)
{
    return dir.File(name, bytes);
}

Bytes ThreeFrameFile(uint32_t steps = 3)
{
    return Riff(Anih(steps, 3, 4) + FrameList({SolidFrame(Red), SolidFrame(Green), SolidFrame(Blue)}));
}

// `count` real one-colour frames, the most a reader takes being
// kMaxFramesPerFile.
Bytes ManyFrameFile(size_t count)
{
    return Riff(Anih(2, 2, 4) + FrameList(std::vector<Bytes>(count, SolidFrame(Black, 1))));
}

int ImageCount(const TAniCur& a) { return a.Frames.Count(); }

} // namespace

TEST(AniCur, ResultCodes)
{
    TempDir dir;
    TAniCur a;
    EXPECT_EQ(a.Load(dir / L"missing.ani"), AniCannotOpen);
    EXPECT_EQ(a.Load(dir.Folder(L"folder.ani")), AniCannotOpen);

    // The walk's own codes are AniWalk's to prove; here, that they come
    // through (an empty file reaches the walk too).
    EXPECT_EQ(a.Load(testsupport::CorpusFile(L"reconstruct/pencil.cur")), AniNotAnimated);
    EXPECT_EQ(a.Load(Write(dir, L"empty.ani", "")), AniNotAnimated);
    const Bytes fram = FrameList({SolidFrame(Red), SolidFrame(Blue)});
    EXPECT_EQ(a.Load(Write(dir, L"rate.ani", Riff(Anih(2, 2, 4) + Chunk("rate", U32s({1, 2, 3})) + fram))),
              AniRateCount);

    // A frame that holds no usable image, and one whose PNG data is broken
    // past a sound header (only the system finds that out).
    EXPECT_EQ(a.Load(Write(dir, L"junk.ani", Riff(Anih(2, 2, 4) + FrameList({SolidFrame(Red), Bytes(300, 'j')})))),
              AniFailed);
    Bytes png = Png(32, 32, Solid(Red));
    for (size_t i = 45; i < png.size() - 20; ++i)
        png[i] = static_cast<char>(0xA5);
    EXPECT_EQ(a.Load(Write(dir, L"badpng.ani", Riff(Anih(1, 1, 4) + FrameList({IconFile({{png, 32, 32}})})))),
              AniFailed);
    // Bit-field masks that a 41- to 51-byte header can hold neither way.
    for (uint32_t header : {41u, 43u, 51u})
        EXPECT_EQ(a.Load(Write(dir, L"fields.ani", Riff(Anih(1, 1, 4) + FrameList({IconFile({{WithBitFields(
                                                             Dib(32, 32, 32, Solid(Red)), header), 32, 32}})})))),
                  AniFailed)
            << header;
    EXPECT_EQ(a.Load(Write(dir, L"many.ani", ManyFrameFile(kMaxFramesPerFile + 1))), AniTooManyFrames);
    EXPECT_EQ(a.StepCount, 0);
    EXPECT_EQ(ImageCount(a), 0);

    EXPECT_EQ(a.Load(Write(dir, L"good.ani", Riff(Anih(2, 2, 4) + fram))), AniOk);
    EXPECT_EQ(ImageCount(a), 2);
}

// A static cursor reads as one frame, the image that fits 32 x 32 best, as
// a frame of an animated cursor would; anything else keeps the members.
TEST(AniCur, LoadStaticReadsOneFrameOrSaysWhy)
{
    TempDir dir;
    const Bytes cursor =
        IconFile({{Dib(16, 16, 8, Solid(Green)), 16, 16}, {Dib(32, 32, 24, Halves(32, 32, Red, Blue)), 32, 32}});
    const struct {
        const wchar_t* name;
        Bytes bytes;
        int code;
    } rows[] = {
        {L"animated.cur", ThreeFrameFile(), AniNotCursor},
        {L"empty.cur", "", AniNotCursor},
        {L"text.cur", "not a cursor at all", AniNotCursor},
        {L"cut.cur", cursor.substr(0, 5), AniNotCursor},
        {L"junk.cur", IconFile({{Bytes(300, 'j'), 32, 32}}), AniFailed},
        {L"icon.ico", IconFile({{Dib(32, 32, 24, Solid(Blue)), 32, 32}}, 1), AniOk},
        {L"good.cur", cursor, AniOk},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ui::ToUtf8(row.name));
        TAniCur a;
        ASSERT_EQ(a.Load(Write(dir, L"before.ani", ThreeFrameFile())), AniOk);
        EXPECT_EQ(a.LoadStatic(Write(dir, row.name, row.bytes)), row.code);
        if (row.code != AniOk) {
            EXPECT_FALSE(a.isStatic);
            EXPECT_EQ(a.StepCount, 3);
            EXPECT_EQ(ImageCount(a), 3);
            continue;
        }
        EXPECT_TRUE(a.isStatic);
        EXPECT_EQ(a.StepCount, 1);
        EXPECT_EQ(a.Sequence, std::vector<int>{0});
        EXPECT_EQ(a.Rates.size(), 1u);
        ASSERT_EQ(ImageCount(a), 1);
        // The animated reader's own frame of the same image.
        TAniCur frame;
        ASSERT_EQ(frame.Load(Write(dir, L"frame.ani", Riff(Anih(1, 1, 4) + FrameList({row.bytes})))), AniOk);
        EXPECT_EQ(Render(a.Frames, 0, ILD_TRANSPARENT), Render(frame.Frames, 0, ILD_TRANSPARENT));
        // Loading an animated file again ends the static state.
        ASSERT_EQ(a.Load(dir / L"before.ani"), AniOk);
        EXPECT_FALSE(a.isStatic);
    }
    TAniCur a;
    EXPECT_EQ(a.LoadStatic(dir / L"missing.cur"), AniCannotOpen);
    EXPECT_EQ(a.LoadStatic(dir.Folder(L"folder.cur")), AniCannotOpen);
    // The 32 x 32 image was chosen: red on the left, blue on the right.
    ASSERT_EQ(a.LoadStatic(dir / L"good.cur"), AniOk);
    const std::vector<uint32_t> image = Render(a.Frames, 0, ILD_NORMAL);
    EXPECT_EQ(At(image, 4, 20), Red);
    EXPECT_EQ(At(image, 28, 20), Blue);
}

TEST(AniCur, ShortReadGivesCode3)
{
    // A file that gives fewer bytes than its size said when it was opened
    // (it shrank meanwhile): Wine's files cannot be made to do that, so the
    // size is handed over larger than the file.
    TempDir dir;
    const std::wstring path = Write(dir, L"shrunk.ani", ThreeFrameFile());
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    std::vector<uint8_t> bytes;
    const uint64_t size = ThreeFrameFile().size();
    EXPECT_EQ(ReadCursorBytes(file.get(), size + 100, bytes), AniShortRead);
    SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(ReadCursorBytes(file.get(), size, bytes), AniOk);
    EXPECT_EQ(bytes.size(), size);
}

TEST(AniCur, LoadFillsTheMembers)
{
    TempDir dir;
    TAniCur a;
    // LIST INFO, anih, rate, seq, LIST fram: three frames, five steps.
    const Bytes file = Riff(List("INFO", Chunk("INAM", "five")) + Anih(5, 3, 4) +
                            Chunk("rate", U32s({6, 7, 8, 9, 10})) + Chunk("seq ", U32s({2, 1, 0, 1, 2})) +
                            FrameList({SolidFrame(Red), SolidFrame(Green), SolidFrame(Blue)}));
    ASSERT_EQ(a.Load(Write(dir, L"five.ani", file)), AniOk);
    EXPECT_EQ(ImageCount(a), 3);
    EXPECT_EQ(a.StepCount, 5);
    EXPECT_EQ(a.Rates, (std::vector<int>{6, 7, 8, 9, 10}));
    EXPECT_EQ(a.Sequence, (std::vector<int>{2, 1, 0, 1, 2}));
    EXPECT_EQ(At(Render(a.Frames, 0, ILD_NORMAL), 16, 16), Red);
    EXPECT_EQ(At(Render(a.Frames, 2, ILD_NORMAL), 16, 16), Blue);

    // No steps, and no frames: both load, with nothing to step through.
    ASSERT_EQ(a.Load(Write(dir, L"nosteps.ani", ThreeFrameFile(0))), AniOk);
    EXPECT_EQ(a.StepCount, 0);
    EXPECT_EQ(ImageCount(a), 3);
    ASSERT_EQ(a.Load(Write(dir, L"noframes.ani", Riff(Anih(3, 0, 4) + List("fram", "")))), AniOk);
    EXPECT_EQ(a.StepCount, 0);
    EXPECT_EQ(ImageCount(a), 0);
}

TEST(AniCur, FailedLoadKeepsWhatWasThere)
{
    TempDir dir;
    TAniCur a;
    ASSERT_EQ(a.Load(Write(dir, L"three.ani", ThreeFrameFile())), AniOk);
    // Two good frames, then one without an image: nothing changes.
    const Bytes bad = Riff(Anih(2, 3, 9) + FrameList({SolidFrame(Blue), SolidFrame(Blue), Bytes(40, 'x')}));
    EXPECT_EQ(a.Load(Write(dir, L"bad.ani", bad)), AniFailed);
    EXPECT_EQ(a.Load(dir / L"gone.ani"), AniCannotOpen);
    EXPECT_EQ(a.Load(Write(dir, L"many.ani", ManyFrameFile(5000))), AniTooManyFrames);
    EXPECT_EQ(ImageCount(a), 3);
    EXPECT_EQ(a.StepCount, 3);
    EXPECT_EQ(a.Rates, (std::vector<int>{4, 4, 4}));
    EXPECT_EQ(At(Render(a.Frames, 0, ILD_NORMAL), 16, 16), Red);
}

// Each kind of image a frame can hold, as cursor (type 2) and icon (type 1):
// colours where the mask is set, the window colour where it is clear.
TEST(AniCur, FramesOfEveryKindComeOutRight)
{
    struct Kind {
        const char* name;
        Bytes image;
        uint32_t left, right;
    };
    const std::vector<Kind> kinds = {
        {"1-bit DIB", Dib(32, 32, 1, Halves(32, 32, Black, White)), Black, White},
        {"4-bit DIB", Dib(32, 32, 4, Halves(32, 32, Red, Blue)), Red, Blue},
        {"8-bit DIB", Dib(32, 32, 8, Halves(32, 32, Green, Red)), Green, Red},
        {"24-bit DIB", Dib(32, 32, 24, Halves(32, 32, 0x123456, 0xABCDEF)), 0x123456, 0xABCDEF},
        {"32-bit DIB", Dib(32, 32, 32, Halves(32, 32, 0x808000, Blue)), 0x808000, Blue},
        {"PNG", Png(32, 32, Halves(32, 32, Red, 0x00FFFF)), Red, 0x00FFFF},
        {"32-bit DIB, masks after the header", WithBitFields(Dib(32, 32, 32, Halves(32, 32, Red, Blue)), 40),
         Red, Blue},
        // Red and blue masks swapped: what the bytes call red shows blue.
        {"32-bit DIB, masks in a 52-byte header",
         WithBitFields(Dib(32, 32, 32, Halves(32, 32, Red, Green)), 52, 0x0000FF, 0x00FF00, 0xFF0000), Blue, Green},
        {"32-bit DIB, masks in a 108-byte header",
         WithBitFields(Dib(32, 32, 32, Halves(32, 32, Green, Blue)), 108, 0x0000FF, 0x00FF00, 0xFF0000), Green,
         Red},
    };
    TempDir dir;
    const uint32_t window = Rgb(GetSysColor(COLOR_WINDOW));
    for (uint16_t type : {uint16_t{2}, uint16_t{1}}) {
        for (const Kind& k : kinds) {
            SCOPED_TRACE(std::string(k.name) + (type == 2 ? " cursor" : " icon"));
            TAniCur a;
            const Bytes frame = IconFile({{k.image, 32, 32, 3, 4}}, type);
            ASSERT_EQ(a.Load(Write(dir, L"kind.ani", Riff(Anih(1, 1, 4) + FrameList({frame})))), AniOk);
            ASSERT_EQ(ImageCount(a), 1);
            const std::vector<uint32_t> normal = Render(a.Frames, 0, ILD_NORMAL);
            EXPECT_EQ(At(normal, 4, 20), k.left);
            EXPECT_EQ(At(normal, 27, 31), k.right);
            EXPECT_EQ(At(normal, 16, 3), window);
            const std::vector<uint32_t> clear = Render(a.Frames, 0, ILD_TRANSPARENT);
            EXPECT_EQ(At(clear, 4, 20), k.left);
            EXPECT_EQ(At(clear, 16, 3), Rgb(Magenta));
        }
    }
}

TEST(AniCur, ChoosesTheImageThatFits32)
{
    TempDir dir;
    TAniCur a;
    // 16, 32 (4-bit), 32 (32-bit) and 48: the 32-bit 32 x 32 image is shown.
    const Bytes several = IconFile({{Dib(16, 16, 32, Solid(Green)), 16, 16},
                                    {Dib(32, 32, 4, Solid(Blue)), 32, 32},
                                    {Dib(32, 32, 32, Solid(Red)), 32, 32},
                                    {Dib(48, 48, 32, Solid(Green)), 48, 48}});
    // Only larger ones: the nearest is scaled down to 32 x 32.
    const Bytes larger = IconFile({{Png(128, 128, Solid(Green)), 128, 128},
                                   {Dib(64, 64, 32, Halves(64, 64, Blue, Red)), 64, 64}});
    // Only smaller ones: the largest is scaled up.
    const Bytes smaller = IconFile({{Dib(16, 16, 8, Solid(Green)), 16, 16}, {Dib(24, 24, 8, Solid(Blue)), 24, 24}});
    ASSERT_EQ(a.Load(Write(dir, L"sizes.ani", Riff(Anih(3, 3, 4) + FrameList({several, larger, smaller})))), AniOk);
    EXPECT_EQ(At(Render(a.Frames, 0, ILD_NORMAL), 16, 16), Red);
    const std::vector<uint32_t> scaled = Render(a.Frames, 1, ILD_NORMAL);
    EXPECT_EQ(At(scaled, 4, 20), Blue);
    EXPECT_EQ(At(scaled, 27, 20), Red);
    EXPECT_EQ(At(scaled, 16, 2), Rgb(GetSysColor(COLOR_WINDOW)));
    const std::vector<uint32_t> up = Render(a.Frames, 2, ILD_NORMAL);
    EXPECT_EQ(At(up, 1, 1), Blue);
    EXPECT_EQ(At(up, 30, 30), Blue);
}

// The PNGs the reader decodes itself come out exactly as the system's
// decoder makes them: every PNG of the corpus's animations at its own size,
// and each kind the reader takes, through every filter.
TEST(AniCur, PngFramesAsTheSystemDecodesThem)
{
    struct Sample {
        std::string name;
        Bytes file;
        IconImage image;
    };
    std::vector<Sample> samples;
    auto addPngs = [&samples](const std::string& name, const Bytes& file) {
        HeapBytes bytes(file);
        for (const IconImage& image : ListIconImages(bytes.data(), bytes.size()))
            if (image.png && image.width == image.height)
                samples.push_back({name + " " + std::to_string(image.width), file, image});
    };
    for (const CorpusAnimation& want : CorpusAnimations()) {
        const Bytes bytes = testsupport::ReadBytes(testsupport::CorpusFile(ui::FromUtf8(want.path)));
        HeapBytes heap(bytes);
        for (const ByteRange& f : AniWalk(heap.data(), heap.size()).frames)
            addPngs(want.path, bytes.substr(f.offset, f.length));
    }
    for (const PngKind& k : PngKinds())
        addPngs(k.name, IconFile({{SamplePng(32, k, {0, 1, 2, 3, 4}).png, 32, 32}}));
    ASSERT_EQ(samples.size(), 2 * 12 * 11 + PngKinds().size());
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.name);
        const int side = s.image.width;
        FramePixels ours(side), system(side);
        FrameCell cell(side);
        std::vector<uint8_t> scratch;
        HeapBytes file(s.file);
        ASSERT_TRUE(AppendExactPng(ours, file.data() + s.image.offset, s.image.length, scratch));
        ASSERT_TRUE(cell.AddBySystem(system, file.data(), file.size(), s.image));
        const size_t pixels = size_t(side) * side;
        EXPECT_EQ(ours.Alpha(0), system.Alpha(0));
        EXPECT_TRUE(std::equal(ours.Colour(0), ours.Colour(0) + pixels, system.Colour(0)));
        EXPECT_TRUE(std::equal(ours.Mask(0), ours.Mask(0) + pixels, system.Mask(0)));
    }
}

// The walk's values of each file are AniWalkCorpus's to prove; here, that
// the frames become images and that each file reads as what it is.
TEST(AniCur, EveryCorpusAnimationLoads)
{
    for (const CorpusAnimation& want : CorpusAnimations()) {
        SCOPED_TRACE(want.path);
        TAniCur a;
        ASSERT_EQ(a.Load(testsupport::CorpusFile(ui::FromUtf8(want.path))), AniOk);
        EXPECT_EQ(ImageCount(a), want.frames);
        EXPECT_EQ(a.StepCount, want.steps);
        // Every frame shows something besides the background.
        for (int i = 0; i < ImageCount(a); ++i) {
            const std::vector<uint32_t> image = Render(a.Frames, i, ILD_TRANSPARENT);
            EXPECT_TRUE(std::any_of(image.begin(), image.end(), [](uint32_t p) { return p != Rgb(Magenta); }))
                << "frame " << i << " is empty";
        }
    }
    // Four of the animated files are named .cur; the others are static.
    const fs::path root(testsupport::CorpusDir());
    int statics = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md")
            continue;
        const std::string bytes = ReadFileBytes(entry.path().string());
        const std::string name = fs::relative(entry.path(), root).generic_string();
        TAniCur a;
        if (IsAnimatedCursor(bytes)) {
            // Whatever its name, an animated file is no static cursor.
            EXPECT_EQ(a.LoadStatic(entry.path().wstring()), AniNotCursor) << name;
        } else {
            // Read as what it is: one frame, shown for good.
            ASSERT_EQ(a.LoadStatic(entry.path().wstring()), AniOk) << name;
            EXPECT_TRUE(a.isStatic);
            EXPECT_EQ(ImageCount(a), 1) << name;
            EXPECT_EQ(a.StepCount, 1);
            EXPECT_EQ(a.Sequence, std::vector<int>{0});
            ++statics;
        }
    }
    EXPECT_EQ(statics, 64);
}

// Every frame of the corpus (and every static cursor, the same kind of
// image) as the reader draws it: like the system's own icon of that image,
// and like the image's own pixels.
TEST(AniCur, FramesLookLikeTheSystemsIcons)
{
    std::vector<std::pair<std::string, std::string>> frames; // name, cursor file image
    const fs::path root(testsupport::CorpusDir());
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md")
            continue;
        const std::string bytes = ReadFileBytes(entry.path().string());
        const std::string name = fs::relative(entry.path(), root).generic_string();
        if (!IsAnimatedCursor(bytes)) {
            frames.emplace_back(name, bytes);
            continue;
        }
        HeapBytes heap(bytes);
        const AniWalkResult walk = AniWalk(heap.data(), heap.size());
        for (size_t i = 0; i < walk.frames.size(); ++i)
            frames.emplace_back(name + " frame " + std::to_string(i),
                                bytes.substr(walk.frames[i].offset, walk.frames[i].length));
    }
    ASSERT_GT(frames.size(), 250u);

    FrameCell cell(32);
    std::set<std::string> kinds;
    for (const auto& [name, frame] : frames) {
        SCOPED_TRACE(name);
        const auto* data = reinterpret_cast<const uint8_t*>(frame.data());
        const std::optional<IconImage> image = ChooseIconImage(data, frame.size());
        ASSERT_TRUE(image);
        kinds.insert(image->png ? "PNG" : std::to_string(image->bitCount) + "-bit DIB");
        FramePixels ours(32);
        ASSERT_TRUE(cell.AddTo(ours, data, frame.size()));
        ui::UniqueIcon icon = MakeImageIcon(data, frame.size(), *image, 32);
        ASSERT_TRUE(icon);
        // Where no scaling is involved, the same pixels as the system draws
        // the image as a pointer, over the window colour and over colours
        // its inverting pixels turn into others (alpha rounded alike within
        // a step). Scaled, the two pick their source pixels differently
        // (Wine's icon scaling even loses thin white outlines), so those are
        // checked against the source image itself.
        if (image->width == 32 && image->height == 32) {
            for (COLORREF under : {GetSysColor(COLOR_WINDOW), Magenta, RGB(0x40, 0x80, 0xC0)})
                EXPECT_LE(MostApart(Render(ours, 0, ILD_TRANSPARENT, under), SystemDrawing(icon.get(), under)),
                          ours.Alpha(0) ? 1 : 0)
                    << std::hex << under;
        }
        if (!image->png) {
            const std::vector<SourcePixel> source = ReadDib(data + image->offset, *image);
            EXPECT_EQ(Mismatches(Render(ours, 0, ILD_TRANSPARENT), source, image->width, image->height), 0)
                << image->width << " x " << image->height;
        }
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"1-bit DIB", "4-bit DIB", "8-bit DIB", "24-bit DIB", "32-bit DIB", "PNG"}));
}

TEST(AniCur, WritesNothing)
{
    TempDir dir;
    const Bytes file = ThreeFrameFile();
    const std::wstring path = Write(dir, L"readonly.ani", file);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before);

    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const fs::path exeDir = fs::path(exe).parent_path();
    auto listing = [](const fs::path& folder) {
        std::set<fs::path> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.insert(e.path().filename());
        return names;
    };
    const auto exeBefore = listing(exeDir), dirBefore = listing(dir.Path());
    {
        TAniCur a;
        ASSERT_EQ(a.Load(path), AniOk);
        ASSERT_EQ(a.Load(testsupport::CorpusFile(L"catppuccin/catppuccin-mocha-dark-cursors/wait.ani")), AniOk);
    }
    EXPECT_EQ(listing(exeDir), exeBefore);
    EXPECT_EQ(listing(dir.Path()), dirBefore);
    EXPECT_FALSE(testsupport::FileExists((exeDir / L"AniCur.$$$").wstring()));
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    EXPECT_EQ(testsupport::ReadBytes(path), file);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}
