// A named cursor scheme as the system stores it: one text holding every
// role's file, in the role table's order, separated by commas (expandable
// text: "%SystemRoot%\Cursors\aero_arrow.cur,..."). Window-free.
#pragma once
#include "scheme/mouse_registry.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace scheme {

// Every role's file in table order; "" keeps the system's own cursor.
using SchemePaths = std::array<std::wstring, kMouseRoleCount>;

// The roles of a scheme text, read as the system's own settings read it:
// the text ends at its first zero; it is cut at every comma; the entries past
// the last role are ignored and the roles past the last entry are empty;
// blanks around an entry and quotes in it are dropped (no file name holds a
// quote); an entry that still holds a control character names no file and
// leaves its role empty. Environment strings stay as they are.
SchemePaths ReadSchemeText(std::wstring_view text);

// Whether `path` can stand in a scheme text and be read back the same: no
// comma, quote or control character, no blank at either end. "" fits.
bool FitsSchemeText(std::wstring_view path) noexcept;

// The scheme text of `paths`; nothing when one of them does not fit (it
// would move every role after it, or read back as another file).
std::optional<std::wstring> WriteSchemeText(const SchemePaths& paths);

} // namespace scheme
