#include "shell/invoke.h"


namespace shell {

bool InvokeVerb(IContextMenu* handler, HWND window, UINT offset)
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
    return SUCCEEDED(handler->InvokeCommand(&info));
}

} // namespace shell
