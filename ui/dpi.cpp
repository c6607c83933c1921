#include "ui/dpi.h"

namespace ui {

namespace {

template <typename F>
F User32Function(const char* name) noexcept
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using MetricsForDpiFn = int(WINAPI*)(int, UINT);
using ParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

} // namespace

int SystemDpi() noexcept
{
    static const auto forSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    if (forSystem)
        if (UINT dpi = forSystem())
            return int(dpi);
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int DpiOf(HWND hwnd) noexcept
{
    static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (forWindow && hwnd)
        if (UINT dpi = forWindow(hwnd))
            return int(dpi);
    return SystemDpi();
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) noexcept
{
    static const auto forDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi)
        return forDpi(&rect, style, menu, exStyle, UINT(dpi)) != FALSE;
    return AdjustWindowRectEx(&rect, style, menu, exStyle) != FALSE;
}

int SystemMetricForDpi(int index, int dpi) noexcept
{
    static const auto forDpi = User32Function<MetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, UINT(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

bool IconTitleFontForDpi(LOGFONTW& font, int dpi) noexcept
{
    static const auto forDpi = User32Function<ParametersForDpiFn>("SystemParametersInfoForDpi");
    if (forDpi && forDpi(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0, UINT(dpi)))
        return true;
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0))
        return false;
    font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
    return true;
}

} // namespace ui
