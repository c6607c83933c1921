#include "app/preview_draw.h"

namespace preview {

ui::UniqueBitmap MakeFrameStrip(HIMAGELIST frames) noexcept
{
    const int count = frames ? ImageList_GetImageCount(frames) : 0;
    if (count <= 0 || count > 0x7FFF / kFrameSide)
        return {};
    HDC screen = GetDC(nullptr);
    if (!screen)
        return {};
    ui::UniqueBitmap strip(CreateCompatibleBitmap(screen, count * kFrameSide, kFrameSide));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!dc)
        return {};
    bool drawn = false;
    if (strip) {
        HGDIOBJ original = SelectObject(dc, strip.get());
        drawn = true;
        for (int f = 0; f < count; ++f)
            drawn = ImageList_Draw(frames, f, dc, f * kFrameSide, 0, ILD_NORMAL) && drawn;
        SelectObject(dc, original);
    }
    DeleteDC(dc);
    if (!drawn)
        strip.reset();
    return strip;
}

FramePainter::~FramePainter()
{
    if (source_) {
        SelectObject(source_, original_);
        DeleteDC(source_);
    }
    if (target_)
        ReleaseDC(wnd_, target_);
}

void FramePainter::Draw(HBITMAP strip, HIMAGELIST frames, int frame, int x, int y) noexcept
{
    if (!target_ && !(target_ = GetDC(wnd_)))
        return;
    if (strip) {
        if (!source_) {
            source_ = CreateCompatibleDC(target_);
            if (source_)
                original_ = SelectObject(source_, strip);
        } else {
            SelectObject(source_, strip);
        }
        if (source_ && BitBlt(target_, x, y, kFrameSide, kFrameSide, source_, frame * kFrameSide, 0, SRCCOPY))
            return;
    }
    ImageList_Draw(frames, frame, target_, x, y, ILD_NORMAL);
}

} // namespace preview
