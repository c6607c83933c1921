// Filling the file list from its folder.
#include "shview/fileview/FileView.h"

#include "res/texts.h"
#include "shview/fileview/FileViewItem.h"
#include "shview/file_texts.h"
#include "idlist/file_path.h"
#include "shview/fileview/shell_info_cache.h"
#include "shview/fileview/whole_sizes.h"
#include "ui/scoped_value.h"
#include "ui/screen_cursor.h"
#include "ui/text.h"

#include <climits>
#include <memory>

namespace {

constexpr SHCONTF kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback)
{
    wchar_t buffer[8] = L"";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 8) <= 0)
        return fallback;
    return buffer;
}

std::uint64_t Join(DWORD high, DWORD low) noexcept { return (std::uint64_t(high) << 32) | low; }

// The last write time shown in local time. Empty if it cannot be converted.
std::wstring DateText(const FILETIME& written, const std::wstring& dateSep, const std::wstring& timeSep)
{
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t))
        return {};
    return shview::FileDateText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, dateSep, timeSep);
}

} // namespace

// What every item of one fill is read with.
struct TFileView::FillContext {
    IShellFolder* folder = nullptr;
    IShellIcon* icons = nullptr; // Wine's folders do not offer it; the shell's own may
    std::wstring dateSeparator;
    std::wstring timeSeparator;
    shview::WholeSizes sizes;
    shview::ShellInfoCache shellInfo;
    // The list control's own window procedure. The fill's messages go to it
    // straight: through the subclass chain each one costs window-property
    // look-ups that Wine answers from its server (seconds for 10,000 items).
    // None of them is one the subclass handles.
    HWND list = nullptr;
    WNDPROC control = nullptr;
    LRESULT Send(UINT msg, WPARAM wp, const void* lp) const noexcept
    {
        auto l = reinterpret_cast<LPARAM>(lp);
        return control ? CallWindowProcW(control, list, msg, wp, l) : SendMessageW(list, msg, wp, l);
    }
};

void TFileView::FillList()
{
    // A fill asked for while one runs (from a message the shell dispatched,
    // or from the tree going back) runs after it, with the folder then set.
    if (filling_) {
        refillPending_ = true;
        return;
    }
    ui::ScopedValue filling(filling_, true);
    ui::BusyScope busy(OnBusy, this);
    // With a tree, a folder that cannot be read sends the tree back to the
    // folder it showed before, which points this list there again; only
    // once, so two unreadable folders cannot send each other back for ever.
    // Without one the items of the folder shown before stay, still
    // answering for that folder.
    bool wentBack = false, replaced = false;
    const bool hadSelection = Handle() && SelectedCount() > 0;
    do {
        refillPending_ = false;
        if (!FillOnce(replaced) && FolderView && !wentBack) {
            wentBack = true;
            FolderView->GoBack();
        }
    } while (refillPending_ && Handle());
    if (replaced && Handle())
        OnItemsReplaced(this);
    // The selection went with the items, whether or not the control said so.
    if (hadSelection && Handle() && SelectedCount() == 0)
        OnChange(this, -1);
}

// Answers false when the folder could not be enumerated (nothing touched);
// sets `replaced` when the items were.
bool TFileView::FillOnce(bool& replaced)
{
    if (!Handle() || !folderIDList_)
        return true;
    ui::ComPtr<IShellFolder> folder = shellFolder_;
    ui::ComPtr<IEnumIDList> items;
    HRESULT hr = folder ? folder->EnumObjects(Handle(), kEnumFlags, items.put()) : E_FAIL;
    if (FAILED(hr))
        return false;
    ui::ComPtr<IShellIcon> icons = folder.As<IShellIcon>(IID_IShellIcon);

    // Begin fill; the guard ends it on every way out.
    struct FillScope {
        TFileView& view;
        ui::ScopedScreenCursor cursor{IDC_WAIT};
        explicit FillScope(TFileView& v) : view(v)
        {
            view.BeginUpdate();
            view.DeleteAllItems();
            view.savedViewStyle_ = view.ViewStyle();
            view.SetViewStyle(LVS_LIST);
        }
        ~FillScope()
        {
            view.SetViewStyle(view.savedViewStyle_);
            view.EndUpdate();
        }
        FillScope(const FillScope&) = delete;
        FillScope& operator=(const FillScope&) = delete;
    };
    OnItemsReplacing(this);
    replaced = true;
    shview::ResetSortDirections(SortDirections);
    sortKey_ = shview::SortKey::Name;
    FillScope scope(*this);
    itemsFolder_ = folder;
    itemsFolderIDList_ = idlist::IDListCombine(folderIDList_.get(), nullptr);

    FillContext fill;
    fill.list = Handle();
    fill.control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(Handle(), GCLP_WNDPROC));
    fill.folder = folder.get();
    fill.icons = icons.get();
    fill.dateSeparator = LocaleText(LOCALE_SDATE, L"/");
    fill.timeSeparator = LocaleText(LOCALE_STIME, L":");
    std::wstring directory;
    if (idlist::IDListFileSystemPath(itemsFolderIDList_.get(), directory))
        fill.sizes.Load(directory);
    if (items) { // S_FALSE may come without an enumerator: no items
        idlist::ChildIDList id;
        ULONG fetched = 0;
        while (items->Next(1, id.put(), &fetched) == S_OK && Handle()) {
            if (id)
                AddItemFrom(fill, std::move(id));
        }
    }
    SortBy(sortKey_);
    return true;
}

