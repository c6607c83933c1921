// Conversions between the program's UTF-16 text and byte encodings.
#pragma once
#include <string>
#include <string_view>

namespace ui {

constexpr unsigned kCodePageJapanese = 932;

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
// Text in a given code page (932 for the Shift-JIS form of a caption).
std::string ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view text, unsigned codePage);

// Locale-aware lower case, as the system's user interface does it.
std::wstring LowerCase(std::wstring_view text);

// Extension of a file name or path: from the last "." that has no "\" or
// ":" after it, dot included; empty when there is none. A view into `name`.
constexpr std::wstring_view FileExtension(std::wstring_view name) noexcept
{
    const std::size_t i = name.find_last_of(L".\\:");
    if (i == std::wstring_view::npos || name[i] != L'.')
        return {};
    return name.substr(i);
}

// The text before the first NUL: a buffer the system filled, or a value
// that carries its terminator in its length. A view into `text`.
constexpr std::wstring_view UpToNull(std::wstring_view text) noexcept
{
    return text.substr(0, text.find(L'\0'));
}

// The root (C:\) of a path on a drive letter, whichever slash follows the
// colon, also behind the \\?\ prefix; empty for a share (\\server\share),
// a device or a relative path.
inline std::wstring DriveRoot(std::wstring_view path)
{
    if (path.starts_with(L"\\\\?\\"))
        path.remove_prefix(4);
    if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/'))
        return {};
    const wchar_t letter = path[0];
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z')))
        return {};
    return {path[0], L':', L'\\'};
}

} // namespace ui
