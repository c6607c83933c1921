#include "shell/invoke.h"

#include "res/texts.h"
#include "shell/seams.h"

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
    if (SUCCEEDED(handler->InvokeCommand(&info)))
        return true;
    ShowInvokeFailed(window);
    return false;
}

void ShowInvokeFailed(HWND window)
{
    // The box belongs to the application's window, not to the view that asked.
    HWND owner = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (auto& box = CurrentSeams().messageBox)
        box(owner, texts::InvokeFailedText, texts::InvokeFailedCaption, MB_OK | MB_ICONINFORMATION);
}

} // namespace shell
