#include "shview/file_texts.h"

#include "ui/text.h"

namespace shview {
namespace {

wchar_t AsciiUpper(wchar_t c) noexcept { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

void AppendTwoDigits(std::wstring& out, int value)
{
    value %= 100;
    if (value < 0)
        value = -value;
    out += wchar_t(L'0' + value / 10);
    out += wchar_t(L'0' + value % 10);
}

} // namespace

std::wstring FileSizeText(std::uint64_t bytes, std::wstring_view unit)
{
    // (2^64 - 1 >> 10) + 1 cannot overflow.
    std::uint64_t kilobytes = (bytes >> 10) + 1;
    std::wstring digits;
    do {
        digits.insert(digits.begin(), wchar_t(L'0' + kilobytes % 10));
        kilobytes /= 10;
    } while (kilobytes != 0);
    std::wstring text;
    if (digits.size() < 8)
        text.assign(8 - digits.size(), L' ');
    text += digits;
    text += unit;
    return text;
}

std::wstring FileDateText(int year, int month, int day, int hour, int minute, std::wstring_view dateSeparator,
                          std::wstring_view timeSeparator)
{
    std::wstring text;
    text.reserve(14);
    AppendTwoDigits(text, year);
    text += dateSeparator;
    AppendTwoDigits(text, month);
    text += dateSeparator;
    AppendTwoDigits(text, day);
    text += L' ';
    AppendTwoDigits(text, hour);
    text += timeSeparator;
    AppendTwoDigits(text, minute);
    return text;
}

bool MaskShows(const std::vector<std::wstring>& mask, std::wstring_view name, bool folder)
{
    if (mask.empty() || folder)
        return true;
    std::wstring_view ext = ui::FileExtension(name);
    if (ext.empty())
        return false;
    for (const std::wstring& entry : mask)
        if (SameIgnoringAsciiCase(ext, entry))
            return true;
    return false;
}

} // namespace shview
