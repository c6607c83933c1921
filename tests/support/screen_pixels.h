// What a window shows, read back pixel by pixel, for tests of drawing.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

namespace testsupport {

// The 32 x 32 pixels at (x, y) of `wnd`'s client area as 0xRRGGBB, rows from
// the top.
std::vector<uint32_t> GrabSquare(HWND wnd, int x, int y);

// The top-left corner of a list-view item's 32 x 32 icon in the list's
// client area (the icon is centred in the item's icon rectangle).
POINT ListIconAt(HWND list, int item);

// Whether that icon lies wholly inside the list's client area.
bool ListIconVisible(HWND list, int item);

// A colour as the pixels above hold it.
uint32_t PixelOf(COLORREF colour);

// A 32 x 32 surface of colour `under` with `icon` drawn by the system as the
// pointer (DrawIconEx), as 0xRRGGBB pixels from the top.
std::vector<uint32_t> SystemDrawing(HICON icon, COLORREF under);

// Image `index` of `list` drawn with `style` over white, at the list's own
// size, as 0xRRGGBB pixels from the top (side x side of them).
std::vector<uint32_t> ImageOverWhite(HIMAGELIST list, int index, UINT style, int& side);

} // namespace testsupport
