#include "shview/rename_names.h"

#include "shview/file_texts.h"
#include "ui/text.h"

namespace shview {
namespace {

wchar_t AsciiUpper(wchar_t c) noexcept { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

bool EndsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view tail) noexcept
{
    if (tail.size() > text.size())
        return false;
    text.remove_prefix(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (AsciiUpper(text[i]) != AsciiUpper(tail[i]))
            return false;
    return true;
}

} // namespace

std::vector<std::wstring> RenamedNames(std::wstring_view typed, std::wstring_view shownName,
                                       std::wstring_view parsingName)
{
    std::vector<std::wstring> names;
    if (typed.empty())
        return names;
    std::wstring_view extension = ui::FileExtension(parsingName);
    // A lone "." is no extension the shell would have hidden.
    bool hidden = extension.size() > 1 && !EndsWithIgnoringAsciiCase(shownName, extension);
    if (hidden)
        names.push_back(std::wstring(typed) + std::wstring(extension));
    names.emplace_back(typed);
    return names;
}

std::wstring NameToSet(std::wstring_view typed, std::wstring_view shownName, std::wstring_view parsingName)
{
    if (typed.empty() || typed == shownName)
        return {};
    return RenamedNames(typed, shownName, parsingName).front();
}

} // namespace shview
