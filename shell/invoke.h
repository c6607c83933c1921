// Running one command of a shell menu handler by its verb offset.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace shell {

// InvokeCommand with the integer verb `offset` (command id minus the first
// id), owned by `window`. Answers whether the shell carried the command out.
bool InvokeVerb(IContextMenu* handler, HWND window, UINT offset);

} // namespace shell
