#include "app/cursors/role_picture.h"

#include "anicur/ani_walk.h"
#include "anicur/cursor_file.h"
#include "anicur/frame_icon.h"
#include "anicur/icon_dir.h"
#include "app/cursors/role_pixels.h"
#include "ui/dpi.h"

#include <cstring>
#include <new>
#include <optional>

namespace rolemenu {
namespace {

// The icon of the file's first picture, made by this program's own reader:
// one frame only, however many an animated cursor holds.
ui::UniqueIcon FirstFrameIcon(const std::vector<uint8_t>& bytes, int side)
{
    const uint8_t* image = bytes.data();
    size_t size = bytes.size();
    if (size >= 12 && std::memcmp(image, "RIFF", 4) == 0 && std::memcmp(image + 8, "ACON", 4) == 0) {
        anicur::AniWalkResult walk = anicur::AniWalk(image, size);
        if (walk.code != anicur::AniOk || walk.frames.empty())
            return {};
        const int frame = walk.sequence.empty() ? 0 : walk.sequence.front();
        image += walk.frames[static_cast<size_t>(frame)].offset;
        size = walk.frames[static_cast<size_t>(frame)].length;
    }
    std::optional<anicur::IconImage> chosen = anicur::ChooseIconImage(image, size, side);
    if (!chosen)
        return {};
    // Made at its own size and scaled when drawn: an image scaled as it is
    // made can lose its alpha channel and fall back on its mask.
    return anicur::MakeImageIcon(image, size, *chosen);
}

// Draws the icon over black and over white and makes premultiplied pixels.
Picture Render(HICON icon, int side)
{
    Picture picture;
    if (!icon || side <= 0)
        return picture;
    ui::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t count = static_cast<size_t>(side) * static_cast<size_t>(side);
    std::vector<uint32_t> drawn[2];
    for (int backdrop = 0; backdrop < 2; ++backdrop) {
        void* bits = nullptr;
        ui::UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || !bits)
            return picture;
        std::memset(bits, backdrop ? 0xFF : 0x00, count * sizeof(uint32_t));
        HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        const BOOL ok = DrawIconEx(dc.get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
        GdiFlush();
        SelectObject(dc.get(), old);
        if (!ok)
            return picture;
        const auto* pixels = static_cast<const uint32_t*>(bits);
        drawn[backdrop].resize(count);
        for (size_t i = 0; i < count; ++i)
            drawn[backdrop][i] = pixels[i] & 0x00FFFFFFu;
    }
    picture.pixels = PremultipliedFromBackdrops(drawn[0], drawn[1]);
    picture.side = picture.pixels.empty() ? 0 : side;
    return picture;
}

} // namespace

int MenuPictureSide(int dpi) noexcept
{
    const int side = dpi > 0 ? ui::SystemMetricForDpi(SM_CXSMICON, dpi) : GetSystemMetrics(SM_CXSMICON);
    return side > 0 ? side : 16;
}

Picture FilePicture(const std::wstring& path, int side)
{
    try {
        // Read, not mapped: a file that shrinks or goes away meanwhile (on a
        // share, where the system cannot stop that) only reads short.
        std::vector<uint8_t> bytes;
        int read = anicur::ReadCursorFile(path, bytes);
        if (read == anicur::AniNotAnimated)
            read = anicur::ReadStaticCursorFile(path, bytes);
        if (read != anicur::AniOk)
            return {};
        // Only this program's reader makes the picture: a file it cannot
        // read (cut short, or of a kind it does not know) is never handed to
        // the system's loader, which such a file can bring down with the
        // process at every start. The menu shows the system's cursor then.
        ui::UniqueIcon icon = FirstFrameIcon(bytes, side);
        return icon ? Render(icon.get(), side) : Picture{};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

Picture SystemPicture(int cursorId, int side)
{
    // Shared: the system's own, not to be destroyed.
    auto cursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(cursorId), IMAGE_CURSOR, 0, 0,
                                                  LR_SHARED | LR_DEFAULTSIZE));
    // A system without the role's own cursor (the newer roles on older
    // systems) shows the normal arrow for it.
    if (!cursor) {
        constexpr int kNormalArrow = 32512; // OCR_NORMAL
        cursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(kNormalArrow), IMAGE_CURSOR, 0, 0,
                                                 LR_SHARED | LR_DEFAULTSIZE));
    }
    return Render(cursor, side);
}

ui::UniqueBitmap MenuBitmap(const Picture& picture) noexcept
{
    if (!picture)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.side;
    info.bmiHeader.biHeight = -picture.side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ui::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits)
        std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t));
    return bitmap;
}

} // namespace rolemenu
