// Builds animated cursor files and the cursor/icon images inside them, byte
// by byte, for tests of the reader.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace anitest {

using Bytes = std::string;

Bytes U16(uint16_t v);
Bytes U32(uint32_t v);
Bytes U32s(std::initializer_list<uint32_t> values);

// A chunk: identifier, length, content, and the pad byte after an odd
// length unless `pad` is false (as some writers do).
Bytes Chunk(std::string_view id, const Bytes& content, bool pad = true);
// A LIST chunk of the given list type around `chunks`.
Bytes List(std::string_view type, const Bytes& chunks, bool pad = true);
// "RIFF", the length (the right one unless given), "ACON", `chunks`.
Bytes Riff(const Bytes& chunks);
Bytes RiffWithLength(const Bytes& chunks, uint32_t length);

// An `anih` chunk: 36 bytes with the given step and frame counts and rate.
Bytes Anih(uint32_t steps, uint32_t frames, uint32_t defaultRate, uint32_t flags = 1);
// `icon` chunks in a `fram` list.
Bytes FrameList(const std::vector<Bytes>& frames);

// Colours as 0xRRGGBB. A pixel function gives the colour of (x, y), from
// the top-left corner; `Transparent` marks pixels the mask leaves out.
constexpr uint32_t Transparent = 0xFF000000;
// Or'ed with a colour (of a 1- to 24-bit image): the mask leaves the pixel
// out and its colour inverts what lies beneath.
constexpr uint32_t Inverting = 0xFE000000;
using PixelFn = std::function<uint32_t(int x, int y)>;

// The palette of indexed images: black, white, red, green, blue, then grey.
uint32_t PaletteColour(int index);

// A DIB as an icon file stores it (header, palette, colour bits bottom-up,
// AND mask). Colours of 1/4/8-bit images must come from the palette (1-bit:
// black and white only). 32-bit images carry alpha 0 where transparent.
Bytes Dib(int width, int height, int bits, const PixelFn& pixel);
// `dib`, a DIB with a 40-byte header, made into one with bit fields: a
// header of `headerSize` bytes (the masks in it from 52 bytes on, after it
// for 40; a length between leaves them out) and the red, green and blue masks.
Bytes WithBitFields(const Bytes& dib, uint32_t headerSize, uint32_t red = 0xFF0000, uint32_t green = 0x00FF00,
                    uint32_t blue = 0x0000FF);
// A PNG (RGBA, stored without compression).
Bytes Png(int width, int height, const PixelFn& pixel);
// A zlib stream of stored deflate blocks holding `raw`.
Bytes ZlibStored(const Bytes& raw);
// A PNG chunk: length, type, `data`, CRC.
Bytes PngChunk(std::string_view type, const Bytes& data);
// A PNG: signature, IHDR with the given size and kind, the chunks `before`,
// one IDAT holding `zlib` (filtered rows), IEND.
Bytes PngOf(int width, int height, int colourType, int depth, const Bytes& before, const Bytes& zlib,
            int interlace = 0);
// A kind of PNG image: colour type and bits a sample.
struct PngKind {
    const char* name;
    int colourType, depth;
};
// RGBA, and palettes of 8, 4, 2 and 1 bits (partly transparent).
const std::vector<PngKind>& PngKinds();
struct PngSample {
    Bytes png;
    std::vector<uint32_t> colours; // 0xAARRGGBB, rows from the top
};
// A `side` x `side` PNG of kind `k` with varied colours and alphas (some
// pixel of each row showing), its rows filtered with `filters` in turn.
PngSample SamplePng(int side, const PngKind& k, const std::vector<int>& filters);

struct DirImage {
    Bytes bytes;
    int width;
    int height;
    uint16_t hotspotX = 0; // or planes, for an icon
    uint16_t hotspotY = 0; // or bit count, for an icon
};
// A cursor (type 2) or icon (type 1) file image holding `images`.
Bytes IconFile(const std::vector<DirImage>& images, uint16_t type = 2);

// For an image of the given size: left half `left`, right half `right`,
// top quarter transparent.
PixelFn Halves(int width, int height, uint32_t left, uint32_t right);
// One colour all over.
PixelFn Solid(uint32_t colour);

// A frame whose single 32 x 32 cursor image is `colour` all over.
Bytes SolidFrame(uint32_t colour, int bits = 32);

} // namespace anitest
