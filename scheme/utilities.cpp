#include "scheme/utilities.h"

#include "scheme/center_math.h"
#include "scheme/text_utils.h"
#include "ui/seams.h"
#include "ui/text.h"

#include <string_view>
#include <vector>

namespace scheme {
namespace {
Rect ToRect(const RECT& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }

// The work area of the window's own monitor: with several monitors the
// primary one may be far from the window.
RECT WorkAreaOf(HWND window)
{
    auto& seams = ui::CurrentSeams();
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = seams.monitorFromWindow ? seams.monitorFromWindow(window, MONITOR_DEFAULTTONEAREST) : nullptr;
    if (monitor && seams.getMonitorInfo && seams.getMonitorInfo(monitor, &info))
        return info.rcWork;
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return work;
}

} // namespace

int GetFileVersionBuild(const std::wstring& path) noexcept
{
    try {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0)
            return -1;
        std::vector<BYTE> info(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()))
            return -1;
        void* text = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(info.data(), L"\\StringFileInfo\\041103a4\\FileVersion", &text, &length) || !text)
            return -1;
        // The length counts characters, the terminator included where present.
        return ParseVersionBuild(ui::UpToNull({static_cast<const wchar_t*>(text), length}));
    } catch (...) {
        return -1;
    }
}

void CenterWindow(HWND window, HWND reference)
{
    const RECT work = WorkAreaOf(reference);
    RECT w{}, r{};
    GetWindowRect(window, &w);
    GetWindowRect(reference, &r);
    Point at = CenterPosition(ToRect(w), ToRect(r), ToRect(work));
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace scheme
