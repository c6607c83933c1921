#include "app/preview_draw.h"


namespace preview {

FrameAtlas::Page::~Page()
{
    // Give the context its own bitmap back before it and the page's bitmap go.
    if (dc)
        SelectObject(dc.get(), original);
}

bool FrameAtlas::MakePage(Page& page, int frames) noexcept
{
    const int rows = (frames + kColumns - 1) / kColumns;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kColumns * kFrameSide;
    info.bmiHeader.biHeight = -rows * kFrameSide; // top-down
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
    page.capacity = rows * kColumns;
    return true;
}

FrameSlot FrameAtlas::Add(HIMAGELIST frames) noexcept
{
    const int count = frames ? ImageList_GetImageCount(frames) : 0;
    if (count <= 0 || count > kAtlasMaxFrames)
        return {};
    try {
        if (pages_.empty() || pages_.back().capacity - pages_.back().used < count) {
            pages_.emplace_back();
            if (!MakePage(pages_.back(), count > kColumns * kRows ? count : kColumns * kRows)) {
                pages_.pop_back();
                return {};
            }
        }
    } catch (...) {
        return {}; // memory
    }
    Page& page = pages_.back();
    const FrameSlot slot{static_cast<int>(pages_.size()) - 1, page.used};
    for (int f = 0; f < count; ++f) {
        const int at = slot.first + f;
        if (!ImageList_Draw(frames, f, page.dc.get(), at % kColumns * kFrameSide, at / kColumns * kFrameSide, ILD_NORMAL))
            return {};
    }
    page.used += count;
    return slot;
}

long long FrameAtlas::Bytes() const noexcept
{
    long long bytes = 0;
    for (const Page& page : pages_)
        bytes += page.capacity * kAtlasFrameBytes;
    return bytes;
}

long long FrameAtlas::Growth(HIMAGELIST frames) const noexcept
{
    const int count = frames ? ImageList_GetImageCount(frames) : 0;
    const int room = pages_.empty() ? 0 : pages_.back().capacity - pages_.back().used;
    return AtlasGrowth(room, count);
}

bool FrameAtlas::Draw(HDC target, FrameSlot slot, int frame, int x, int y) const noexcept
{
    if (slot.page < 0 || slot.page >= static_cast<int>(pages_.size()))
        return false;
    const Page& page = pages_[static_cast<size_t>(slot.page)];
    const int at = slot.first + frame;
    return BitBlt(target, x, y, kFrameSide, kFrameSide, page.dc.get(), at % kColumns * kFrameSide,
                  at / kColumns * kFrameSide, SRCCOPY) != FALSE;
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

void FramePainter::Draw(FrameSlot slot, HIMAGELIST frames, int frame, int x, int y) noexcept
{
    if (!Target())
        return;
    if (!atlas_.Draw(target_, slot, frame, x, y))
        ImageList_Draw(frames, frame, target_, x, y, ILD_NORMAL);
}

} // namespace preview
