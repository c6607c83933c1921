// The pictures of the role menu: what a cursor file or one of the system's
// own cursors looks like, at the size of a menu item's picture.
#pragma once
#include "ui/handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rolemenu {

// `side` x `side` premultiplied 0xAARRGGBB pixels, rows from the top; empty
// when there is nothing to show.
struct Picture {
    int side = 0;
    std::vector<uint32_t> pixels;
    explicit operator bool() const noexcept { return side > 0 && !pixels.empty(); }
};

// The side of a menu item's picture: the system's small icon size at `dpi`
// (0: the system's DPI), which the shell's own menus use for their pictures
// and which shows a cursor of 32 x 32 pixels at an even half.
int MenuPictureSide(int dpi = 0) noexcept;

// The picture a cursor file shows first: a static cursor's image, or the
// frame of an animated cursor's first step, made by this program's reader
// alone. Empty when the reader cannot read the file as a cursor; the file
// never reaches the system's cursor loader.
Picture FilePicture(const std::wstring& path, int side);

// The system's own cursor `cursorId` (an OCR_ value) as the system has it now.
Picture SystemPicture(int cursorId, int side);

// A 32-bit top-down DIB section holding the picture, for a menu item.
ui::UniqueBitmap MenuBitmap(const Picture& picture) noexcept;

} // namespace rolemenu
