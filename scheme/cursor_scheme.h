// Assigning a cursor file to a system cursor role: the per-user scheme is
// written and the cursor takes effect at once.
#pragma once
#include <windows.h>
#include <string>

namespace scheme {

// What became of an assignment.
enum class CursorAssignment {
    Applied,    // stored in the scheme and in effect
    NoSuchFile, // the path names no existing file: nothing done
    Unloadable, // the system cannot load the file: nothing stored
};

// Makes `fileName` the cursor of role `role` (0..13, a row of MouseRegistry):
// stores the path in the scheme and applies it, through the cursor seams of
// ui/seams.h. On the NT family a file the system cannot load is refused
// before anything is stored; the caller tells the user.
// Throws ERegistryError when the scheme cannot be written (nothing applied),
// std::out_of_range for a role outside the table.
CursorAssignment SetMouseCursor(int role, const std::wstring& fileName);

} // namespace scheme
