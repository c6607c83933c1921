// The animated cursor walk, the image choice, the DIB layout and the check
// of what may go to the system's loader on arbitrary
// bytes: besides the sanitizers' checks, nothing they report may point
// outside the input or name a frame that does not exist, and every part of a
// chosen DIB that the frame drawing reads is read here from an exact-size
// copy of the image. A PNG of a frame's own size is read as the frame
// reading reads it, and the inflater gets the bare input too (a PNG's
// checksums keep most mutations away from it).
#include "anicur/ani_walk.h"
#include "anicur/byte_reader.h"
#include "anicur/cursor_check.h"
#include "anicur/dib_layout.h"
#include "anicur/frame_pixels.h"
#include "anicur/icon_dir.h"
#include "anicur/inflate.h"
#include "anicur/png_image.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace anicur;

namespace {

// An exact-size heap copy, so that a read one byte past is caught.
std::unique_ptr<uint8_t[]> Copy(const uint8_t* data, size_t size)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size)
        std::memcpy(copy.get(), data, size);
    return copy;
}

uint32_t Touch(const uint8_t* p, size_t n)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += p[i];
    return sum;
}

// What the frame drawing does with a DIB: measure it on its own bytes and
// read the header, masks, palette, colour bits and mask.
void DrawDib(const uint8_t* dib, size_t length)
{
    const std::optional<DibLayout> d = ParseDib(dib, length);
    if (!d)
        return;
    if (d->size > length || d->paletteOffset > d->colourBitsOffset || d->colourBitsOffset > d->maskOffset ||
        d->maskOffset > d->size || d->colourCount > 256 || d->width < 1 || d->height < 1 ||
        d->colourBitsOffset + d->colourRow * d->height != d->maskOffset ||
        d->maskOffset + d->maskRow * d->height != d->size || d->headerSize < 40)
        std::abort();
    volatile uint32_t sink = Touch(dib, 40);
    sink = sink + Touch(dib + d->paletteOffset, d->colourCount * 4);
    sink = sink + Touch(dib + d->colourBitsOffset, d->colourRow * d->height);
    sink = sink + Touch(dib + d->maskOffset, d->maskRow * d->height);
    // An image of a frame's own size is read from its bytes and drawn.
    if (d->width == d->height && d->width <= 256) {
        FramePixels frames(d->width);
        if (AppendExactDib(frames, dib, length)) {
            std::vector<uint32_t> surface(static_cast<size_t>(d->width) * d->width, 0x808080);
            ComposeFrame(frames, 0, surface.data(), static_cast<size_t>(d->width));
        }
    }
}

// A PNG as the frame reading takes it, at `side`, from an exact-size copy.
void ReadPng(const uint8_t* png, size_t length, uint32_t side)
{
    if (side < 1 || side > 256)
        return;
    const std::unique_ptr<uint8_t[]> copy = Copy(png, length);
    FramePixels frames(static_cast<int>(side));
    std::vector<uint8_t> scratch;
    if (!AppendExactPng(frames, copy.get(), length, scratch)) {
        if (frames.Count() != 0)
            std::abort();
        return;
    }
    if (frames.Count() != 1)
        std::abort();
    std::vector<uint32_t> surface(static_cast<size_t>(side) * side, 0x808080);
    ComposeFrame(frames, 0, surface.data(), side);
}

// A frame as the reader takes it: the chosen image, and its DIB drawn.
void Frame(const uint8_t* data, size_t size)
{
    const std::unique_ptr<uint8_t[]> frame = Copy(data, size);
    const std::optional<IconImage> image = ChooseIconImage(frame.get(), size);
    if (!image)
        return;
    if (image->offset > size || image->length > size - image->offset)
        std::abort();
    if (!image->png) {
        const std::unique_ptr<uint8_t[]> dib = Copy(frame.get() + image->offset, image->length);
        DrawDib(dib.get(), image->length);
    } else if (image->width == image->height) {
        ReadPng(frame.get() + image->offset, image->length, static_cast<uint32_t>(image->width));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AniWalkResult r = AniWalk(data, size);
    if (r.code != AniOk) {
        if (!r.frames.empty() || !r.sequence.empty())
            std::abort();
    } else {
        if (r.sequence.size() != r.rates.size() || (r.frames.empty() && !r.sequence.empty()) ||
            r.frames.size() > kMaxFramesPerFile || r.sequence.size() > kMaxStepsPerFile)
            std::abort();
        for (size_t i = 0; i < r.sequence.size(); ++i)
            if (r.sequence[i] < 0 || static_cast<size_t>(r.sequence[i]) >= r.frames.size() || r.rates[i] < 0)
                std::abort();
        for (const ByteRange& f : r.frames) {
            if (f.offset > size || f.length > size - f.offset)
                std::abort();
            Frame(data + f.offset, f.length);
        }
    }
    // The input as a frame of its own (a cursor or icon file image), and as
    // a bare DIB.
    for (const IconImage& image : ListIconImages(data, size))
        if (image.offset > size || image.length > size - image.offset || image.width < 1 || image.height < 1)
            std::abort();
    Frame(data, size);
    DrawDib(data, size);
    if (size >= 24)
        ReadPng(data, size, ReadU32BigEndian(data + 16));
    // The inflater: the first byte sets the size to fill, the rest is the
    // stream.
    if (size >= 1) {
        const std::unique_ptr<uint8_t[]> stream = Copy(data + 1, size - 1);
        std::vector<uint8_t> out(size_t{data[0]} * 64);
        ZlibInflate(stream.get(), size - 1, out.data(), out.size());
    }
    // The gate to the system's loader: what it admits the reader reads whole.
    const std::unique_ptr<uint8_t[]> copy = Copy(data, size);
    if (IsWholeCursorImage(copy.get(), size)) {
        const bool animated = r.code == AniOk;
        if (animated ? (r.frames.empty() || r.cut || r.clamped || r.repeated || r.headerFrames != r.frames.size())
                     : !ChooseIconImage(copy.get(), size))
            std::abort();
    }
    return 0;
}
