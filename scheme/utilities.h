// Small system helpers the windows share.
#pragma once
#include <windows.h>

#include <string>

namespace scheme {

// The fourth number of the FileVersion text in the file's Japanese string
// table (language 0x0411, code page 932); -1 when there is none or it is not
// a whole number.
int GetFileVersionBuild(const std::wstring& path) noexcept;

// Centres `window` on `reference` within the work area of the monitor that
// holds most of `reference` (the nearest one when none does), without
// resizing, reordering or activating it.
void CenterWindow(HWND window, HWND reference);

} // namespace scheme
