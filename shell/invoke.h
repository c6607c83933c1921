// Running one command of a shell menu handler by its verb offset.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace shell {

// InvokeCommand with the integer verb `offset` (command id minus the first
// id), owned by `window`. Answers the shell's result.
HRESULT InvokeVerb(IContextMenu* handler, HWND window, UINT offset);

// True for the results with which the shell reports that the user stopped a
// command (No to its question, Cancel in its dialog): no failure to report.
bool IsCancelled(HRESULT result) noexcept;

} // namespace shell
