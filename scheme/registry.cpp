#include "scheme/registry.h"

#include "res/texts.h"
#include "ui/handles.h"
#include "ui/text.h"

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

    if (!WriteRegistryText(key.get(), valueName.c_str(), value))
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

std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* valueName)
{
    const DWORD kinds = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        if (RegGetValueW(key, nullptr, valueName, kinds, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        LSTATUS status = RegGetValueW(key, nullptr, valueName, kinds, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA)
            continue; // grew in between
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        text.resize(ui::UpToNull(text).size());
        return text;
    }
    return std::nullopt;
}

bool WriteRegistryText(HKEY key, const wchar_t* valueName, const std::wstring& value, DWORD type)
{
    // The stored data always carries its terminating zero.
    constexpr std::size_t kMaxChars = std::numeric_limits<DWORD>::max() / sizeof(wchar_t) - 1;
    if (value.size() > kMaxChars)
        return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, valueName, 0, type, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

} // namespace scheme
