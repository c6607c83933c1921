// Conversions between the program's UTF-16 text and byte encodings.
#pragma once
#include <string>
#include <string_view>

namespace ui {

constexpr unsigned CodePageJapanese = 932;

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
// Text in a given code page (932 for the Shift-JIS form of a caption).
std::string ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view text, unsigned codePage);

// Locale-aware lower case, as the system's user interface does it.
std::wstring LowerCase(std::wstring_view text);

// Extension of a file name: from the last "." that has no "\" or ":" after
// it, dot included; empty when there is none.
std::wstring ExtractFileExt(std::wstring_view name);

} // namespace ui
