// The messages a shell menu handler needs while its menu is tracked: it fills
// sub-menus such as "Open with" and "New" on WM_INITMENUPOPUP and draws their
// icons on WM_MEASUREITEM and WM_DRAWITEM.
#pragma once
#include "ui/message_filter.h"

#include <windows.h>
#include <shlobj.h>

namespace shell {

// A filter for the menu's owner window that hands those messages (and
// WM_MENUCHAR) to the handler's IContextMenu3::HandleMenuMsg2, or to
// IContextMenu2::HandleMenuMsg when it has only that; empty when it has
// neither. The filter holds its own reference to the handler.
ui::MessageFilter ShellMenuMessages(IContextMenu* handler);

// Whether a message belongs to the tracked menu rather than to the window
// (WM_DRAWITEM and WM_MEASUREITEM also come from owner-drawn controls).
bool IsMenuMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

} // namespace shell
