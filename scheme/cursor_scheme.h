// Assigning a cursor file to a system cursor role: the per-user scheme is
// written and the cursor takes effect at once.
#pragma once
#include "scheme/mouse_registry.h"

#include <windows.h>
#include <array>
#include <functional>
#include <string>

namespace scheme {

// What became of an assignment.
enum class CursorAssignment {
    Applied,             // stored in the scheme and in effect
    StoredForNextSignIn, // stored, but neither replacing the cursor nor
                         // reloading the scheme worked: in effect at the
                         // next sign-in
    NoSuchFile,          // the path names no existing file: nothing done
    Unloadable,          // refused by the check, or the system cannot load it: nothing stored
};

// Answers whether the file at a path may be handed to the system's own
// cursor loader. The scheme cannot read cursor files itself; the caller
// passes its reader's judgement (the main window: anicur::IsWholeCursorFile).
using CursorFileCheck = std::function<bool(const std::wstring& path)>;

// Makes `fileName` the cursor of role `role` (0..16, a row of MouseRegistry):
// stores the path in the scheme and applies it, through the cursor seams of
// ui/seams.h: on the NT family by replacing the role's cursor and, when the
// system refuses that, by reloading the whole scheme once; on the 9x family
// by the reload alone. A file that `readable` refuses (or no check at all) is refused
// before the system's loader sees it and before anything is stored, on either
// platform family; so is, on the NT family, a file the system cannot load.
// The caller tells the user.
// Throws ERegistryError when the scheme cannot be written (nothing applied),
// std::out_of_range for a role outside the table.
CursorAssignment SetMouseCursor(int role, const std::wstring& fileName, const CursorFileCheck& readable);

// Gives role `role` back to the system's own cursor: empties its value in the
// scheme and has the system reload the user's cursors (SPI_SETCURSORS through
// the seams of ui/seams.h). Throws ERegistryError when the value cannot be
// written (nothing reloaded), std::out_of_range for a role outside the table.
void RestoreMouseCursor(int role);

// Every role's value in the scheme as stored, in table order; "" for a value
// that is missing, empty or not text. One opening of the key for all of them.
std::array<std::wstring, kMouseRoleCount> ReadMouseCursors();

// Whether `path` names an existing file (not a folder).
bool IsExistingFile(const std::wstring& path);

// A scheme value as the system uses it: environment strings expanded
// ("%SystemRoot%\Cursors\x.cur"); the text itself when it cannot be.
std::wstring ExpandCursorPath(const std::wstring& value);

} // namespace scheme
