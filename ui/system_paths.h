// Paths of the system's own folders, read at whatever length they have.
#pragma once
#include <string>
#include <string_view>

namespace ui {

// The system folder (GetSystemDirectoryW), without a trailing backslash;
// empty when the system does not tell it.
std::wstring SystemFolder();

// The current folder (GetCurrentDirectoryW) at whatever length it has; empty
// when the system does not tell it.
std::wstring CurrentFolder();

// The full path of a program that ships in the system folder. Starting it by
// this path, never by its bare name, keeps a file of the same name in the
// program's own folder or the current folder from running in its place.
// Empty when the system folder is unknown.
std::wstring SystemProgram(std::wstring_view fileName);

} // namespace ui
