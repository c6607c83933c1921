// The length of path the shell's file operations take.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace shview {

// SHFileOperationW refuses a path of MAX_PATH (260) characters or more, the
// terminator's place counted, however long the paths the system allows
// elsewhere: the longest it takes.
inline constexpr std::size_t kShellOperationPathLimit = 259;

// The first of `paths` too long for the shell's file operations; none when
// every one fits.
const std::wstring* FirstTooLongForShell(const std::vector<std::wstring>& paths) noexcept;

// The box's text that names the file which cannot be deleted for its length.
std::wstring TooLongToDeleteText(const std::wstring& path);

// Whether a folder's path leaves no room, under MAX_PATH, for the pattern
// that reads its entries ("\*" and the terminator): where the system does
// not take longer paths, such a folder cannot be read.
bool TooLongToRead(const std::wstring& folder) noexcept;
// The box's text that names the folder which cannot be read for its length.
std::wstring TooLongToReadText(const std::wstring& folder);

} // namespace shview
