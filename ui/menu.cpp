#include "ui/menu.h"

#include "ui/seams.h"

namespace ui {

void MenuItem::SetChecked(bool checked) noexcept
{
    if (menu_)
        CheckMenuItem(menu_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItem::Checked() const noexcept
{
    return menu_ && (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MenuItem::SetBitmap(UniqueBitmap bitmap) noexcept
{
    if (menu_) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_BITMAP;
        info.hbmpItem = bitmap.get();
        SetMenuItemInfoW(menu_, id_, FALSE, &info);
    }
    bitmap_ = std::move(bitmap); // the old picture goes once the menu no longer shows it
}

PopupMenu::~PopupMenu() { DetachSubMenus(); }

MenuItem* PopupMenu::Add(std::wstring caption, int tag)
{
    auto item = std::make_unique<MenuItem>(std::move(caption), tag);
    item->menu_ = menu_.get();
    item->id_ = firstId_ + UINT(items_.size());
    AppendMenuW(menu_.get(), MF_STRING, item->id_, item->Caption().c_str());
    items_.push_back(std::move(item));
    return items_.back().get();
}

void PopupMenu::AddSeparator() { AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr); }

PopupMenu* PopupMenu::AddSubMenu(std::wstring caption, std::unique_ptr<PopupMenu> sub)
{
    if (!sub)
        return nullptr;
    AppendMenuW(menu_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub->Handle()), caption.c_str());
    subMenus_.push_back(std::move(sub));
    return subMenus_.back().get();
}

void PopupMenu::EnableSubMenu(const PopupMenu* sub, bool enabled) noexcept
{
    for (int i = 0, n = GetMenuItemCount(menu_.get()); sub && i < n; ++i)
        if (GetSubMenu(menu_.get(), i) == sub->Handle())
            EnableMenuItem(menu_.get(), UINT(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void PopupMenu::DetachSubMenus() noexcept
{
    for (int i = GetMenuItemCount(menu_.get()) - 1; i >= 0; --i)
        if (GetSubMenu(menu_.get(), i))
            RemoveMenu(menu_.get(), UINT(i), MF_BYPOSITION);
}

void PopupMenu::Clear() noexcept
{
    DetachSubMenus();
    while (GetMenuItemCount(menu_.get()) > 0)
        if (!DeleteMenu(menu_.get(), 0, MF_BYPOSITION))
            break;
    items_.clear();
    subMenus_.clear();
}

MenuItem* PopupMenu::FindCommand(UINT id) const noexcept
{
    if (id >= firstId_ && id - firstId_ < items_.size())
        return items_[id - firstId_].get();
    for (const auto& sub : subMenus_)
        if (MenuItem* item = sub->FindCommand(id))
            return item;
    return nullptr;
}

MenuItem* PopupMenu::Popup(HWND owner, int x, int y)
{
    UINT id = 0;
    if (auto& track = CurrentSeams().trackMenu) {
        // The owner must be the foreground window, or the menu does not close
        // when the user clicks elsewhere.
        SetForegroundWindow(owner);
        id = track(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, POINT{x, y}, owner);
        PostMessageW(owner, WM_NULL, 0, 0);
    }
    MenuItem* item = id ? FindCommand(id) : nullptr;
    if (item)
        item->OnClick(item);
    return item;
}

void EnableMenuCommand(HMENU menu, UINT id, bool enabled) noexcept
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

} // namespace ui
