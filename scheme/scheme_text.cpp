#include "scheme/scheme_text.h"

namespace scheme {
namespace {

// What the system trims around an entry: the ASCII blanks.
constexpr bool IsBlank(wchar_t c) noexcept
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

constexpr bool IsControl(wchar_t c) noexcept { return c < 0x20 || c == 0x7F; }

std::wstring_view Trimmed(std::wstring_view entry) noexcept
{
    while (!entry.empty() && IsBlank(entry.front()))
        entry.remove_prefix(1);
    while (!entry.empty() && IsBlank(entry.back()))
        entry.remove_suffix(1);
    return entry;
}

// One entry's file: blanks and quotes gone, or "" when what is left can be
// no file's name.
std::wstring EntryPath(std::wstring_view entry)
{
    std::wstring unquoted;
    unquoted.reserve(entry.size());
    for (wchar_t c : entry)
        if (c != L'"')
            unquoted += c;
    std::wstring path(Trimmed(unquoted));
    for (wchar_t c : path)
        if (IsControl(c))
            return {};
    return path;
}

} // namespace

// The table's order is the order of the text.
static_assert(kMouseRoleCount == 17);
static_assert(std::wstring_view(MouseRegistry[13].ValueName) == L"UpArrow");
static_assert(std::wstring_view(MouseRegistry[14].ValueName) == L"Hand");
static_assert(std::wstring_view(MouseRegistry[16].ValueName) == L"Person");

SchemePaths ReadSchemeText(std::wstring_view text)
{
    if (const std::size_t zero = text.find(L'\0'); zero != std::wstring_view::npos)
        text = text.substr(0, zero);
    SchemePaths paths;
    std::size_t role = 0;
    while (role < paths.size()) {
        const std::size_t comma = text.find(L',');
        paths[role++] = EntryPath(text.substr(0, comma));
        if (comma == std::wstring_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return paths;
}

bool FitsSchemeText(std::wstring_view path) noexcept
{
    if (!path.empty() && (IsBlank(path.front()) || IsBlank(path.back())))
        return false;
    for (wchar_t c : path)
        if (c == L',' || c == L'"' || IsControl(c))
            return false;
    return true;
}

std::optional<std::wstring> WriteSchemeText(const SchemePaths& paths)
{
    std::wstring text;
    for (std::size_t role = 0; role < paths.size(); ++role) {
        if (!FitsSchemeText(paths[role]))
            return std::nullopt;
        if (role > 0)
            text += L',';
        text += paths[role];
    }
    return text;
}

} // namespace scheme
