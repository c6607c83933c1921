#include "ui/listview.h"

#include "ui/compare_thunk.h"

namespace ui {

bool ListView::Create(HWND parent, DWORD style, DWORD exStyle, int id)
{
    return CreateControl(WC_LISTVIEWW, style | WS_VISIBLE | WS_TABSTOP, exStyle, parent, id);
}

void ListView::AddColumn(const wchar_t* caption, int width, int format) noexcept
{
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.pszText = const_cast<wchar_t*>(caption);
    col.cx = width;
    col.fmt = format;
    int n = ColumnCount();
    col.iSubItem = n;
    ListView_InsertColumn(Handle(), n, &col);
}

int ListView::ColumnCount() const noexcept
{
    HWND header = ListView_GetHeader(Handle());
    return header ? Header_GetItemCount(header) : 0;
}

int ListView::Count() const noexcept { return ListView_GetItemCount(Handle()); }

int ListView::AddItem(const std::wstring& caption, int image, LPARAM data) noexcept
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Count();
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    item.iImage = image;
    item.lParam = data;
    return ListView_InsertItem(Handle(), &item);
}

void ListView::SetSubItemText(int index, int subItem, const std::wstring& text) noexcept
{
    ListView_SetItemText(Handle(), index, subItem, const_cast<wchar_t*>(text.c_str()));
}

std::wstring ListView::ItemText(int index, int subItem) const
{
    std::wstring buf(1024, L'\0');
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buf.data();
    item.cchTextMax = int(buf.size());
    int n = int(SendMessageW(Handle(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    buf.resize(std::size_t(n > 0 ? n : 0));
    return buf;
}

void ListView::SetItemText(int index, const std::wstring& text) noexcept { SetSubItemText(index, 0, text); }

LPARAM ListView::ItemData(int index) const noexcept
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return ListView_GetItem(Handle(), &item) ? item.lParam : 0;
}

int ListView::ItemImage(int index) const noexcept
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    return ListView_GetItem(Handle(), &item) ? item.iImage : -1;
}

void ListView::DeleteItem(int index) noexcept { ListView_DeleteItem(Handle(), index); }
void ListView::DeleteAllItems() noexcept { ListView_DeleteAllItems(Handle()); }

bool ListView::IsSelected(int index) const noexcept
{
    return (ListView_GetItemState(Handle(), index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListView::SetSelected(int index, bool selected) noexcept
{
    ListView_SetItemState(Handle(), index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void ListView::SetFocused(int index) noexcept { ListView_SetItemState(Handle(), index, LVIS_FOCUSED, LVIS_FOCUSED); }

int ListView::FocusedItem() const noexcept { return ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED); }

int ListView::SelectedCount() const noexcept { return int(ListView_GetSelectedCount(Handle())); }

int ListView::NextSelected(int after) const noexcept { return ListView_GetNextItem(Handle(), after, LVNI_SELECTED); }

int ListView::ItemAt(int x, int y) const noexcept
{
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    return ListView_HitTest(Handle(), &hit);
}

bool ListView::IsDropHighlighted(int index) const noexcept
{
    return (ListView_GetItemState(Handle(), index, LVIS_DROPHILITED) & LVIS_DROPHILITED) != 0;
}

void ListView::SetDropHighlighted(int index, bool on) noexcept
{
    ListView_SetItemState(Handle(), index, on ? LVIS_DROPHILITED : 0, LVIS_DROPHILITED);
}

DWORD ListView::ViewStyle() const noexcept { return DWORD(GetWindowLongPtrW(Handle(), GWL_STYLE)) & LVS_TYPEMASK; }

void ListView::SetViewStyle(DWORD style) noexcept
{
    DWORD s = DWORD(GetWindowLongPtrW(Handle(), GWL_STYLE));
    SetWindowLongPtrW(Handle(), GWL_STYLE, (s & ~LVS_TYPEMASK) | (style & LVS_TYPEMASK));
}

POINT ListView::Origin() const noexcept
{
    POINT pt{};
    ListView_GetOrigin(Handle(), &pt);
    return pt;
}

POINT ListView::ItemPosition(int index) const noexcept
{
    POINT pt{};
    ListView_GetItemPosition(Handle(), index, &pt);
    return pt;
}


void ListView::SortItems(std::function<int(LPARAM, LPARAM)> compare) noexcept
{
    if (Handle())
        ListView_SortItems(Handle(), &detail::CompareThunk, reinterpret_cast<LPARAM>(&compare));
}

void ListView::SetImageList(HIMAGELIST list, int which) noexcept { ListView_SetImageList(Handle(), list, which); }
void ListView::EditLabel(int index) noexcept { ListView_EditLabel(Handle(), index); }
void ListView::EnsureVisible(int index) noexcept { ListView_EnsureVisible(Handle(), index, FALSE); }

bool ListView::Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    bool handled = Control::Reflected(msg, wp, lp, result);
    if (msg != WM_NOTIFY || !lp)
        return handled;
    auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->hwndFrom == Handle() && header->code == NM_CUSTOMDRAW && OnCustomDraw) {
        result = OnCustomDraw(*reinterpret_cast<const NMLVCUSTOMDRAW*>(lp));
        return true;
    }
    if (header->hwndFrom != Handle() || header->code != LVN_ITEMCHANGED)
        return handled;
    auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
    constexpr UINT kWatched = LVIS_SELECTED | LVIS_FOCUSED;
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & kWatched))
        OnChange(this, change->iItem);
    return handled;
}

} // namespace ui
