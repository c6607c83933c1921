// The main window's private messages, always posted with wParam 0 and lParam 0.
#pragma once
#include <windows.h>

inline constexpr UINT WM_RESTORECONTEXTMENU = WM_USER + 102; // link the list's context menu again
inline constexpr UINT WM_WATCHFOLDERS = WM_USER + 103;       // point the monitors at the folder in view
inline constexpr UINT WM_REFRESHVIEWS = WM_USER + 104;       // rebuild the tree and refill the list
inline constexpr UINT WM_PREPAREROLEMENU = WM_USER + 105;    // make the role menu's pictures ahead of its first opening
