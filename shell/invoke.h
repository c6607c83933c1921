// Running one command of a shell menu handler by its verb offset.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace shell {

// InvokeCommand with the integer verb `offset` (command id minus the first
// id), owned by `window`. A failure shows the invoke-failure box and answers
// false.
bool InvokeVerb(IContextMenu* handler, HWND window, UINT offset);

// The box shown when the shell refuses a command.
void ShowInvokeFailed(HWND window);

} // namespace shell
