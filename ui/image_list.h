// The shell's icons at the sizes of a window's DPI. The shell hands out its
// image lists at the icon sizes of the system's DPI; a window shown at
// another DPI gets lists of its own sizes that hold the same images at the
// same indices, so that the indices the shell gives stay good.
#pragma once
#include "ui/handles.h"

#include <windows.h>
#include <commctrl.h>
#include <commoncontrols.h>

#include <optional>

namespace ui {

// The images of a source list, which only grows, at another size and at the
// same indices, with the source's overlay images. CatchUp copies what the
// source gained since; when it gained nothing that costs one count.
class MirrorImageList {
public:
    // An empty mirror of `source` (shared) with images `side` pixels square.
    MirrorImageList(IImageList* source, int side);

    HIMAGELIST Handle() const noexcept { return list_.get(); }
    // Copies the images the source gained since (every image again when it
    // has fewer than the mirror), then its overlays; the images copied.
    int CatchUp() noexcept;

private:
    ComPtr<IImageList> source_;
    UniqueImageList list_;
};

// The shell's image list of one kind (SHIL_LARGE or SHIL_SMALL) for a DPI:
// the system's own at the system's DPI and where one of the system's lists
// has the icon size of the DPI, else a mirror of the nearest larger one
// (of the largest when none is larger). The system's lists are never
// destroyed; a mirror goes with this object.
class ShellImageList {
public:
    ShellImageList() = default;
    ShellImageList(int kind, int dpi);

    int Dpi() const noexcept { return dpi_; }
    HIMAGELIST Handle() const noexcept;
    // True when the images are a mirror's (none of the system's lists fits).
    bool Mirrored() const noexcept { return mirror_.has_value(); }
    // Brings a mirror up to the system's list before the images are drawn.
    void CatchUp() noexcept
    {
        if (mirror_)
            mirror_->CatchUp();
    }

private:
    int dpi_ = 0;
    ComPtr<IImageList> system_;
    std::optional<MirrorImageList> mirror_;
};

// The icon side of a kind of the shell's list (SHIL_LARGE: SM_CXICON, else
// SM_CXSMICON) at a DPI.
int ShellIconSide(int kind, int dpi) noexcept;

} // namespace ui
