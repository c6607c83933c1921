// The stored form of a window's bounds: "left,top,width,height" in plain
// decimal, and the reading of its fields.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace dialogs {

// A window's outer rectangle as position and size (screen pixels).
struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

// Reads the field that starts at `position` (1-based) of a text whose fields
// are split by `separator`, and moves `position` past the field and its
// separator. An empty text answers `fallback` and leaves `position` alone; an
// empty field, or one that is not a whole decimal number of int's range,
// answers `fallback`.
int ReadIntField(std::wstring_view text, std::size_t& position, wchar_t separator, int fallback);

// The four fields of a stored text, each one that is missing or bad taken
// from `current`; fields after the fourth are ignored.
Bounds ReadBounds(std::wstring_view text, const Bounds& current);

// "left,top,width,height", each number as plain decimal text.
std::wstring FormatBounds(const Bounds& bounds);

} // namespace dialogs
