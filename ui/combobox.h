// Thin wrapper of the system's combo box.
//
// A box whose entries it draws itself (CBS_OWNERDRAWFIXED) gets the parent's
// WM_DRAWITEM for each of its entries in DrawItem, whatever the parent is; an
// owner-drawn box without CBS_HASSTRINGS keeps no texts, only each entry's
// data. A selection change made by the user (CBN_SELCHANGE) reaches Change,
// which raises OnChange; selections made through SetCurrent raise nothing.
#pragma once
#include "ui/control.h"
#include "ui/exception.h"

#include <string>

namespace ui {

class ComboBox : public Control {
public:
    bool Create(HWND parent, DWORD style, int id = 0)
    {
        if (!CreateControl(WC_COMBOBOXW, style | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, 0, parent, id))
            return false;
        if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))
            SetWindowSubclass(parent, &ComboBox::OwnerDrawParentProc, kOwnerDrawSubclass, 0);
        return true;
    }
    int Add(const std::wstring& text, LPARAM data = 0) noexcept
    {
        int i = int(SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
        if (i >= 0)
            SendMessageW(Handle(), CB_SETITEMDATA, i, data);
        return i;
    }
    // Inserts an entry of an owner-drawn box without texts at `index` (-1: at
    // the end); `data` is all it holds. Its position, or -1.
    int InsertData(int index, LPARAM data) noexcept
    {
        LRESULT i = SendMessageW(Handle(), CB_INSERTSTRING, WPARAM(index), data);
        return i < 0 ? -1 : int(i);
    }
    // Removes the entry at `index`; false if there is none.
    bool Delete(int index) noexcept
    {
        return index >= 0 && SendMessageW(Handle(), CB_DELETESTRING, WPARAM(index), 0) != CB_ERR;
    }
    int Count() const noexcept { return int(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }
    int Current() const noexcept { return int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }
    void SetCurrent(int i) noexcept { SendMessageW(Handle(), CB_SETCURSEL, i, 0); }
    LPARAM Data(int i) const noexcept { return SendMessageW(Handle(), CB_GETITEMDATA, i, 0); }
    void Clear() noexcept { SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }

    // Height of the entries in the list (index 0) or of the selection field (-1).
    int ItemHeight(int index = 0) const noexcept
    {
        return int(SendMessageW(Handle(), CB_GETITEMHEIGHT, WPARAM(index), 0));
    }
    void SetItemHeight(int index, int height) noexcept
    {
        SendMessageW(Handle(), CB_SETITEMHEIGHT, WPARAM(index), height);
    }
    bool DroppedDown() const noexcept { return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }
    void ShowDropDown(bool show) noexcept { SendMessageW(Handle(), CB_SHOWDROPDOWN, show, 0); }

    // Raised after the user changed the selection.
    Event<Control*> OnChange;

protected:
    // Paints one entry of an owner-drawn box (the list's or the selection field's).
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
    virtual void Change() { OnChange(this); }

    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        bool handled = Control::Reflected(msg, wp, lp, result);
        if (msg == WM_COMMAND && HIWORD(wp) == CBN_SELCHANGE)
            Change();
        return handled;
    }

private:
    static constexpr UINT_PTR kOwnerDrawSubclass = 0x54524B33;

    static LRESULT CALLBACK OwnerDrawParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
    {
        if (msg == WM_DRAWITEM && lp) {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item.CtlType == ODT_COMBOBOX)
                if (auto* box = dynamic_cast<ComboBox*>(FromHandle(item.hwndItem))) {
                    try {
                        box->DrawItem(item);
                    } catch (...) {
                        ShowCurrentException(GetAncestor(hwnd, GA_ROOT));
                    }
                    return TRUE;
                }
        } else if (msg == WM_NCDESTROY) {
            RemoveWindowSubclass(hwnd, &ComboBox::OwnerDrawParentProc, kOwnerDrawSubclass);
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
};

} // namespace ui
