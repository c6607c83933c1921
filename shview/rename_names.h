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

} // namespace shview
