// Filling the file list from its folder.
#include "shview/FileView.h"

#include "res/texts.h"
#include "shview/FileViewItem.h"
#include "shview/file_texts.h"
#include "shview/whole_sizes.h"
#include "ui/screen_cursor.h"

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
};

void TFileView::FillList()
{
    if (!Handle() || !folderIDList_)
        return;
    ui::ComPtr<IShellFolder> folder = shellFolder_;
    ui::ComPtr<IEnumIDList> items;
    HRESULT hr = folder ? folder->EnumObjects(Handle(), kEnumFlags, items.put()) : E_FAIL;
    if (FAILED(hr)) {
        items.reset();
        EnumerationFailed();
        return;
    }
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
    shview::ResetSortDirections(SortDirections);
    FillScope scope(*this);
    itemsFolder_ = folder;
    itemsFolderIDList_ = shview::IDListCombine(folderIDList_.get(), nullptr);

    FillContext fill;
    fill.folder = folder.get();
    fill.icons = icons.get();
    fill.dateSeparator = LocaleText(LOCALE_SDATE, L"/");
    fill.timeSeparator = LocaleText(LOCALE_STIME, L":");
    wchar_t directory[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(itemsFolderIDList_.get(), directory))
        fill.sizes.Load(directory);
    if (items) { // S_FALSE may come without an enumerator: no items
        shview::IDList id;
        ULONG fetched = 0;
        while (items->Next(1, id.put(), &fetched) == S_OK && Handle()) {
            if (id)
                AddItemFrom(fill, std::move(id));
        }
    }
    SortBy(shview::SortKey::Name);
}

void TFileView::AddItemFrom(const FillContext& fill, shview::IDList id)
{
    IShellFolder* folder = fill.folder;
    PCUITEMID_CHILD one[] = {id.get()};
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_LINK;
    if (FAILED(folder->GetAttributesOf(1, one, &attributes)))
        attributes = 0;
    // The parsing name only serves the mask: not asked for when there is none.
    if (!Mask.empty() &&
        !shview::MaskShows(Mask, shview::IDListDisplayName(folder, id.get(), SHGDN_FORPARSING),
                           (attributes & SFGAO_FOLDER) != 0))
        return; // the identifier goes with `id`

    auto item = std::make_unique<Item>();
    std::wstring caption = shview::IDListDisplayName(folder, id.get(), SHGDN_INFOLDER);
    shview::IDList absolute = shview::IDListCombine(itemsFolderIDList_.get(), id.get());

    int image = -1;
    if (fill.icons && fill.icons->GetIconOf(id.get(), GIL_FORSHELL, &image) != S_OK)
        image = -1; // only an S_OK answer carries an index
    if (image == -1)
        image = shview::IDListIconIndex(absolute.get(), SHGFI_SYSICONINDEX);

    std::wstring sizeText, dateText;
    WIN32_FIND_DATAW data{};
    if (SUCCEEDED(SHGetDataFromIDListW(folder, id.get(), SHGDFIL_FINDDATA, &data, sizeof data))) {
        item->facts.hasData = true;
        item->facts.size = fill.sizes.Whole(data.cFileName, Join(data.nFileSizeHigh, data.nFileSizeLow));
        item->facts.writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        sizeText = shview::FileSizeText(item->facts.size, texts::SizeUnit);
        dateText = DateText(data.ftLastWriteTime, fill.dateSeparator, fill.timeSeparator);
    }

    SHFILEINFOW info{};
    if (absolute && SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute.get()), 0, &info, sizeof info,
                                   SHGFI_TYPENAME | SHGFI_PIDL))
        item->typeText = info.szTypeName;

    item->id = std::move(id);
    Item* record = item.get();
    records_.insert(record);
    item.release();
    int index = AddItem(caption, image, reinterpret_cast<LPARAM>(record));
    if (index < 0) {
        FreeItem(reinterpret_cast<LPARAM>(record));
        return;
    }
    if (attributes & SFGAO_LINK)
        SetOverlay(index, 2); // the system image list's shortcut overlay
    SetSubItemText(index, 1, sizeText);
    SetSubItemText(index, 2, record->typeText);
    SetSubItemText(index, 3, dateText);
}

void TFileView::EnumerationFailed()
{
    // With a tree, it goes back to the folder it showed before, which points
    // this list there again. Without one the items of the folder shown
    // before stay, still answering for that folder.
    if (FolderView)
        TreeGoBack();
}
