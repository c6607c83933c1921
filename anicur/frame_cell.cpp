#include "anicur/frame_cell.h"

#include "anicur/dib_layout.h"
#include "anicur/frame_icon.h"
#include "anicur/icon_dir.h"
#include "anicur/png_image.h"

#include <cstring>
#include <vector>

namespace anicur {
namespace {

// BITMAPINFO with room for a full palette and three bit-field masks.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256 + 3];
};

// A one-bit BITMAPINFO: black for 0, white for 1.
struct MaskInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

MaskInfo MonoInfo(int width, int height)
{
    MaskInfo m{};
    m.header = {sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB};
    m.colours[1] = {255, 255, 255, 0};
    return m;
}

} // namespace

bool FrameCell::Ready() noexcept
{
    if (dc_)
        return pixels_ && maskBits_;
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_)
        return false;
    BITMAPINFO colourInfo{};
    colourInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), side_, side_, 1, 32, BI_RGB};
    void* bits = nullptr;
    colour_.reset(CreateDIBSection(dc_.get(), &colourInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<uint32_t*>(bits);
    MaskInfo maskInfo = MonoInfo(side_, side_);
    void* maskBits = nullptr;
    mask_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS, &maskBits,
                                 nullptr, 0));
    maskBits_ = static_cast<uint8_t*>(maskBits);
    // Nearest pixel: averaging would mix the colour of transparent pixels
    // into the edges of images with alpha.
    SetStretchBltMode(dc_.get(), COLORONCOLOR);
    return pixels_ && maskBits_;
}

bool FrameCell::AddTo(FramePixels& frames, const uint8_t* file, size_t size) noexcept
{
    try {
        const std::optional<IconImage> image = ChooseIconImage(file, size, side_);
        if (!image || frames.Side() != side_)
            return false;
        // An image of the cell's size is read straight from its bytes; a DIB
        // of another goes into the cell, scaled by GDI: one pass in memory,
        // much cheaper than an icon object per frame. Any other PNG needs
        // the system's decoder, and so does a DIB that GDI refuses.
        const uint8_t* bytes = file + image->offset;
        if (image->png ? AppendExactPng(frames, bytes, image->length, scratch_)
                       : AppendExactDib(frames, bytes, image->length))
            return true;
        if (!Ready())
            return false;
        bool alpha = false;
        if (!image->png && DrawDib(file + image->offset, image->length, alpha)) {
            CopyCell(frames, alpha);
            return true;
        }
        return AddIcon(frames, file, size, *image);
    } catch (...) {
        return false;
    }
}

bool FrameCell::AddBySystem(FramePixels& frames, const uint8_t* file, size_t size, const IconImage& image) noexcept
{
    try {
        return frames.Side() == side_ && Ready() && AddIcon(frames, file, size, image);
    } catch (...) {
        return false;
    }
}

bool FrameCell::DrawDib(const uint8_t* dib, size_t length, bool& alpha) noexcept
{
    // Measured again on the image's own bytes: every part drawn from lies
    // inside them.
    const std::optional<DibLayout> layout = ParseDib(dib, length);
    if (!layout)
        return false;
    const int width = layout->width, height = layout->height, bits = layout->bitCount;

    // The file's header describes colour bits and mask as one image of twice
    // the height; GDI gets a plain BITMAPINFOHEADER for the colour half,
    // followed by the masks (if any) and the palette.
    DibInfo info{};
    std::memcpy(&info.header, dib, sizeof(BITMAPINFOHEADER));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biHeight = height;
    info.header.biSizeImage = 0;
    auto* table = reinterpret_cast<uint8_t*>(info.colours);
    size_t masks = 0;
    if (layout->bitFields) {
        std::memcpy(table, layout->masks, sizeof layout->masks);
        masks = sizeof layout->masks;
    }
    static_assert(sizeof(DibLayout::masks) + 256 * 4 <= sizeof(DibInfo::colours));
    std::memcpy(table + masks, dib + layout->paletteOffset, layout->colourCount * 4);
    const uint8_t* colourBits = dib + layout->colourBitsOffset;
    const uint8_t* maskBits = dib + layout->maskOffset;
    MaskInfo maskInfo = MonoInfo(width, height);

    {
        ui::SelectedObject sel(dc_.get(), colour_.get());
        if (!StretchDIBits(dc_.get(), 0, 0, side_, side_, 0, 0, width, height, colourBits,
                           reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY))
            return false;
    }
    {
        ui::SelectedObject sel(dc_.get(), mask_.get());
        if (!StretchDIBits(dc_.get(), 0, 0, side_, side_, 0, 0, width, height, maskBits,
                           reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS, SRCCOPY))
            return false;
    }
    GdiFlush();
    // Only a plain 32-bit image has alpha (and then the system ignores its
    // mask); for the others the mask decides.
    alpha = false;
    const int pixels = side_ * side_;
    if (bits == 32 && !layout->bitFields)
        for (int i = 0; i < pixels && !alpha; ++i)
            alpha = (pixels_[i] >> 24) != 0;
    return true;
}

