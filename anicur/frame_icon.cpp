#include "anicur/frame_icon.h"

#include "anicur/icon_dir.h"

namespace anicur {

ui::UniqueIcon MakeImageIcon(const uint8_t* file, size_t size, const IconImage& image, int side) noexcept
{
    if (image.offset > size || image.length > size - image.offset || image.length > MAXDWORD)
        return {};
    // A cursor's image is made as an icon: the preview has no use for the
    // hotspot, and an icon takes DIB and PNG images alike. The system only
    // reads the bytes it is given.
    auto* bits = const_cast<PBYTE>(file + image.offset);
    return ui::UniqueIcon(CreateIconFromResourceEx(bits, static_cast<DWORD>(image.length), TRUE,
                                                   0x00030000, side, side, LR_DEFAULTCOLOR));
}

} // namespace anicur
