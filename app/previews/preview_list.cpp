#include "app/previews/preview_list.h"

#include "app/previews/previews.h"
#include "shview/fileview/FileView.h"

HWND FileViewPreviewList::Handle() const { return view_.Handle(); }

int FileViewPreviewList::Count() const { return view_.Handle() ? view_.Count() : 0; }

std::wstring FileViewPreviewList::ItemPath(int item) const { return view_.ItemPath(item); }

LPARAM FileViewPreviewList::ItemKey(int item) const { return view_.ItemData(item); }

POINT FileViewPreviewList::Origin() const { return view_.Origin(); }

POINT FileViewPreviewList::ItemPosition(int item) const { return view_.ItemPosition(item); }

namespace {

RECT ItemRect(HWND list, int item, int part)
{
    RECT r{};
    r.left = part;
    if (!list || !SendMessageW(list, LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&r)))
        return {};
    return r;
}

} // namespace

RECT FileViewPreviewList::IconRect(int item) const { return ItemRect(view_.Handle(), item, LVIR_ICON); }

RECT FileViewPreviewList::LabelRect(int item) const { return ItemRect(view_.Handle(), item, LVIR_LABEL); }

int FileViewPreviewList::FocusedItem() const
{
    HWND list = view_.Handle();
    return list ? static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)) : -1;
}

bool FileViewPreviewList::ItemSelected(int item) const
{
    HWND list = view_.Handle();
    return list && (SendMessageW(list, LVM_GETITEMSTATE, WPARAM(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int FileViewPreviewList::SelectedCount() const
{
    HWND list = view_.Handle();
    return list ? static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

int FileViewPreviewList::IconSide() const
{
    HWND list = view_.Handle();
    const auto images = list ? reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0))
                             : nullptr;
    int cx = 0, cy = 0;
    if (images && ImageList_GetIconSize(images, &cx, &cy) && cx > 0)
        return cx;
    return GetSystemMetrics(SM_CXICON);
}

DWORD FileViewPreviewList::ViewStyle() const { return view_.ViewStyle(); }

bool FileViewPreviewList::Focused() const { return view_.Handle() && GetFocus() == view_.Handle(); }

void FileViewPreviewList::RepaintIcon(int item)
{
    RECT icon{};
    icon.left = LVIR_ICON;
    if (HWND list = view_.Handle(); list && SendMessageW(list, LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&icon)))
        InvalidateRect(list, &icon, FALSE);
}

void FileViewPreviewList::SetCustomDraw(std::function<LRESULT(const NMLVCUSTOMDRAW&)> draw)
{
    view_.OnCustomDraw = std::move(draw);
}

void FollowItems(TFileView& view, Previews& previews)
{
    view.OnItemsReplacing = [&previews](ui::Component*) { previews.Stop(); };
    view.OnItemsReplaced = [&previews](ui::Component*) { previews.Start(); };
    view.OnItemsReordered = [&previews](ui::Component*) { previews.ItemsReordered(); };
}
