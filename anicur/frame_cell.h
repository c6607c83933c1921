// Turns the images of cursor file images into frames of a FramePixels, at
// the frames' side, through one reusable cell (a colour bitmap and a mask).
#pragma once
#include "anicur/frame_pixels.h"
#include "ui/handles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace anicur {

struct IconImage;

class FrameCell {
public:
    // A cell of `side` x `side` pixels, made when an image first needs it.
    explicit FrameCell(int side) noexcept : side_(side < 1 ? 1 : side) {}
    FrameCell(const FrameCell&) = delete;
    FrameCell& operator=(const FrameCell&) = delete;

    // Makes the cell if it is not made yet; false when the system refuses.
    explicit operator bool() noexcept { return Ready(); }

    // Appends to `frames` (of the cell's side) the image of the cursor or
    // icon file image [file, file + size) that best fits the side: colour,
    // mask and alpha as the file holds them. False when there is none or
    // the system cannot make it.
    bool AddTo(FramePixels& frames, const uint8_t* file, size_t size) noexcept;
    // Appends `image` of the file image [file, file + size) as the system
    // decodes and scales it, whatever its kind: what AddTo's own readers
    // must agree with.
    bool AddBySystem(FramePixels& frames, const uint8_t* file, size_t size, const IconImage& image) noexcept;

private:
    bool Ready() noexcept;
    bool DrawDib(const uint8_t* dib, size_t length, bool& alpha) noexcept;
    bool AddIcon(FramePixels& frames, const uint8_t* file, size_t size, const IconImage& image);
    // Copies the cell (colour rows from the bottom, mask 1 bit a pixel) into
    // a new frame.
    void CopyCell(FramePixels& frames, bool alpha);
    std::vector<uint8_t> scratch_; // a PNG's rows

    int side_;
    ui::UniqueMemoryDC dc_;
    ui::UniqueBitmap colour_; // 32-bit DIB section: colour and alpha
    ui::UniqueBitmap mask_;   // 1-bit DIB section, white where transparent
    uint32_t* pixels_ = nullptr;  // colour cell, rows from the bottom
    uint8_t* maskBits_ = nullptr; // mask cell, rows from the bottom
};

} // namespace anicur
