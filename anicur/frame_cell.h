// Puts the frames of an animated cursor into an image list, one 32 x 32
// image each, through one reusable cell (a colour bitmap and a mask).
#pragma once
#include "ui/handles.h"

#include <cstddef>
#include <cstdint>

namespace anicur {

struct IconImage;

class FrameCell {
public:
    static constexpr int Side = 32;

    FrameCell() noexcept;
    FrameCell(const FrameCell&) = delete;
    FrameCell& operator=(const FrameCell&) = delete;

    explicit operator bool() const noexcept { return dc_ && pixels_ && maskBits_; }

    // Appends to `list` the image of the cursor or icon file image [file,
    // file + size) that best fits the cell. False when there is none or the
    // system cannot make it.
    bool AddTo(HIMAGELIST list, const uint8_t* file, size_t size) noexcept;

private:
    bool DrawDib(const uint8_t* dib, size_t length) noexcept;
    bool HasInvertedPixels() const noexcept;
    bool AddIcon(HIMAGELIST list, const uint8_t* file, size_t size, const IconImage& image) noexcept;

    ui::UniqueMemoryDC dc_;
    ui::UniqueBitmap colour_; // 32-bit DIB section: colour and alpha
    ui::UniqueBitmap mask_;   // 1-bit DIB section, white where transparent
    uint32_t* pixels_ = nullptr; // colour cell, rows from the bottom
    uint8_t* maskBits_ = nullptr; // mask cell, 4 bytes a row, from the bottom
};

} // namespace anicur