void TFileView::SetOrder(const shview::ListOrder& order)
{
    SortDirections = order.directions;
    sortKey_ = order.key;
    SortBy(sortKey_);
}

void TFileView::AddItemFrom(FillContext& fill, idlist::ChildIDList id)
{
    IShellFolder* folder = fill.folder;
    PCUITEMID_CHILD one[] = {id.get()};
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_LINK | SFGAO_FILESYSTEM;
    if (FAILED(folder->GetAttributesOf(1, one, &attributes)))
        attributes = 0;
    // The parsing name only serves the mask: not asked for when there is none.
    if (!Mask.empty() &&
        !shview::MaskShows(Mask, idlist::IDListDisplayName(folder, id.get(), SHGDN_FORPARSING),
                           (attributes & SFGAO_FOLDER) != 0))
        return; // the identifier goes with `id`

    auto item = std::make_unique<Item>();
    std::wstring caption = idlist::IDListDisplayName(folder, id.get(), SHGDN_INFOLDER);
    idlist::AbsoluteIDList absolute = idlist::IDListCombine(itemsFolderIDList_.get(), id.get());

    int image = -1;
    if (fill.icons && fill.icons->GetIconOf(id.get(), GIL_FORSHELL, &image) != S_OK)
        image = -1; // only an S_OK answer carries an index
    if (image == -1)
        image = fill.shellInfo.IconIndex(folder, id.get(), absolute.get());

    std::wstring sizeText, dateText;
    WIN32_FIND_DATAW data{};
    bool found = SUCCEEDED(SHGetDataFromIDListW(folder, id.get(), SHGDFIL_FINDDATA, &data, sizeof data));
    if (found) {
        item->facts.hasData = true;
        item->facts.size = fill.sizes.Whole(data.cFileName, Join(data.nFileSizeHigh, data.nFileSizeLow));
        item->facts.writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        sizeText = shview::FileSizeText(item->facts.size, texts::SizeUnit);
        dateText = DateText(data.ftLastWriteTime, fill.dateSeparator, fill.timeSeparator);
    }

    // A file's type follows its extension; folders and virtual items are
    // asked one by one.
    std::wstring extension;
    bool plainFile = found && data.cFileName[0] && (attributes & SFGAO_FILESYSTEM) && !(attributes & SFGAO_FOLDER);
    if (plainFile)
        extension = ui::FileExtension(data.cFileName);
    item->typeText = fill.shellInfo.TypeName(absolute.get(), plainFile ? &extension : nullptr);

    item->id = std::move(id);
    Item* record = item.get();
    records_.try_emplace(record, std::move(item));
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = INT_MAX; // at the end
    row.pszText = caption.data();
    row.iImage = image;
    row.lParam = reinterpret_cast<LPARAM>(record);
    if (attributes & SFGAO_LINK) {
        row.mask |= LVIF_STATE;
        row.state = INDEXTOOVERLAYMASK(2); // the system image list's shortcut overlay
        row.stateMask = LVIS_OVERLAYMASK;
    }
    int index = int(fill.Send(LVM_INSERTITEMW, 0, &row));
    if (index < 0) {
        FreeItem(reinterpret_cast<LPARAM>(record));
        return;
    }
    std::wstring* texts[] = {&sizeText, &record->typeText, &dateText};
    for (int column = 1; column <= 3; ++column) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = texts[column - 1]->data();
        fill.Send(LVM_SETITEMTEXTW, WPARAM(index), &cell);
    }
}
