// The file-system path of an item, at whatever length it has.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace idlist {

// The path of an item of the file system, deeper than MAX_PATH as well
// (SHGetPathFromIDListW stops there, which made a deep folder look like a
// virtual one). False, with an empty path, for an item that has no path:
// the desktop's own virtual folders, a printer, a null list.
bool IDListFileSystemPath(PCIDLIST_ABSOLUTE absolute, std::wstring& path);

} // namespace idlist
