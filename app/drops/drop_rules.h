// Window-free rules of files dropped on the main window: where the dropped
// files lie, and the source list the shell's file operation takes.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace drop {

// The folder of a path: everything before its last "\" or ":", the "\"
// dropped unless what remains is a root ("C:\", "\"). A name without either
// has no folder (empty).
std::wstring FolderPart(std::wstring_view path);

// True when the dropped files already lie in `target`: the folder of the
// first one equals it exactly. No files: false.
bool AlreadyIn(const std::vector<std::wstring>& files, std::wstring_view target);

// True when `target` is one of the dropped items or lies inside one of them
// (letter case ignored): a folder cannot go into itself.
bool TargetInsideSource(const std::vector<std::wstring>& files, std::wstring_view target);

// True for the root of a drive or a share ("C:\", "C:", "\", "\\srv\share"):
// a whole volume is nothing to move or copy as one item.
bool IsRootPath(std::wstring_view path);

// Every name followed by a zero, and one more zero at the end; empty names
// are left out, since they would end the list early.
std::wstring DoubleNullList(const std::vector<std::wstring>& names);

} // namespace drop