void FrameCell::CopyCell(FramePixels& frames, bool alpha)
{
    const int f = frames.Append(alpha);
    uint32_t* colour = frames.Colour(f);
    uint8_t* mask = frames.Mask(f);
    const int maskRow = (side_ + 31) / 32 * 4;
    for (int y = 0; y < side_; ++y) {
        const int from = side_ - 1 - y; // the cell's rows run from the bottom
        const uint32_t* src = pixels_ + static_cast<size_t>(from) * side_;
        const uint8_t* bits = maskBits_ + static_cast<size_t>(from) * maskRow;
        for (int x = 0; x < side_; ++x) {
            colour[x] = alpha ? src[x] : src[x] & 0x00FFFFFF;
            mask[x] = (bits[x / 8] & (0x80 >> (x % 8))) ? 1 : 0;
        }
        colour += side_;
        mask += side_;
    }
}

bool FrameCell::AddIcon(FramePixels& frames, const uint8_t* file, size_t size, const IconImage& image)
{
    ui::UniqueIcon icon = MakeImageIcon(file, size, image, side_);
    if (!icon)
        return false;
    ICONINFO ii{};
    if (!GetIconInfo(icon.get(), &ii))
        return false;
    ui::UniqueBitmap colour(ii.hbmColor), mask(ii.hbmMask);
    // Read back into the cell: colour as 32 bits, the mask as 1 bit, both
    // rows from the bottom. A monochrome icon keeps its colour in the
    // mask's lower half (its first rows from the bottom): white inverts.
    BITMAPINFO colourInfo{};
    colourInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), side_, side_, 1, 32, BI_RGB};
    MaskInfo maskInfo = MonoInfo(side_, colour ? side_ : 2 * side_);
    const int maskRow = (side_ + 31) / 32 * 4;
    std::vector<uint8_t> maskBits(static_cast<size_t>(maskRow) * side_ * 2);
    if (!GetDIBits(dc_.get(), mask.get(), 0, colour ? side_ : 2 * side_, maskBits.data(),
                   reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS))
        return false;
    GdiFlush();
    bool alpha = false;
    const int pixels = side_ * side_;
    if (colour) {
        if (!GetDIBits(dc_.get(), colour.get(), 0, side_, pixels_, &colourInfo, DIB_RGB_COLORS))
            return false;
        std::memcpy(maskBits_, maskBits.data(), static_cast<size_t>(maskRow) * side_);
        for (int i = 0; i < pixels && !alpha; ++i)
            alpha = (pixels_[i] >> 24) != 0;
    } else {
        // Bottom-up: rows 0 .. side-1 are the XOR half, the AND half above.
        std::memcpy(maskBits_, maskBits.data() + static_cast<size_t>(maskRow) * side_,
                    static_cast<size_t>(maskRow) * side_);
        for (int y = 0; y < side_; ++y)
            for (int x = 0; x < side_; ++x)
                pixels_[y * side_ + x] =
                    (maskBits[static_cast<size_t>(y) * maskRow + x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
    }
    CopyCell(frames, alpha);
    return true;
}

} // namespace anicur
