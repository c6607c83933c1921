// Drawing of preview frames onto the file list. Each frame is composed the
// way the system draws the pointer (anicur/frame_pixels.h) over what the
// list shows beneath its icon, in the look the list gives the item (plain,
// or blended as a selected icon), and kept: the composed frames of a look
// sit in an atlas, pages of frames, each page a bitmap kept selected into a
// memory device context of its own, so that drawing a frame again is one
// copy. A change of the look (colours, theme, icon size) drops the atlas;
// frames are composed again as they are drawn.
#pragma once
#include "anicur/frame_pixels.h"
#include "app/previews/preview_budget.h"
#include "ui/handles.h"

#include <windows.h>

#include <vector>

namespace preview {

// What a frame is drawn over, and how the list marks a selected item.
struct Look {
    int side = kAtlasFrameSide; // the list's icon size
    COLORREF beneath = 0;       // the list's background under the icon
    bool selected = false;      // blended with the highlight, as the list's icons
    COLORREF highlight = 0;
    bool operator==(const Look&) const = default;
};

// The look of a list whose background colour is `background` (CLR_NONE: the
// window colour shows), its icons `side` pixels square, for an item drawn
// selected or not: the system's colours as they are now.
Look CurrentLook(int side, COLORREF background, bool selected) noexcept;

// Where one cursor's composed frames are in an atlas; page -1 when they are
// not (yet, or any more: `generation` is the atlas's when they were made).
struct FrameSlot {
    int page = -1;
    int first = 0; // index of frame 0 in the page
    long long generation = -1;
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

    // Makes `look` the atlas's look; a different one drops every page (and
    // so every slot made before).
    void Use(const Look& look) noexcept;
    const Look& CurrentLook() const noexcept { return look_; }
    // Whether `slot` holds frames of the atlas's pages as they are now.
    bool Holds(const FrameSlot& slot) const noexcept
    {
        return slot.generation == generation_ && slot.page >= 0 && slot.page < Pages();
    }
    // Makes room for every frame of `frames`; each is composed in the
    // atlas's look when it is first drawn. A slot without a page when the
    // frames do not have the look's side or no bitmap can be made.
    FrameSlot Add(const anicur::FramePixels& frames) noexcept;
    // Copies frame `frame` of `slot` (composed from `frames`, those the slot
    // was made for, if it is not yet) to (x, y) of `target`, only the part
    // inside `clip` and outside `exclude` (when set). False when the slot
    // has no page or the frame cannot be composed.
    bool Draw(HDC target, const FrameSlot& slot, const anicur::FramePixels& frames, int frame, int x, int y,
              const RECT& clip, const RECT* exclude = nullptr) noexcept;
    void Clear() noexcept;
    int Pages() const noexcept { return static_cast<int>(pages_.size()); }
    // Bytes of all pages made so far.
    long long Bytes() const noexcept;

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
        uint32_t* bits = nullptr;      // rows from the top, kColumns * side wide
        std::vector<uint8_t> composed; // per place: its frame is composed
        int capacity = 0;
        int used = 0;
    };
    bool MakePage(Page& page, int frames) const noexcept;
    bool Compose(const anicur::FramePixels& frames, int f, Page& page, int at) const noexcept;
    bool ComposeSelected(const anicur::FramePixels& frames, int f, Page& page, int at) const noexcept;

    Look look_;
    long long generation_ = 0;
    std::vector<Page> pages_;
};

// A window's device context for the frames of one tick, taken at the first
// frame and given back at the end.
class FramePainter {
public:
    explicit FramePainter(HWND wnd) noexcept : wnd_(wnd) {}
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    // The window's device context; null when the system refuses it.
    HDC Target() noexcept;

private:
    HWND wnd_;
    HDC target_ = nullptr;
};

} // namespace preview
