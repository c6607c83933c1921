// Thin wrapper of the system's list-view control.
#pragma once
#include "ui/control.h"

#include <functional>
#include <string>

namespace ui {

class ListView : public Control {
public:
    bool Create(HWND parent, DWORD style, DWORD exStyle = WS_EX_CLIENTEDGE, int id = 0);

    void AddColumn(const wchar_t* caption, int width, int format = LVCFMT_LEFT) noexcept;
    int ColumnCount() const noexcept;

    int Count() const noexcept;
    // Adds an item at the end; answers its index, -1 on failure.
    int AddItem(const std::wstring& caption, int image, LPARAM data) noexcept;
    void SetSubItemText(int index, int subItem, const std::wstring& text) noexcept;
    std::wstring ItemText(int index, int subItem = 0) const;
    void SetItemText(int index, const std::wstring& text) noexcept;
    LPARAM ItemData(int index) const noexcept;
    int ItemImage(int index) const noexcept;
    void DeleteItem(int index) noexcept;
    void DeleteAllItems() noexcept;

    bool IsSelected(int index) const noexcept;
    void SetSelected(int index, bool selected) noexcept;
    void SetFocused(int index) noexcept;
    // The item in the focused state; -1 when none is.
    int FocusedItem() const noexcept;
    int SelectedCount() const noexcept;
    // The first selected item after `after` in list order (-1: from the start); -1 when none.
    int NextSelected(int after = -1) const noexcept;
    int ItemAt(int x, int y) const noexcept; // client coordinates; -1 when none
    // An item's look as the target of a drag.
    bool IsDropHighlighted(int index) const noexcept;
    void SetDropHighlighted(int index, bool on) noexcept;

    DWORD ViewStyle() const noexcept; // LVS_ICON, LVS_REPORT, LVS_SMALLICON or LVS_LIST
    void SetViewStyle(DWORD style) noexcept;
    POINT Origin() const noexcept;
    POINT ItemPosition(int index) const noexcept;
    void SortItems(std::function<int(LPARAM, LPARAM)> compare) noexcept;
    void SetImageList(HIMAGELIST list, int which) noexcept;
    void EditLabel(int index) noexcept;
    void EnsureVisible(int index) noexcept;

    // Raised when an item's selection or focus changed (changes of its text
    // or image raise nothing), with the item's index; -1 when the change
    // concerns every item (the selection went with the items).
    Event<Component*, int> OnChange;
    // The list's custom draw: when set, it answers every NM_CUSTOMDRAW the
    // list sends (CDRF_ flags); when empty, the list draws on its own.
    std::function<LRESULT(const NMLVCUSTOMDRAW&)> OnCustomDraw;

protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

} // namespace ui
