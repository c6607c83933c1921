// Registry string values: the writer behind the cursor scheme and the window
// placement, and its reader.
#pragma once
#include "ui/exception.h"

#include <windows.h>
#include <optional>
#include <string>

namespace scheme {

// The scheme (or another value) could not be written.
class ERegistryError : public ui::Exception {
public:
    using ui::Exception::Exception;
};

// Creates or opens `root`\`subKey` for writing and stores `value` as REG_SZ,
// terminator included. Throws ERegistryError when the key cannot be created
// or the value cannot be set.
void SetRegistryVal(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                    const std::wstring& value);

// The text of one value: up to 256 characters are returned whole (stored with
// or without a terminator); "" when the key or value is missing or the text
// is longer. Never throws a registry failure.
std::wstring GetRegistryVal(HKEY root, const std::wstring& subKey, const std::wstring& valueName);

// One REG_SZ or REG_EXPAND_SZ value of an open key as stored (unexpanded),
// whatever its length, up to its first zero; nothing when it is missing or
// not text.
std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* valueName);

// Stores `value` in an open key as `type` (REG_SZ or REG_EXPAND_SZ),
// terminator included; false when it cannot.
bool WriteRegistryText(HKEY key, const wchar_t* valueName, const std::wstring& value, DWORD type = REG_SZ);

} // namespace scheme
