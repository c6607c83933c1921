// Drawing of preview frames straight onto the file list. The frames of every
// loaded cursor are composed once, when it is loaded, onto the frame list's
// background (the window colour) into an opaque atlas: pages of frames, each
// page a bitmap kept selected into a memory device context of its own. A
// tick then only copies 32 x 32 pixels per changed preview; drawing from the
// image list, or selecting a bitmap per frame, costs many times more.
#pragma once
#include "app/preview_budget.h"
#include "ui/handles.h"

#include <windows.h>

#include <vector>

namespace preview {

inline constexpr int kFrameSide = kAtlasFrameSide;

// Where one cursor's frames are in the atlas; page -1 when they are not.
struct FrameSlot {
    int page = -1;
    int first = 0; // index of frame 0 in the page
};

class FrameAtlas {
public:
    // Frames per row of a page, and rows of an ordinary page. A cursor with
    // more frames than an ordinary page holds gets a page of its own.
    static constexpr int kColumns = kAtlasColumns;
    static constexpr int kRows = kAtlasRows;

    FrameAtlas() = default;
    FrameAtlas(const FrameAtlas&) = delete;
    FrameAtlas& operator=(const FrameAtlas&) = delete;

    // Composes every frame of `frames` with ILD_NORMAL, so the list's
    // background colour fills what a frame leaves transparent. A slot without
    // a page when the bitmap cannot be made (the caller then draws from the
    // image list).
    FrameSlot Add(HIMAGELIST frames) noexcept;
    // Copies frame `frame` of `slot` to (x, y) of `target`; false when the
    // slot has no page.
    bool Draw(HDC target, FrameSlot slot, int frame, int x, int y) const noexcept;
    void Clear() noexcept { pages_.clear(); }
    int Pages() const noexcept { return static_cast<int>(pages_.size()); }
    // Bytes of all pages made so far.
    long long Bytes() const noexcept;
    // Bytes that Add(frames) would make a new page of: 0 when the frames fit
    // the last page, -1 when no page can hold them.
    long long Growth(HIMAGELIST frames) const noexcept;

private:
    struct Page {
        Page() = default;
        Page(Page&&) noexcept = default;
        Page& operator=(Page&&) = delete;
        ~Page();
        // The context is deleted before the bitmap selected into it.
        ui::UniqueBitmap bitmap;
        ui::UniqueMemoryDC dc;
        HGDIOBJ original = nullptr;
        int capacity = 0;
        int used = 0;
    };
    static bool MakePage(Page& page, int frames) noexcept;
    std::vector<Page> pages_;
};

// Draws frames onto one window's client area during one tick; the window's
// device context is taken at the first frame and given back at the end.
class FramePainter {
public:
    FramePainter(HWND wnd, const FrameAtlas& atlas) noexcept : wnd_(wnd), atlas_(atlas) {}
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    // Frame `frame` at (x, y): copied from the atlas when the slot has a
    // page, else drawn from the image list.
    void Draw(FrameSlot slot, HIMAGELIST frames, int frame, int x, int y) noexcept;
    // The window's device context, taken at the first call; null when the
    // system refuses it.
    HDC Target() noexcept;

private:
    HWND wnd_;
    const FrameAtlas& atlas_;
    HDC target_ = nullptr;
};

} // namespace preview
