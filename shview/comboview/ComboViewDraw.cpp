// Painting of the folder combo box's entries: each entry's small shell icon
// and display name, indented by level in the dropped list only.
#include "shview/comboview/ComboView.h"

#include "ui/dpi_scale.h"
#include "ui/handles.h"

#include <shellapi.h>

using idlist::DesktopFolder;
using idlist::AbsoluteIDList;
using idlist::ChildIDList;

namespace {

// The name an entry shows: its folder's name within its parent folder.
std::wstring EntryText(PCIDLIST_ABSOLUTE absolute)
{
    IShellFolder* desktop = DesktopFolder();
    if (!desktop)
        return {};
    ui::ComPtr<IShellFolder> parent;
    if (AbsoluteIDList parentId = idlist::IDListParent(absolute))
        if (FAILED(desktop->BindToObject(parentId.get(), nullptr, IID_IShellFolder, parent.put_void())))
            parent = nullptr;
    ChildIDList last = idlist::IDListLast(absolute);
    return idlist::IDListDisplayName(parent ? parent.get() : desktop, last.get(), SHGDN_INFOLDER);
}

// Keeps a device context's state for a scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDC()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace

int TComboView::EntryLeft(const RECT& rect, int level, bool selectionField, int dpi) noexcept
{
    return selectionField ? rect.left + 1 : rect.left + ui::Scale(10, dpi) * level;
}

void TComboView::DrawItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    if (!dc)
        return;
    SavedDC saved(dc);
    const RECT& rect = item.rcItem;
    const bool field = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    // Only the dropped list shows the selection in the highlight colours.
    const bool highlight = selected && !field;
    // The whole rectangle first: the list repaints only the entries whose
    // selection changed, so the last highlight must not stay behind.
    COLORREF back = GetSysColor(highlight ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    SetBkColor(dc, back);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);

    const TComboData* entry = item.itemID == UINT(-1) ? nullptr : Entry(int(item.itemID));
    if (!entry || !entry->IDList)
        return;
    const int x = EntryLeft(rect, entry->Level, field, images_.Dpi());
    int side = 0, ignored = 0;
    ImageList_GetIconSize(images_.Handle(), &side, &ignored);

    // The selection field always shows the selected entry: its open form.
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    if (selected || field)
        flags |= SHGFI_OPENICON;
    SHFILEINFOW info{};
    if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(entry->IDList.get()), 0, &info, sizeof(info), flags)) {
        images_.CatchUp();
        ImageList_Draw(images_.Handle(), info.iIcon, dc, x, rect.top + (rect.bottom - rect.top - side) / 2,
                       highlight ? ILD_TRANSPARENT | ILD_SELECTED : ILD_TRANSPARENT);
    }

    std::wstring text = EntryText(entry->IDList.get());
    // The item's context goes back to the list as it came.
    ui::SelectedObject font(dc, Font());
    COLORREF fore = (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                    : highlight                    ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                   : GetSysColor(COLOR_WINDOWTEXT);
    SetTextColor(dc, fore);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, x + side + 3, rect.top, text.c_str(), int(text.size()));
}
