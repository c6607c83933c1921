// What a test reads of a menu: its items' texts, and the command of the item
// a user would pick by its text.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

inline std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, UINT(position), text, 256, MF_BYPOSITION);
    return text;
}

inline std::vector<std::wstring> MenuTexts(HMENU menu)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        texts.push_back(MenuText(menu, i));
    return texts;
}

// The command of `menu`'s item whose text is `text` (not of its sub-menus);
// 0 when there is none.
inline UINT MenuCommand(HMENU menu, const std::wstring& text)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (!GetSubMenu(menu, i) && MenuText(menu, i) == text)
            return GetMenuItemID(menu, i);
    return 0;
}

} // namespace testsupport
