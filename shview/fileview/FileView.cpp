#include "shview/fileview/FileView.h"

#include "res/texts.h"
#include "shview/fileview/FileViewItem.h"
#include "ui/dpi.h"

#include <windowsx.h>

shview::SortDirectionTable TFileView::SortDirections = {1, 1, 1, 1};

namespace {
constexpr int kColumnCount = 4;
} // namespace

TFileView::TFileView() = default;

TFileView::~TFileView()
{
    // While this is still a file list, so the deletion reaches this class;
    // and the list lets go of the image lists before a mirror of them goes.
    if (Handle()) {
        DeleteAllItems();
        SetImageList(nullptr, LVSIL_NORMAL);
        SetImageList(nullptr, LVSIL_SMALL);
    }
    FreeAllItems();
}

bool TFileView::Create(HWND parent, int id)
{
    // The image lists belong to the system or to this object:
    // LVS_SHAREIMAGELISTS keeps the control from destroying them.
    DWORD style = LVS_ICON | LVS_SHAREIMAGELISTS | LVS_EDITLABELS | LVS_AUTOARRANGE;
    if (!ui::ListView::Create(parent, style, WS_EX_CLIENTEDGE, id))
        return false;
    SetBounds(0, 0, 200, 200);

    static constexpr struct {
        const wchar_t* caption;
        int width;
        int format;
    } columns[kColumnCount] = {
        {texts::ColumnName, 120, LVCFMT_LEFT},
        {texts::ColumnSize, 60, LVCFMT_RIGHT},
        {texts::ColumnType, 120, LVCFMT_LEFT},
        {texts::ColumnDate, 120, LVCFMT_LEFT},
    };
    for (int n = ColumnCount(); n < kColumnCount; n = ColumnCount()) {
        int before = n;
        AddColumn(columns[n].caption, columns[n].width, columns[n].format);
        if (ColumnCount() == before)
            break;
    }

    SetDpi(ui::DpiOf(Handle()));

    if (folderIDList_)
        FillList();
    return true;
}

void TFileView::SetDpi(int dpi)
{
    if (!Handle() || dpi == largeImages_.Dpi())
        return;
    // The control takes the new lists before the old ones (a mirror) go.
    ui::ShellImageList large(SHIL_LARGE, dpi), small(SHIL_SMALL, dpi);
    SetImageList(large.Handle(), LVSIL_NORMAL);
    SetImageList(small.Handle(), LVSIL_SMALL);
    largeImages_ = std::move(large);
    smallImages_ = std::move(small);
}

void TFileView::SetFolder(PCIDLIST_ABSOLUTE absolute)
{
    if (!absolute)
        return;
    folderIDList_ = idlist::IDListCombine(absolute, nullptr);
    shellFolder_.reset();
    IShellFolder* desktop = idlist::DesktopFolder();
    if (desktop && folderIDList_) {
        if (FAILED(desktop->BindToObject(folderIDList_.get(), nullptr, IID_IShellFolder, shellFolder_.put_void())))
            shellFolder_.reset();
        // The desktop does not bind its own empty list: it is the desktop.
        // Any other folder that cannot be bound stays without a folder and
        // fails its fill, rather than showing the desktop under its name.
        if (!shellFolder_ && idlist::IDListCount(folderIDList_.get()) == 0)
            shellFolder_ = ui::ComPtr<IShellFolder>::Share(desktop);
    }
    if (Handle())
        FillList();
}

TFileView::Item* TFileView::RecordOf(int index) const noexcept
{
    if (index < 0 || !Handle())
        return nullptr;
    auto* item = reinterpret_cast<Item*>(ItemData(index));
    return item && records_.count(item) ? item : nullptr;
}

void TFileView::FreeItem(LPARAM data) noexcept
{
    if (data)
        records_.erase(reinterpret_cast<const Item*>(data));
}

void TFileView::FreeAllItems() noexcept
{
    records_.clear();
}

PCUITEMID_CHILD TFileView::ItemIDList(int index) const noexcept
{
    Item* item = RecordOf(index);
    return item ? item->id.get() : nullptr;
}

