// Finding the shell's menu items by their caption, as a Japanese shell writes
// them: the access key sits at a fixed byte of the Shift-JIS caption.
#include "shell/ContextMenuEx.h"

#include "ui/text.h"

namespace {

std::wstring MenuCaption(HMENU menu, int index)
{
    int length = GetMenuStringW(menu, static_cast<UINT>(index), nullptr, 0, MF_BYPOSITION);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    length = GetMenuStringW(menu, static_cast<UINT>(index), text.data(), length + 1, MF_BYPOSITION);
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

// Greyed, disabled and separator items are not offered to the user. The
// flags are read from the item itself: GetMenuState packs a sub-menu's item
// count into its high byte, where a count of 8 to 15 reads as MF_SEPARATOR.
bool Usable(HMENU menu, int index)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info))
        return false;
    if (info.fType & MFT_SEPARATOR)
        return false;
    return (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
}

} // namespace

int FindMenuItemByText(HMENU menu, const std::wstring& text, int position)
{
    if (!menu || text.empty())
        return -1;
    const std::string wanted = ui::ToCodePage(text, ui::kCodePageJapanese);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (!Usable(menu, i))
            continue;
        const std::string caption = ui::ToCodePage(MenuCaption(menu, i), ui::kCodePageJapanese);
        const std::size_t at = caption.find(wanted);
        if (at != std::string::npos && static_cast<int>(at) + 1 == position)
            return i + 1;
    }
    return -1;
}
