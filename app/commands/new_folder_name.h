// The name a new folder gets: the base name, or the first numbered form of
// it that no existing file or folder of the parent already has.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace commands {

// The numbered form of the base name (texts::NewFolderName): "新しいﾌｫﾙﾀﾞ (n)",
// one blank before the parenthesis.
std::wstring NumberedFolderName(long long n);

// The full path of a new folder under `parent` (which ends with a separator):
// parent + base name, or else parent + the numbered form for n = 2, 3, ...,
// the first one for which `taken` (any existing file or folder) is false.
std::wstring NewFolderPath(std::wstring_view parent, const std::function<bool(const std::wstring&)>& taken);

} // namespace commands
