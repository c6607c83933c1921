#include "dialogs/bounds_text.h"

#include <climits>

namespace dialogs {
namespace {

// A whole decimal number with an optional sign; nothing else (no blanks).
bool ParseInt(std::wstring_view text, int& out) noexcept
{
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

int ReadIntField(std::wstring_view text, std::size_t& position, wchar_t separator, int fallback)
{
    if (text.empty())
        return fallback;
    // Positions count from 1; anything before that reads from the start.
    std::size_t at = position == 0 ? 0 : position - 1;
    std::size_t begin = at;
    while (at < text.size() && text[at] != separator)
        ++at;
    std::wstring_view field = begin < text.size() ? text.substr(begin, at - begin) : std::wstring_view{};
    if (at < text.size())
        ++at; // past the separator
    position = at + 1;
    int value = 0;
    return ParseInt(field, value) ? value : fallback;
}

Bounds ReadBounds(std::wstring_view text, const Bounds& current)
{
    std::size_t position = 1;
    Bounds b;
    b.left = ReadIntField(text, position, L',', current.left);
    b.top = ReadIntField(text, position, L',', current.top);
    b.width = ReadIntField(text, position, L',', current.width);
    b.height = ReadIntField(text, position, L',', current.height);
    return b;
}

std::wstring FormatBounds(const Bounds& b)
{
    return std::to_wstring(b.left) + L',' + std::to_wstring(b.top) + L',' + std::to_wstring(b.width) + L',' +
           std::to_wstring(b.height);
}

} // namespace dialogs
