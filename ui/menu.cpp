#include "ui/menu.h"

#include "ui/seams.h"

namespace ui {

MenuItem* PopupMenu::Add(std::wstring caption, int tag)
{
    auto item = std::make_unique<MenuItem>(std::move(caption), tag);
    AppendMenuW(menu_.get(), MF_STRING, firstId_ + UINT(items_.size()), item->Caption().c_str());
    items_.push_back(std::move(item));
    return items_.back().get();
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
    if (id < firstId_ || id - firstId_ >= items_.size())
        return nullptr;
    MenuItem* item = items_[id - firstId_].get();
    item->OnClick(item);
    return item;
}

void EnableMenuCommand(HMENU menu, UINT id, bool enabled) noexcept
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

} // namespace ui
