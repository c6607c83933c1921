// Small text helpers of the scheme and the system utilities.
#pragma once
#include <string>
#include <string_view>

namespace scheme {

// Makes a folder path end in a separator: "C:\temp" -> "C:\temp\", "C:\"
// stays, "" -> "\".
void AddBackslash(std::wstring& path);

// The build number of a version text such as "1.0.0.34": what follows the
// third dot, which must be a whole decimal integer; -1 otherwise.
int ParseVersionBuild(std::wstring_view versionText) noexcept;

// `pattern` with its first "%s" replaced by `argument` (taken literally).
std::wstring FillPlaceholder(std::wstring_view pattern, std::wstring_view argument);

} // namespace scheme
