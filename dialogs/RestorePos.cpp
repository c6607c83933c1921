#include "dialogs/RestorePos.h"

#include "dialogs/screen_place.h"
#include "scheme/registry.h"

void TRestorePos::SetRegistryKey(const std::wstring& key)
{
    if (key == registryKey_)
        return;
    registryKey_ = key;
    if (restorePending_)
        Restore();
}

void TRestorePos::SetRegistryName(const std::wstring& name)
{
    if (name == registryName_)
        return;
    registryName_ = name;
    if (restorePending_)
        Restore();
}

void TRestorePos::Loaded(HWND owner)
{
    owner_ = owner;
    Restore();
}

dialogs::Bounds WindowBounds(HWND window)
{
    RECT r{};
    if (IsIconic(window) || IsZoomed(window)) {
        // The normal position is in work-area coordinates of the window's display.
        WINDOWPLACEMENT placement{sizeof(placement)};
        GetWindowPlacement(window, &placement);
        r = placement.rcNormalPosition;
        MONITORINFO info{sizeof(info)};
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
            OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    } else {
        GetWindowRect(window, &r);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool ShowsMaximized(HWND window)
{
    if (IsZoomed(window))
        return true;
    WINDOWPLACEMENT placement{sizeof(placement)};
    return IsIconic(window) && GetWindowPlacement(window, &placement) &&
           (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
}

int TRestorePos::ShowCommand(int asked) const noexcept
{
    // A start asked minimised, hidden or without activation keeps its way.
    const bool plain = asked == SW_SHOWNORMAL || asked == SW_SHOWDEFAULT || asked == SW_SHOW || asked == SW_RESTORE;
    return maximized_ && plain ? SW_SHOWMAXIMIZED : asked;
}

void TRestorePos::Restore()
{
    if (!owner_ || !IsWindow(owner_) || registryKey_.empty() || registryName_.empty())
        return;
    std::wstring text = scheme::GetRegistryVal(HKEY_CURRENT_USER, registryKey_, registryName_);
    if (text.empty())
        return;
    dialogs::Bounds current = WindowBounds(owner_);
    dialogs::Bounds stored = dialogs::ReadBounds(text, current);

    // Bring it onto the display nearest to where it was stored.
    RECT wanted{stored.left, stored.top, stored.left + (stored.width > 0 ? stored.width : current.width),
                stored.top + (stored.height > 0 ? stored.height : current.height)};
    MONITORINFO info{sizeof(info)};
    RECT work{};
    if (GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &info))
        work = info.rcWork;
    else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // The title bar: the frame above the client area and the caption.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(owner_, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(owner_, GWL_EXSTYLE)));
    dialogs::Bounds b =
        dialogs::FitOnWorkArea(stored, current, {work.left, work.top, work.right, work.bottom}, -frame.top);

    SetWindowPos(owner_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The normal bounds are in place: maximised, the window covers the work
    // area of the monitor they are on, and comes back to them.
    maximized_ = scheme::GetRegistryVal(HKEY_CURRENT_USER, registryKey_, MaximizedName()) == L"1";
    restorePending_ = false;
}

bool TRestorePos::Save() noexcept
{
    if (!owner_ || !IsWindow(owner_) || registryKey_.empty() || registryName_.empty())
        return true;
    try {
        scheme::SetRegistryVal(HKEY_CURRENT_USER, registryKey_, registryName_,
                               dialogs::FormatBounds(WindowBounds(owner_)));
        scheme::SetRegistryVal(HKEY_CURRENT_USER, registryKey_, MaximizedName(),
                               ShowsMaximized(owner_) ? L"1" : L"0");
        return true;
    } catch (...) {
        return false;
    }
}
