// Pop-up menus built by the program, and the menu bar from the resources.
#pragma once
#include "ui/component.h"
#include "ui/handles.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class PopupMenu;

class MenuItem : public Component {
public:
    MenuItem(std::wstring caption, int tag) : caption_(std::move(caption)), tag_(tag) {}
    const std::wstring& Caption() const noexcept { return caption_; }
    int Tag() const noexcept { return tag_; }
    // The command id the item has in its menu; 0 before it is added to one.
    UINT Id() const noexcept { return id_; }
    Event<MenuItem*> OnClick;

    // The check mark in front of the caption.
    void SetChecked(bool checked) noexcept;
    bool Checked() const noexcept;
    // The picture at the item's left: a 32-bit DIB section with
    // premultiplied alpha, owned by the item from here on (none removes it).
    // The menu shows the new one before the old one is freed.
    void SetBitmap(UniqueBitmap bitmap) noexcept;
    HBITMAP Bitmap() const noexcept { return bitmap_.get(); }

private:
    friend class PopupMenu;
    std::wstring caption_;
    int tag_;
    HMENU menu_ = nullptr;
    UINT id_ = 0;
    UniqueBitmap bitmap_;
};

// A pop-up menu that owns its items and sub-menus; item i of Add has command
// id firstId + i.
class PopupMenu : public Component {
public:
    explicit PopupMenu(UINT firstId = 1) : firstId_(firstId) {}
    ~PopupMenu() override;
    MenuItem* Add(std::wstring caption, int tag);
    void AddSeparator();
    // Adds an item that opens `sub`, a menu of its own command ids, which
    // this menu owns from here on. Answers the sub-menu.
    PopupMenu* AddSubMenu(std::wstring caption, std::unique_ptr<PopupMenu> sub);
    // Greys or enables the item that opens `sub`.
    void EnableSubMenu(const PopupMenu* sub, bool enabled) noexcept;
    // Removes every item, separator and sub-menu; ids start at firstId again.
    void Clear() noexcept;

    // The items of Add, in order (separators and sub-menus not counted).
    std::size_t Count() const noexcept { return items_.size(); }
    MenuItem* Item(std::size_t i) const noexcept { return i < items_.size() ? items_[i].get() : nullptr; }
    HMENU Handle() const noexcept { return menu_.get(); }
    // The item of this menu or of one of its sub-menus with command id `id`.
    MenuItem* FindCommand(UINT id) const noexcept;

    // Shows the menu at a screen point, owned by `owner`; returns when it has
    // closed, after the chosen item's OnClick (if any) has run. Answers the
    // chosen item, or nullptr when the menu was dismissed. The menu is
    // tracked through the trackMenu seam (ui/seams.h).
    MenuItem* Popup(HWND owner, int x, int y);

private:
    // Takes a sub-menu's handle out of this menu, so that each menu frees
    // only its own.
    void DetachSubMenus() noexcept;

    UINT firstId_;
    UniqueMenu menu_{CreatePopupMenu()};
    std::vector<std::unique_ptr<MenuItem>> items_;
    std::vector<std::unique_ptr<PopupMenu>> subMenus_;
};

// Enables or greys a command of a menu (searched through its sub-menus).
void EnableMenuCommand(HMENU menu, UINT id, bool enabled) noexcept;

} // namespace ui
