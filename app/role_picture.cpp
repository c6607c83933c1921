#include "app/role_picture.h"

#include "anicur/ani_walk.h"
#include "anicur/frame_icon.h"
#include "anicur/icon_dir.h"
#include "app/role_pixels.h"

#include <cstring>
#include <new>
#include <optional>

namespace rolemenu {
namespace {

// Beyond this a file is not looked at for its picture: no cursor comes near.
constexpr LONGLONG kMaxFileBytes = 128LL << 20;

// A file's bytes, mapped: only the pages the reader touches are read, which
// for an animated cursor of many large frames is a small part of it.
class MappedFile {
public:
    explicit MappedFile(const std::wstring& path)
    {
        ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxFileBytes)
            return;
        mapping_.reset(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping_)
            return;
        view_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
        if (view_)
            size_ = static_cast<size_t>(size.QuadPart);
    }
    ~MappedFile()
    {
        if (view_)
            UnmapViewOfFile(view_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* data() const noexcept { return view_; }
    size_t size() const noexcept { return size_; }

private:
    ui::UniqueKernelHandle mapping_;
    const uint8_t* view_ = nullptr;
    size_t size_ = 0;
};

// The icon of the file's first picture, made by this program's own reader:
// one frame only, however many an animated cursor holds.
ui::UniqueIcon FirstFrameIcon(const MappedFile& bytes, int side)
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

int MenuPictureSide() noexcept
{
    const int side = GetSystemMetrics(SM_CXSMICON);
    return side > 0 ? side : 16;
}

Picture FilePicture(const std::wstring& path, int side)
{
    try {
        // The system refuses to cut a file short while a view of it is
        // mapped, so the bytes stay readable however others change it.
        const MappedFile bytes(path);
        if (!bytes.data())
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
