// The shell's commands that the program leaves out of the menus it shows.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace shell {

// The handler's language-independent verb ("delete", "rename", ...) of the
// command at `offset` (command id minus the first id); empty when it gives none.
std::wstring CommandVerb(IContextMenu* handler, UINT offset);

// True for a verb that the shell can carry out only inside a view of its own
// and that this program serves itself: "rename" (F2 renames in place).
bool IsUnservedVerb(const std::wstring& verb) noexcept;

// Takes the commands with an unserved verb out of `menu`, filled by `handler`
// with ids from `first` to `last`; a separator then left at an end of the
// menu or next to another goes too. Sub-menus stay as they are. Answers the
// number of commands taken out.
int RemoveUnservedVerbs(IContextMenu* handler, HMENU menu, UINT first, UINT last);

// Puts the program's own command `id` with `caption` in place of the command
// with `verb` in `menu` (filled by `handler` with ids from `first` to
// `last`), which goes: right after the open command, where the system shows
// its install, wherever the handler put it. Without an open command the
// program's goes where the replaced one stood; without either, just after
// the default command, or first when there is none.
void ReplaceVerb(IContextMenu* handler, HMENU menu, UINT first, UINT last, const wchar_t* verb, UINT id,
                 const wchar_t* caption);

} // namespace shell
