#include "anicur/frame_cell.h"

#include "anicur/dib_layout.h"
#include "anicur/frame_icon.h"
#include "anicur/icon_dir.h"

#include <cstring>

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

// Selects a bitmap into a DC for the life of the object.
class Selected {
public:
    Selected(HDC dc, HBITMAP bmp) noexcept : dc_(dc), old_(SelectObject(dc, bmp)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace

FrameCell::FrameCell() noexcept : dc_(CreateCompatibleDC(nullptr))
{
    if (!dc_)
        return;
    BITMAPINFO colourInfo{};
    colourInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), Side, Side, 1, 32, BI_RGB};
    void* bits = nullptr;
    colour_.reset(CreateDIBSection(dc_.get(), &colourInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<uint32_t*>(bits);
    MaskInfo maskInfo = MonoInfo(Side, Side);
    void* maskBits = nullptr;
    mask_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS, &maskBits,
                                 nullptr, 0));
    maskBits_ = static_cast<uint8_t*>(maskBits);
    // Nearest pixel: averaging would mix the colour of transparent pixels
    // into the edges of images with alpha.
    SetStretchBltMode(dc_.get(), COLORONCOLOR);
}

bool FrameCell::AddTo(HIMAGELIST list, const uint8_t* file, size_t size) noexcept
{
    try {
        const std::optional<IconImage> image = ChooseIconImage(file, size, Side);
        if (!image || !*this)
            return false;
        // A DIB goes straight into the cell, scaled by GDI: one pass in
        // memory, much cheaper than an icon object per frame. A PNG needs
        // the system's decoder; a DIB that GDI refuses or that inverts what
        // lies below goes through an icon as well.
        if (!image->png && DrawDib(file + image->offset, image->length))
            return ImageList_Add(list, colour_.get(), mask_.get()) >= 0;
        return AddIcon(list, file, size, *image);
    } catch (...) {
        return false;
    }
}

bool FrameCell::DrawDib(const uint8_t* dib, size_t length) noexcept
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
        Selected sel(dc_.get(), colour_.get());
        if (!StretchDIBits(dc_.get(), 0, 0, Side, Side, 0, 0, width, height, colourBits,
                           reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY))
            return false;
    }
    {
        Selected sel(dc_.get(), mask_.get());
        if (!StretchDIBits(dc_.get(), 0, 0, Side, Side, 0, 0, width, height, maskBits,
                           reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS, SRCCOPY))
            return false;
    }
    GdiFlush();
    // Only a plain 32-bit image has alpha; for the others the mask decides,
    // and the image list looks for alpha in the fourth byte.
    bool alpha = false;
    if (bits == 32 && !layout->bitFields)
        for (int i = 0; i < Side * Side && !alpha; ++i)
            alpha = (pixels_[i] >> 24) != 0;
    else
        for (int i = 0; i < Side * Side; ++i)
            pixels_[i] &= 0x00FFFFFF;
    // Without alpha, colour under a set mask bit inverts what lies below (as
    // in many monochrome cursors); the image list keeps that only for an
    // icon it is given.
    return alpha || !HasInvertedPixels();
}

bool FrameCell::HasInvertedPixels() const noexcept
{
    constexpr int MaskRow = Side / 8;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if ((maskBits_[y * MaskRow + x / 8] & (0x80 >> (x % 8))) && (pixels_[y * Side + x] & 0x00FFFFFF))
                return true;
    return false;
}

bool FrameCell::AddIcon(HIMAGELIST list, const uint8_t* file, size_t size, const IconImage& image) noexcept
{
    ui::UniqueIcon icon = MakeImageIcon(file, size, image, Side);
    if (!icon)
        return false;
    ICONINFO ii{};
    if (!GetIconInfo(icon.get(), &ii))
        return false;
    ui::UniqueBitmap colour(ii.hbmColor), mask(ii.hbmMask);
    // A monochrome icon keeps its colour in the mask's lower half: leave
    // that to the image list's own icon handling.
    if (!colour)
        return ImageList_AddIcon(list, icon.get()) >= 0;
    return ImageList_Add(list, colour.get(), mask.get()) >= 0;
}

} // namespace anicur
