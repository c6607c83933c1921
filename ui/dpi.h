// The pixels per inch a window is shown at, and the system's sizes for it.
// The per-monitor functions are missing from older systems: they are found
// at run time, and without them the system's DPI (the screen's LOGPIXELSY)
// stands for every window.
#pragma once
#include "ui/dpi_scale.h"

#include <windows.h>

namespace ui {

// The DPI of the system, as the screen's device context tells it.
int SystemDpi() noexcept;
// The DPI of the monitor a window is on (the system's without per-monitor support).
int DpiOf(HWND hwnd) noexcept;
// AdjustWindowRectEx for a DPI (the system's own sizes where it cannot scale them).
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) noexcept;
// GetSystemMetrics for a DPI; without per-monitor support the system's
// figure scaled from its DPI.
int SystemMetricForDpi(int index, int dpi) noexcept;
// The icon-title font for a DPI.
bool IconTitleFontForDpi(LOGFONTW& font, int dpi) noexcept;

} // namespace ui
