#include "app/preview_list.h"

#include "app/previews.h"
#include "shview/fileview/FileView.h"

HWND FileViewPreviewList::Handle() const { return view_.Handle(); }

int FileViewPreviewList::Count() const { return view_.Handle() ? view_.Count() : 0; }

std::wstring FileViewPreviewList::ItemPath(int item) const { return view_.ItemPath(item); }

LPARAM FileViewPreviewList::ItemKey(int item) const { return view_.ItemData(item); }

POINT FileViewPreviewList::Origin() const { return view_.Origin(); }

POINT FileViewPreviewList::ItemPosition(int item) const { return view_.ItemPosition(item); }

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
