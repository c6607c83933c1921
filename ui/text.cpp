#include "ui/text.h"

#include <windows.h>

namespace ui {
namespace {
std::string Narrow(std::wstring_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(std::string_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}
} // namespace

std::string ToUtf8(std::wstring_view text) { return Narrow(text, CP_UTF8); }
std::wstring FromUtf8(std::string_view text) { return Widen(text, CP_UTF8); }
std::string ToCodePage(std::wstring_view text, unsigned codePage) { return Narrow(text, codePage); }
std::wstring FromCodePage(std::string_view text, unsigned codePage) { return Widen(text, codePage); }

std::wstring LowerCase(std::wstring_view text)
{
    std::wstring out(text);
    if (!out.empty())
        CharLowerBuffW(out.data(), DWORD(out.size()));
    return out;
}

} // namespace ui
