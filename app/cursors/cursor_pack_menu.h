// The context menu's install of a cursor pack for this user: which files it
// is offered for, and the install with its box.
#pragma once
#include "scheme/cursor_pack_install.h"

#include <windows.h>

#include <string>

// Whether the menu offers the program's install for the item at `path`.
bool OffersPackInstall(const std::wstring& path);

// Installs the pack whose setup file is `path` and applies its scheme as a
// named scheme of the user's; the error box (owned by `owner`) says what
// kept it out.
void InstallPackFromMenu(HWND owner, const std::wstring& path);

// The box's text for an install that did not go through.
std::wstring PackInstallMessage(const scheme::PackInstallResult& result, const std::wstring& path);
