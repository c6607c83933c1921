// The messages a shell menu handler needs while its menu is tracked: it fills
// sub-menus such as "Open with" and "New" on WM_INITMENUPOPUP and draws their
// icons on WM_MEASUREITEM and WM_DRAWITEM.
#pragma once
#include "ui/message_filter.h"

#include <windows.h>
#include <shlobj.h>

namespace shell {

// A part of the shell's menu that the program fills itself: a sub-menu and
// the command ids of its entries. A handler told of it would take it for its
// own and fill or draw it (doubled entries, ids the program does not route).
struct OwnSubmenu {
    HMENU menu = nullptr;
    UINT firstId = 1, lastId = 0; // an empty range when first > last
};

// A filter for the menu's owner window that hands those messages (and
// WM_MENUCHAR) to the handler's IContextMenu3::HandleMenuMsg2, or to
// IContextMenu2::HandleMenuMsg when it has only that; empty when it has
// neither. Nothing about `own` is handed on: it stays the window's. The
// filter holds its own reference to the handler.
ui::MessageFilter ShellMenuMessages(IContextMenu* handler, OwnSubmenu own = {});

// Whether a message belongs to the tracked menu rather than to the window
// (WM_DRAWITEM and WM_MEASUREITEM also come from owner-drawn controls).
bool IsMenuMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

// Whether a menu message opens, draws, measures or searches `own`.
bool IsAboutOwnSubmenu(UINT msg, WPARAM wp, LPARAM lp, const OwnSubmenu& own) noexcept;

} // namespace shell
