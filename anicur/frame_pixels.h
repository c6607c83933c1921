// A cursor's frames held as the system holds a cursor image: per pixel a
// colour and a bit of the AND mask, so that each frame can be drawn over
// whatever lies beneath it exactly as the pointer would be: transparent,
// inverting or opaque pixel by pixel, or blended by its alpha. Window-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace anicur {

class FramePixels {
public:
    // Frames of `side` x `side` pixels (at least 1).
    explicit FramePixels(int side = 32) noexcept : side_(side < 1 ? 1 : side) {}

    int Side() const noexcept { return side_; }
    int Count() const noexcept { return static_cast<int>(alpha_.size()); }
    // Bytes the frames take.
    long long Bytes() const noexcept
    {
        return static_cast<long long>(colour_.size()) * 4 + static_cast<long long>(mask_.size());
    }
    // Bytes one frame of `side` x `side` pixels takes.
    static long long FrameBytes(int side) noexcept { return 5LL * side * side; }

    // Appends a frame, every pixel black and kept (transparent), and answers
    // its index. std::bad_alloc when memory runs out.
    int Append(bool alpha);
    // Drops the last frame (one that could not be filled).
    void PopBack() noexcept;

    // Pixels of frame `f`, rows from the top: 0xAARRGGBB (alpha meaningful
    // only for an alpha frame), and the AND mask, 1 where what lies beneath
    // is kept (and then inverted by a colour that is not black).
    uint32_t* Colour(int f) noexcept { return colour_.data() + Offset(f); }
    const uint32_t* Colour(int f) const noexcept { return colour_.data() + Offset(f); }
    uint8_t* Mask(int f) noexcept { return mask_.data() + Offset(f); }
    const uint8_t* Mask(int f) const noexcept { return mask_.data() + Offset(f); }
    // An alpha frame is blended by its alpha and its mask is not used.
    bool Alpha(int f) const noexcept { return alpha_[static_cast<size_t>(f)] != 0; }

    // Whether pixel `i` of frame `f` changes what lies beneath it.
    bool Shows(int f, size_t i) const noexcept;

private:
    size_t Offset(int f) const noexcept { return static_cast<size_t>(f) * side_ * side_; }

    int side_;
    std::vector<uint32_t> colour_;
    std::vector<uint8_t> mask_;
    std::vector<uint8_t> alpha_;
};

// Appends the image of the DIB [dib, dib + length) (as a cursor file stores
// it) read straight from its bytes, when it is exactly Side() pixels square
// and plain: 1, 4, 8, 24 or 32 bits a pixel without bit fields. False, with
// nothing appended, for any other (GDI then scales or converts it).
// std::bad_alloc when memory runs out.
bool AppendExactDib(FramePixels& frames, const uint8_t* dib, size_t length);

// Draws frame `f` of `frames` over `pixels` (Side() rows of Side() pixels,
// `stride` pixels apart, 0x00RRGGBB, rows from the top) as the system draws
// a cursor: an alpha frame blended by its alpha; otherwise what lies beneath
// is kept where the mask is set, then the colour is XORed over it, so that a
// set mask with a colour inverts and a clear mask paints the colour. The
// result's top byte is 0.
void ComposeFrame(const FramePixels& frames, int f, uint32_t* pixels, size_t stride) noexcept;

} // namespace anicur
