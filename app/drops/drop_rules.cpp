#include "app/drops/drop_rules.h"

namespace drop {

std::wstring FolderPart(std::wstring_view path)
{
    const auto cut = path.find_last_of(L"\\:");
    if (cut == std::wstring_view::npos)
        return {};
    if (path[cut] == L':')
        return std::wstring(path.substr(0, cut + 1));
    std::wstring_view folder = path.substr(0, cut);
    // "C:\x" -> "C:\", "\x" -> "\": the separator is what makes the root.
    if (folder.empty() || folder.back() == L':' || folder.back() == L'\\')
        return std::wstring(path.substr(0, cut + 1));
    return std::wstring(folder);
}

bool AlreadyIn(const std::vector<std::wstring>& files, std::wstring_view target)
{
    return !files.empty() && FolderPart(files.front()) == target;
}

namespace {

wchar_t Fold(wchar_t c) noexcept { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

bool SameText(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

} // namespace

bool TargetInsideSource(const std::vector<std::wstring>& files, std::wstring_view target)
{
    while (!target.empty() && target.back() == L'\\' && target.size() > 3)
        target.remove_suffix(1);
    for (std::wstring_view file : files) {
        while (file.size() > 3 && file.back() == L'\\')
            file.remove_suffix(1);
        if (file.empty())
            continue;
        if (SameText(file, target))
            return true;
        if (target.size() > file.size() && SameText(target.substr(0, file.size()), file) &&
            (target[file.size()] == L'\\' || file.back() == L'\\'))
            return true;
    }
    return false;
}

bool IsRootPath(std::wstring_view path)
{
    if (path == L"\\")
        return true;
    if (!path.empty() && path.back() == L'\\')
        path.remove_suffix(1); // "C:\" -> "C:", "\\srv\share\" -> "\\srv\share"
    if (path.size() == 2 && path[1] == L':')
        return true;
    // "\\srv\share": a server and a share name, nothing below them.
    if (path.size() > 2 && path.substr(0, 2) == L"\\\\") {
        const auto cut = path.find(L'\\', 2);
        return cut == std::wstring_view::npos || path.find(L'\\', cut + 1) == std::wstring_view::npos;
    }
    return false;
}

std::wstring DoubleNullList(const std::vector<std::wstring>& names)
{
    std::wstring list;
    for (const auto& name : names) {
        if (name.empty())
            continue;
        list += name;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

} // namespace drop
