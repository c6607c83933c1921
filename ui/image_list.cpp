#include "ui/image_list.h"

#include "ui/dpi.h"

#include <shellapi.h>

namespace ui {

namespace {

// Overlay images are numbered from 1; an image list holds at most 15.
constexpr int kOverlayCount = 15;

int SideOf(IImageList* list) noexcept
{
    int cx = 0, cy = 0;
    return list && SUCCEEDED(list->GetIconSize(&cx, &cy)) ? cx : 0;
}

ComPtr<IImageList> SystemList(int kind) noexcept
{
    ComPtr<IImageList> list;
    if (FAILED(SHGetImageList(kind, __uuidof(IImageList), list.put_void())))
        list.reset();
    return list;
}

// Whether GetOverlayImage answers as documented (the image of an overlay
// number) or the other way round (the overlay number of an image), as
// Wine's image lists do. Asked once, of a list whose overlay is known.
bool OverlaysAsDocumented() noexcept
{
    static const bool documented = [] {
        UniqueImageList probe(ImageList_Create(1, 1, ILC_COLOR32, 3, 0));
        if (!probe || !ImageList_SetImageCount(probe.get(), 3) || !ImageList_SetOverlayImage(probe.get(), 2, 1))
            return true;
        // The program runs with the version 6 controls: a list's handle is its interface.
        int image = -1;
        return reinterpret_cast<IImageList*>(probe.get())->GetOverlayImage(1, &image) == S_OK && image == 2;
    }();
    return documented;
}

} // namespace

MirrorImageList::MirrorImageList(IImageList* source, int side)
    : source_(ComPtr<IImageList>::Share(source)),
      list_(ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 0, 32))
{
}

int MirrorImageList::CatchUp() noexcept
{
    int count = 0;
    if (!list_ || !source_ || FAILED(source_->GetImageCount(&count)))
        return 0;
    int have = ImageList_GetImageCount(list_.get());
    if (count == have)
        return 0;
    // A list that shrank was made again: all its images may have moved.
    if (count < have)
        have = 0;
    // Every index exists before any image is copied, so that an image the
    // source cannot give leaves a blank one and the later ones keep their places.
    if (!ImageList_SetImageCount(list_.get(), UINT(count)))
        return 0;
    for (int i = have; i < count; ++i) {
        HICON raw = nullptr;
        if (SUCCEEDED(source_->GetIcon(i, ILD_TRANSPARENT, &raw)) && raw) {
            UniqueIcon icon(raw);
            ImageList_ReplaceIcon(list_.get(), i, icon.get());
        }
    }
    if (OverlaysAsDocumented()) {
        for (int overlay = 1; overlay <= kOverlayCount; ++overlay) {
            int image = -1;
            if (source_->GetOverlayImage(overlay, &image) == S_OK && image >= 0 && image < count)
                ImageList_SetOverlayImage(list_.get(), image, overlay);
        }
    } else {
        for (int image = 0; image < count; ++image) {
            int overlay = 0;
            if (source_->GetOverlayImage(image, &overlay) == S_OK && overlay >= 1 && overlay <= kOverlayCount)
                ImageList_SetOverlayImage(list_.get(), image, overlay);
        }
    }
    return count - have;
}

int ShellIconSide(int kind, int dpi) noexcept
{
    return SystemMetricForDpi(kind == SHIL_LARGE ? SM_CXICON : SM_CXSMICON, dpi);
}

ShellImageList::ShellImageList(int kind, int dpi) : dpi_(dpi)
{
    system_ = SystemList(kind);
    if (dpi == SystemDpi() || !system_)
        return;
    const int side = ShellIconSide(kind, dpi);
    // The system's lists from the smallest up; the jumbo list is left out:
    // it holds an icon without a picture of its own size small in a corner.
    ComPtr<IImageList> larger, largest;
    for (int candidate : {SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE}) {
        ComPtr<IImageList> list = SystemList(candidate);
        const int candidateSide = SideOf(list.get());
        if (candidateSide == side) {
            system_ = std::move(list);
            return;
        }
        if (candidateSide > side && !larger)
            larger = list;
        if (candidateSide > SideOf(largest.get()))
            largest = std::move(list);
    }
    IImageList* source = larger ? larger.get() : largest.get();
    if (source)
        mirror_.emplace(source, side);
    CatchUp();
}

HIMAGELIST ShellImageList::Handle() const noexcept
{
    // The interface of a version 6 image list is its handle.
    return mirror_ ? mirror_->Handle() : reinterpret_cast<HIMAGELIST>(system_.get());
}

} // namespace ui
