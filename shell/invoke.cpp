#include "shell/invoke.h"

namespace shell {

namespace {
// The shell's copy engine stopped by the user (Vista and later).
constexpr HRESULT kCopyEngineCancelled = HRESULT(0x80270000L);
} // namespace

HRESULT InvokeVerb(IContextMenu* handler, HWND window, UINT offset)
{
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = 0;
    info.hwnd = window;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.lpParameters = nullptr;
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    info.dwHotKey = 0;
    info.hIcon = nullptr;
    return handler->InvokeCommand(&info);
}

bool IsCancelled(HRESULT result) noexcept
{
    return result == HRESULT_FROM_WIN32(ERROR_CANCELLED) || result == E_ABORT || result == kCopyEngineCancelled;
}

} // namespace shell
