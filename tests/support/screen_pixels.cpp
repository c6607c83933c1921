#include "tests/support/screen_pixels.h"

#include <commctrl.h>

namespace testsupport {

std::vector<uint32_t> GrabSquare(HWND wnd, int x, int y)
{
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(wnd);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, 32, 32, screen, x, y, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + 32 * 32);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(wnd, screen);
    for (auto& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

POINT ListIconAt(HWND list, int item)
{
    RECT icon{LVIR_ICON};
    SendMessageW(list, LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&icon));
    return {icon.left + (icon.right - icon.left - 32) / 2, icon.top};
}

bool ListIconVisible(HWND list, int item)
{
    RECT client{};
    GetClientRect(list, &client);
    const POINT p = ListIconAt(list, item);
    return p.x >= 0 && p.y >= 0 && p.x + 32 <= client.right && p.y + 32 <= client.bottom;
}

uint32_t PixelOf(COLORREF colour)
{
    return uint32_t(GetRValue(colour)) << 16 | uint32_t(GetGValue(colour)) << 8 | GetBValue(colour);
}

namespace {
// What `draw` paints on a side x side square filled with `under` (0xRRGGBB),
// as 0xRRGGBB pixels from the top.
template <typename Draw>
std::vector<uint32_t> DrawnSquare(int side, uint32_t under, Draw draw)
{
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    auto* px = static_cast<uint32_t*>(bits);
    std::fill(px, px + side * side, under);
    draw(dc);
    GdiFlush();
    std::vector<uint32_t> out(px, px + side * side);
    for (uint32_t& p : out)
        p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return out;
}
} // namespace

std::vector<uint32_t> SystemDrawing(HICON icon, COLORREF under)
{
    return DrawnSquare(32, PixelOf(under), [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL); });
}

std::vector<uint32_t> ImageOverWhite(HIMAGELIST list, int index, UINT style, int& side)
{
    int height = 0;
    side = 0;
    if (!ImageList_GetIconSize(list, &side, &height) || side <= 0)
        return {};
    return DrawnSquare(side, 0xFFFFFFu, [&](HDC dc) { ImageList_Draw(list, index, dc, 0, 0, style); });
}

} // namespace testsupport
