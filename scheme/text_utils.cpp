#include "scheme/text_utils.h"

#include <climits>

namespace scheme {

void AddBackslash(std::wstring& path)
{
    // In UTF-16 a trailing L'\\' is always a separator of its own; no
    // double-byte character can end in it.
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
}

int ParseVersionBuild(std::wstring_view text) noexcept
{
    for (int dots = 0; dots < 3; ++dots) {
        std::size_t dot = text.find(L'.');
        if (dot == std::wstring_view::npos)
            return -1;
        text.remove_prefix(dot + 1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return -1;
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return -1;
        value = value * 10 + (c - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return -1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return -1;
    return static_cast<int>(value);
}

std::wstring FillPlaceholder(std::wstring_view pattern, std::wstring_view argument)
{
    std::wstring out(pattern);
    std::size_t at = out.find(L"%s");
    if (at != std::wstring::npos)
        out.replace(at, 2, argument);
    return out;
}

} // namespace scheme
