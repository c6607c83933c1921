// The design's pixel figures are measured at 96 pixels per inch: Scale gives
// a figure at another DPI, rounded to the nearest pixel. Window-free.
#pragma once

namespace ui {

inline constexpr int kDesignDpi = 96;

// value * dpi / 96, rounded half away from zero; a DPI of 0 or less counts as 96.
constexpr int Scale(int value, int dpi) noexcept
{
    if (dpi <= 0 || dpi == kDesignDpi)
        return value;
    long long product = static_cast<long long>(value) * dpi;
    long long half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

} // namespace ui
