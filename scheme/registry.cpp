#include "scheme/registry.h"

#include "res/texts.h"
#include "ui/handles.h"

#include <cwchar>
#include <limits>

namespace scheme {
namespace {
// Longest text GetRegistryVal hands back.
constexpr std::size_t ReadLimitChars = 256;
} // namespace

void SetRegistryVal(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                    const std::wstring& value)
{
    HKEY opened = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &opened, &disposition) != ERROR_SUCCESS)
        throw ERegistryError(texts::RegCreateKeyFailed);
    ui::UniqueKey key(opened);

    // The stored data always carries its terminating zero.
    constexpr std::size_t maxChars = std::numeric_limits<DWORD>::max() / sizeof(wchar_t) - 1;
    if (value.size() > maxChars)
        throw ERegistryError(texts::RegSetValueFailed);
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()), bytes) != ERROR_SUCCESS)
        throw ERegistryError(texts::RegSetValueFailed);
}

std::wstring GetRegistryVal(HKEY root, const std::wstring& subKey, const std::wstring& valueName)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return {};
    ui::UniqueKey key(opened);

    // One character more than the limit: room for the terminator, which the
    // system may add to data stored without one (Wine asks for it even when
    // the text alone would fit). Zero-filled, so unterminated data ends too.
    wchar_t buffer[ReadLimitChars + 1] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return {};
    const std::size_t length = wcsnlen(buffer, ReadLimitChars + 1);
    if (length > ReadLimitChars)
        return {};
    return std::wstring(buffer, length);
}

} // namespace scheme