std::wstring TFileView::ItemPath(int index) const
{
    Item* item = RecordOf(index);
    if (!item || !itemsFolder_ || !item->id)
        return {};
    return idlist::IDListDisplayName(itemsFolder_.get(), item->id.get(), SHGDN_FORPARSING);
}

std::wstring TFileView::SelectedPath() const { return ItemPath(NextSelected(-1)); }

void TFileView::ColumnClick(int column)
{
    shview::SortKey key = shview::ColumnClick(SortDirections, column);
    if (key == shview::SortKey::None)
        return;
    SortBy(sortKey_ = key);
    OnItemsReordered(this);
}

int TFileView::CompareItems(const Item& a, const Item& b) const
{
    using shview::Directed;
    using shview::SortKey;
    switch (sortKey_) {
    case SortKey::Name:
        return itemsFolder_ ? Directed(idlist::IDListCompare(itemsFolder_.get(), a.id.get(), b.id.get()),
                                       SortDirections[0])
                            : 0;
    case SortKey::Size:
        return Directed(shview::CompareFileSize(a.facts, b.facts), SortDirections[1]);
    case SortKey::Type:
        return Directed(lstrcmpW(a.typeText.c_str(), b.typeText.c_str()), SortDirections[2]);
    case SortKey::Date:
        return Directed(shview::CompareFileTime(a.facts, b.facts), SortDirections[3]);
    case SortKey::None:
        break;
    }
    return 0;
}

void TFileView::SortBy(shview::SortKey key)
{
    if (key == shview::SortKey::None || (key == shview::SortKey::Name && !itemsFolder_))
        return;
    sortKey_ = key;
    SortItems([this](LPARAM a, LPARAM b) {
        return CompareItems(*reinterpret_cast<const Item*>(a), *reinterpret_cast<const Item*>(b));
    });
}

LRESULT TFileView::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    // The control deletes its items only after its window lost the
    // reflection; free the records while the deletions still reach us.
    if (msg == WM_DESTROY) {
        DropFill();
        afterFill_.clear();
        DeleteAllItems();
    }
    if (FillMessage(msg, wp))
        return 0;
    // The menu key and Shift+F10 (no point given): the menu a right click on
    // the selection would open. A right click brings its own point and is
    // handled on the button's release.
    if (msg == WM_CONTEXTMENU && GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1) {
        KeyContextMenu();
        return 0;
    }
    // A second right click within the double-click time is a right click
    // of its own: the control would only report a double click, and no
    // menu would open.
    if (msg == WM_RBUTTONDBLCLK)
        msg = WM_RBUTTONDOWN;
    return ui::ListView::WndProc(msg, wp, lp);
}

bool TFileView::Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    bool handled = ui::ListView::Reflected(msg, wp, lp, result);
    if (msg != WM_NOTIFY)
        return handled;
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->hwndFrom != Handle())
        return handled;
    switch (header->code) {
    case LVN_DELETEITEM:
        FreeItem(reinterpret_cast<NMLISTVIEW*>(lp)->lParam);
        return handled;
    case LVN_DELETEALLITEMS:
        // Every item goes: free every record now and spare the control one
        // notification an item (each a round of property look-ups under Wine).
        FreeAllItems();
        result = TRUE;
        return true;
    case LVN_COLUMNCLICK:
        ColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
        result = 0;
        return true;
    case LVN_ENDLABELEDITW:
        result = EndLabelEdit(*reinterpret_cast<NMLVDISPINFOW*>(lp)) ? TRUE : FALSE;
        return true;
    case NM_CUSTOMDRAW:
        if (reinterpret_cast<NMCUSTOMDRAW*>(lp)->dwDrawStage == CDDS_PREPAINT) {
            // The shell may have added images since the last paint.
            largeImages_.CatchUp();
            smallImages_.CatchUp();
        }
        result = DropHighlightDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp), handled ? result : CDRF_DODEFAULT);
        return true;
    default:
        return handled;
    }
}
