// A mirror of an image list at another size: same indices, scaled images,
// the source's overlays, and only what the source gained is copied.
#include "ui/image_list.h"

#include "tests/support/screen_pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kColours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

void AddSolid(HIMAGELIST list, COLORREF colour)
{
    ui::WindowDC screen(nullptr);
    ui::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
    ui::UniqueMemoryDC dc(CreateCompatibleDC(screen.get()));
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    SetBkColor(dc.get(), colour);
    const RECT all{0, 0, 16, 16};
    ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    SelectObject(dc.get(), old);
    ImageList_Add(list, bitmap.get(), nullptr);
}

// The colours at the centre and at the far corner of an image drawn over white.
std::pair<uint32_t, uint32_t> Drawn(HIMAGELIST list, int index, UINT style = ILD_NORMAL)
{
    int side = 0;
    const std::vector<uint32_t> pixels = testsupport::ImageOverWhite(list, index, style, side);
    return {pixels.at(size_t(side / 2 * side + side / 2)), pixels.at(size_t(side * side - 1))};
}

uint32_t Pixel(int colour) { return testsupport::PixelOf(kColours[colour]); }

TEST(MirrorImageList, CopiesWhatTheSourceGainedScaledAtTheSameIndices)
{
    ui::UniqueImageList source(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4));
    for (int i = 0; i < 3; ++i)
        AddSolid(source.get(), kColours[i]);
    ImageList_SetOverlayImage(source.get(), 2, 1);
    // A version 6 image list's handle is its interface.
    ui::MirrorImageList mirror(reinterpret_cast<IImageList*>(source.get()), 32);
    EXPECT_EQ(mirror.CatchUp(), 3);
    EXPECT_EQ(mirror.CatchUp(), 0) << "nothing new, nothing copied";
    AddSolid(source.get(), kColours[3]);
    EXPECT_EQ(mirror.CatchUp(), 1);
    ASSERT_EQ(ImageList_GetImageCount(mirror.Handle()), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Drawn(mirror.Handle(), i), std::make_pair(Pixel(i), Pixel(i))) << i;
    // The shell's overlays (the shortcut arrow) are the source's overlay images.
    EXPECT_EQ(Drawn(mirror.Handle(), 0, ILD_NORMAL | INDEXTOOVERLAYMASK(1)).first, Pixel(2));

    // A source made again with fewer images is copied again from the start.
    ImageList_Remove(source.get(), 0);
    EXPECT_EQ(mirror.CatchUp(), 3);
    EXPECT_EQ(Drawn(mirror.Handle(), 0).first, Pixel(1));
}

} // namespace
