// Drawing of preview frames straight onto the file list. Each cursor's frames
// are composed once, when it is loaded, onto the frame list's background (the
// window colour) into one opaque strip; a tick then only copies 32 x 32
// pixels per changed preview, which costs a small fraction of drawing from
// the image list every time.
#pragma once
#include "ui/handles.h"

#include <windows.h>

namespace preview {

inline constexpr int kFrameSide = 32;

// The frames of `frames` side by side (frame f at x = 32 f), each drawn with
// ILD_NORMAL, so the list's background colour fills what the frame leaves
// transparent. Empty when the bitmap cannot be made.
ui::UniqueBitmap MakeFrameStrip(HIMAGELIST frames) noexcept;

// Draws frames onto one window's client area during one tick; the device
// contexts are taken at the first frame and given back at the end.
class FramePainter {
public:
    explicit FramePainter(HWND wnd) noexcept : wnd_(wnd) {}
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    // Frame `frame` at (x, y): copied from `strip` when there is one, else
    // drawn from the image list.
    void Draw(HBITMAP strip, HIMAGELIST frames, int frame, int x, int y) noexcept;

private:
    HWND wnd_;
    HDC target_ = nullptr;
    HDC source_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

} // namespace preview
