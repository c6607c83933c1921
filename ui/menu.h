// Pop-up menus built by the program, and the menu bar from the resources.
#pragma once
#include "ui/component.h"
#include "ui/handles.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class MenuItem : public Component {
public:
    MenuItem(std::wstring caption, int tag) : caption_(std::move(caption)), tag_(tag) {}
    const std::wstring& Caption() const noexcept { return caption_; }
    int Tag() const noexcept { return tag_; }
    Event<MenuItem*> OnClick;

private:
    std::wstring caption_;
    int tag_;
};

// A pop-up menu that owns its items; item i has command id firstId + i.
class PopupMenu : public Component {
public:
    explicit PopupMenu(UINT firstId = 1) : firstId_(firstId) {}
    MenuItem* Add(std::wstring caption, int tag);
    std::size_t Count() const noexcept { return items_.size(); }
    MenuItem* Item(std::size_t i) const noexcept { return i < items_.size() ? items_[i].get() : nullptr; }
    HMENU Handle() const noexcept { return menu_.get(); }

    // Shows the menu at a screen point, owned by `owner`; returns when it has
    // closed, after the chosen item's OnClick (if any) has run. Answers the
    // chosen item, or nullptr when the menu was dismissed. The menu is
    // tracked through the trackMenu seam (ui/seams.h).
    MenuItem* Popup(HWND owner, int x, int y);

private:
    UINT firstId_;
    UniqueMenu menu_{CreatePopupMenu()};
    std::vector<std::unique_ptr<MenuItem>> items_;
};

// Enables or greys a command of a menu (searched through its sub-menus).
void EnableMenuCommand(HMENU menu, UINT id, bool enabled) noexcept;

} // namespace ui
