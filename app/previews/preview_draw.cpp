#include "app/previews/preview_draw.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace preview {
namespace {

// 0x00RRGGBB as a 32-bit DIB holds a colour.
uint32_t PixelOf(COLORREF c) noexcept
{
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

} // namespace

Look CurrentLook(int side, COLORREF background, bool selected) noexcept
{
    Look look;
    look.side = side;
    look.beneath = background == CLR_NONE ? GetSysColor(COLOR_WINDOW) : background;
    look.selected = selected;
    look.highlight = selected ? GetSysColor(COLOR_HIGHLIGHT) : 0;
    return look;
}

FrameAtlas::Page::~Page()
{
    // Give the context its own bitmap back before it and the page's bitmap go.
    if (dc)
        SelectObject(dc.get(), original);
}

void FrameAtlas::Use(const Look& look) noexcept
{
    if (look == look_)
        return;
    look_ = look;
    Clear();
}

void FrameAtlas::Clear() noexcept
{
    pages_.clear();
    ++generation_;
}

bool FrameAtlas::MakePage(Page& page, int frames) const noexcept
{
    const int side = look_.side;
    const int rows = (frames + kColumns - 1) / kColumns;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kColumns * side;
    info.bmiHeader.biHeight = -rows * side; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    page.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!page.bitmap)
        return false;
    page.dc.reset(CreateCompatibleDC(nullptr));
    if (!page.dc)
        return false;
    page.original = SelectObject(page.dc.get(), page.bitmap.get());
    page.bits = static_cast<uint32_t*>(bits);
    page.capacity = rows * kColumns;
    return true;
}

FrameSlot FrameAtlas::Add(const anicur::FramePixels& frames) noexcept
{
    const int count = frames.Count(), side = look_.side;
    if (count <= 0 || count > AtlasMaxFrames(side) || frames.Side() != side)
        return {};
    try {
        if (pages_.empty() || pages_.back().capacity - pages_.back().used < count) {
            pages_.emplace_back();
            if (!MakePage(pages_.back(), std::max(count, kColumns * kRows))) {
                pages_.pop_back();
                return {};
            }
            pages_.back().composed.assign(static_cast<size_t>(pages_.back().capacity), 0);
        }
    } catch (...) {
        return {}; // memory
    }
    Page& page = pages_.back();
    const FrameSlot slot{static_cast<int>(pages_.size()) - 1, page.used, generation_};
    page.used += count;
    return slot;
}

// One frame over the colour beneath, as the pointer would be drawn, then
// (for the selected look) blended as the list blends a selected icon.
bool FrameAtlas::Compose(const anicur::FramePixels& frames, int f, Page& page, int at) const noexcept
{
    const int side = look_.side;
    GdiFlush();
    const size_t stride = static_cast<size_t>(kColumns) * side;
    uint32_t* cell = page.bits + static_cast<size_t>(at / kColumns) * side * stride + at % kColumns * side;
    const uint32_t beneath = PixelOf(look_.beneath);
    for (int y = 0; y < side; ++y)
        std::fill_n(cell + y * stride, side, beneath);
    anicur::ComposeFrame(frames, f, cell, stride);
    return !look_.selected || ComposeSelected(frames, f, page, at);
}

// The list blends a selected item's icon with the highlight where the icon
// shows: the composed frame is drawn the same way, through an image list
// of one image whose mask leaves out what the frame does not change.
bool FrameAtlas::ComposeSelected(const anicur::FramePixels& frames, int f, Page& page, int at) const noexcept
{
    const int side = look_.side;
    ui::UniqueImageList one(ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 1, 1));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    void* bits = nullptr;
    ui::UniqueBitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const int maskRow = (side + 15) / 16 * 2; // CreateBitmap rows are words
    std::vector<uint8_t> maskBits;
    try {
        maskBits.resize(static_cast<size_t>(maskRow) * side);
    } catch (...) {
        return false;
    }
    if (!one || !colour)
        return false;
    auto* pixels = static_cast<uint32_t*>(bits);
    const size_t stride = static_cast<size_t>(kColumns) * side;
    const int cx = at % kColumns * side, cy = at / kColumns * side;
    for (int y = 0; y < side; ++y) {
        std::memcpy(pixels + y * side, page.bits + (static_cast<size_t>(cy) + y) * stride + cx, side * 4u);
        for (int x = 0; x < side; ++x)
            if (!frames.Shows(f, static_cast<size_t>(y) * side + x))
                maskBits[static_cast<size_t>(y) * maskRow + x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    ui::UniqueBitmap mask(CreateBitmap(side, side, 1, 1, maskBits.data()));
    return mask && ImageList_Add(one.get(), colour.get(), mask.get()) == 0 &&
           ImageList_DrawEx(one.get(), 0, page.dc.get(), cx, cy, 0, 0, look_.beneath, CLR_DEFAULT, ILD_SELECTED);
}

long long FrameAtlas::Bytes() const noexcept
{
    long long bytes = 0;
    for (const Page& page : pages_)
        bytes += page.capacity * 4LL * look_.side * look_.side;
    return bytes;
}

bool FrameAtlas::Draw(HDC target, const FrameSlot& slot, const anicur::FramePixels& frames, int frame, int x, int y,
                      const RECT& clip, const RECT* exclude) noexcept
{
    if (!Holds(slot) || frame < 0 || frame >= frames.Count() || frames.Side() != look_.side)
        return false;
    Page& page = pages_[static_cast<size_t>(slot.page)];
    const int side = look_.side;
    const int at = slot.first + frame;
    if (at >= page.used)
        return false;
    if (!page.composed[static_cast<size_t>(at)]) {
        if (!Compose(frames, frame, page, at))
            return false;
        page.composed[static_cast<size_t>(at)] = 1;
    }
    RECT cell{x, y, x + side, y + side}, part{};
    if (!IntersectRect(&part, &cell, &clip))
        return true; // nothing of it may be drawn
    const int fromX = at % kColumns * side + (part.left - x), fromY = at / kColumns * side + (part.top - y);
    RECT hidden{};
    if (exclude && IntersectRect(&hidden, &part, exclude)) {
        const int saved = SaveDC(target);
        ExcludeClipRect(target, hidden.left, hidden.top, hidden.right, hidden.bottom);
        const BOOL done = BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top,
                                 page.dc.get(), fromX, fromY, SRCCOPY);
        RestoreDC(target, saved);
        return done != FALSE;
    }
    return BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, page.dc.get(), fromX,
                  fromY, SRCCOPY) != FALSE;
}

FramePainter::~FramePainter()
{
    if (target_)
        ReleaseDC(wnd_, target_);
}

HDC FramePainter::Target() noexcept
{
    if (!target_)
        target_ = GetDC(wnd_);
    return target_;
}

} // namespace preview
