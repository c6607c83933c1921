// The names under which a renamed item may be found again when the shell
// renamed it without handing back its new identifier.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace shview {

// Names to parse in the item's folder, most likely first. `typed` is what the
// user typed, `shownName` the item's name as it was shown (in the folder),
// `parsingName` its old parsing name. Where the shown name lacked the
// extension (the shell hides the extensions of registered types) the shell
// keeps the extension on the new name, so the typed name with the old
// extension comes first, the typed name as it stands after it.
std::vector<std::wstring> RenamedNames(std::wstring_view typed, std::wstring_view shownName,
                                       std::wstring_view parsingName);

// The item's whole new name in its folder for an edit that began from
// `shownName` and ended with `typed`: the first of RenamedNames, which is
// handed to the shell as a name in the folder for parsing, so that the shell
// adds no extension of its own (it would add a hidden one again to a folder
// named "x.cur", or to a name typed with its extension). Empty when nothing
// is to be renamed: nothing typed, or the text left as it was.
std::wstring NameToSet(std::wstring_view typed, std::wstring_view shownName, std::wstring_view parsingName);

} // namespace shview
