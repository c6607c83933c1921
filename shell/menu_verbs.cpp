#include "shell/menu_verbs.h"

namespace shell {

namespace {

bool IsSeparator(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, UINT(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

// Separators at either end of the menu, and the second of two in a row.
void TidySeparators(HMENU menu)
{
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        const int count = GetMenuItemCount(menu);
        if (i >= count || !IsSeparator(menu, i))
            continue;
        if (i == 0 || i == count - 1 || IsSeparator(menu, i - 1))
            DeleteMenu(menu, UINT(i), MF_BYPOSITION);
    }
}

// The position of the first command of `menu` whose verb is `verb`; -1 for none.
int FindVerb(IContextMenu* handler, HMENU menu, UINT first, UINT last, const wchar_t* verb)
{
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info) || (info.fType & MFT_SEPARATOR) || info.hSubMenu ||
            info.wID < first || info.wID > last)
            continue;
        if (lstrcmpiW(CommandVerb(handler, info.wID - first).c_str(), verb) == 0)
            return i;
    }
    return -1;
}

} // namespace

std::wstring CommandVerb(IContextMenu* handler, UINT offset)
{
    if (!handler)
        return {};
    wchar_t wide[64] = L"";
    if (SUCCEEDED(handler->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(wide), 64))) {
        wide[63] = L'\0';
        if (wide[0])
            return wide;
    }
    // Some handlers answer only the narrow question.
    char narrow[64] = "";
    if (SUCCEEDED(handler->GetCommandString(offset, GCS_VERBA, nullptr, narrow, 64))) {
        narrow[63] = '\0';
        std::wstring verb;
        for (const char* c = narrow; *c; ++c)
            verb += wchar_t(static_cast<unsigned char>(*c));
        return verb;
    }
    return {};
}

bool IsUnservedVerb(const std::wstring& verb) noexcept
{
    return !verb.empty() && lstrcmpiW(verb.c_str(), L"rename") == 0;
}

int RemoveUnservedVerbs(IContextMenu* handler, HMENU menu, UINT first, UINT last)
{
    if (!handler || !menu)
        return 0;
    int removed = 0;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info) || (info.fType & MFT_SEPARATOR) || info.hSubMenu)
            continue;
        if (info.wID < first || info.wID > last)
            continue;
        if (IsUnservedVerb(CommandVerb(handler, info.wID - first))) {
            DeleteMenu(menu, UINT(i), MF_BYPOSITION);
            ++removed;
        }
    }
    if (removed > 0)
        TidySeparators(menu);
    return removed;
}

void ReplaceVerb(IContextMenu* handler, HMENU menu, UINT first, UINT last, const wchar_t* verb, UINT id,
                 const wchar_t* caption)
{
    if (!menu)
        return;
    int position = handler ? FindVerb(handler, menu, first, last, verb) : -1;
    if (position >= 0)
        DeleteMenu(menu, UINT(position), MF_BYPOSITION);
    if (const int open = handler ? FindVerb(handler, menu, first, last, L"open") : -1; open >= 0) {
        position = open + 1;
    } else if (position < 0) {
        const UINT byDefault = GetMenuDefaultItem(menu, TRUE, 0);
        position = byDefault == UINT(-1) ? 0 : int(byDefault) + 1;
    }
    InsertMenuW(menu, UINT(position), MF_BYPOSITION | MF_STRING, id, caption);
}

} // namespace shell
