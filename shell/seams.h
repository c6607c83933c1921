// The shell components reach the user and the system through the seams of
// ui/seams.h (a modal menu, a message box, the user's SendTo folder, the
// modal drag loop); these are their names here.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "ui/handles.h"
#include "ui/seams.h"

namespace shell {

using ui::CurrentSeams;
using ui::DoDragDropFn;
using ui::MessageBoxFn;
using ui::ScopedSeam;
using ui::SendToFolderFn;
using ui::TrackMenuFn;

// Binds the folder named by an absolute identifier list (the empty list is
// the desktop itself); none on failure.
ui::ComPtr<IShellFolder> BindFolder(PCIDLIST_ABSOLUTE absolute) noexcept;

} // namespace shell
