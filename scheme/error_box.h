// The program's own error box.
#pragma once
#include <windows.h>

#include <string>

namespace scheme {

// A modal box owned by `owner` with the caption "エラー", the error icon and
// one OK button; returns when it is closed. Shown through the messageBox seam
// of ui/seams.h.
void ShowError(HWND owner, const std::wstring& text);

} // namespace scheme
