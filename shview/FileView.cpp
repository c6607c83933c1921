#include "shview/FileView.h"

#include "res/texts.h"
#include "shview/FileViewItem.h"

#include <cstring>
#include <memory>

shview::SortDirectionTable TFileView::SortDirections = {1, 1, 1, 1};

namespace {

constexpr int kColumnCount = 4;
constexpr int kMaxRenameChars = 259;

SFGAOF AttributesOf(IShellFolder* folder, const ITEMIDLIST* item, SFGAOF asked) noexcept
{
    if (!folder || !item)
        return 0;
    PCUITEMID_CHILD items[] = {item};
    SFGAOF attributes = asked;
    if (FAILED(folder->GetAttributesOf(1, items, &attributes)))
        return 0;
    return attributes & asked;
}

// Items of several one-item lists packed into one list, in the order given.
shview::IDList PackItems(const std::vector<const ITEMIDLIST*>& items) noexcept
{
    SIZE_T total = 2;
    for (const ITEMIDLIST* item : items)
        total += item->mkid.cb;
    shview::IDList packed = shview::IDListAlloc(total);
    if (!packed)
        return {};
    auto* out = reinterpret_cast<BYTE*>(packed.get());
    for (const ITEMIDLIST* item : items) {
        std::memcpy(out, item, item->mkid.cb);
        out += item->mkid.cb;
    }
    return packed; // the terminator is already zero
}

} // namespace

TFileView::TFileView() = default;

TFileView::~TFileView()
{
    // While this is still a file list, so each deletion reaches FreeItem.
    if (Handle())
        DeleteAllItems();
    for (Item* item : records_)
        delete item;
    records_.clear();
}

bool TFileView::Create(HWND parent, int id)
{
    // The system image lists belong to the system: LVS_SHAREIMAGELISTS keeps
    // the control from destroying them.
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

    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    SHFILEINFOW info{};
    auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(current, 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(current, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    SetImageList(large, LVSIL_NORMAL);
    SetImageList(small, LVSIL_SMALL);

    if (folderIDList_)
        FillList();
    return true;
}

void TFileView::SetFolder(const ITEMIDLIST* absolute)
{
    if (!absolute)
        return;
    folderIDList_ = shview::IDListCombine(absolute, nullptr);
    shellFolder_.reset();
    IShellFolder* desktop = shview::DesktopFolder();
    if (desktop && folderIDList_) {
        if (FAILED(desktop->BindToObject(folderIDList_.get(), nullptr, IID_IShellFolder, shellFolder_.put_void())))
            shellFolder_.reset();
        // The desktop does not bind its own empty list: it is the desktop.
        // Any other folder that cannot be bound stays without a folder and
        // fails its fill, rather than showing the desktop under its name.
        if (!shellFolder_ && shview::IDListCount(folderIDList_.get()) == 0)
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
    auto* item = reinterpret_cast<Item*>(data);
    if (item && records_.erase(item))
        delete item;
}

const ITEMIDLIST* TFileView::ItemIDList(int index) const noexcept
{
    Item* item = RecordOf(index);
    return item ? item->id.get() : nullptr;
}

std::wstring TFileView::ItemPath(int index) const
{
    Item* item = RecordOf(index);
    if (!item || !itemsFolder_ || !item->id)
        return {};
    return shview::IDListDisplayName(itemsFolder_.get(), item->id.get(), SHGDN_FORPARSING);
}

std::wstring TFileView::SelectedPath() const { return ItemPath(NextSelected(-1)); }

void TFileView::ColumnClick(int column)
{
    shview::SortKey key = shview::ColumnClick(SortDirections, column);
    if (key != shview::SortKey::None)
        SortBy(key);
}

void TFileView::SortBy(shview::SortKey key)
{
    using shview::Directed;
    using shview::SortKey;
    IShellFolder* folder = itemsFolder_.get();
    auto rec = [](LPARAM p) { return reinterpret_cast<const Item*>(p); };
    switch (key) {
    case SortKey::Name:
        if (!folder)
            return;
        SortItems([&](LPARAM a, LPARAM b) {
            return Directed(shview::IDListCompare(folder, rec(a)->id.get(), rec(b)->id.get()), SortDirections[0]);
        });
        break;
    case SortKey::Size:
        SortItems([&](LPARAM a, LPARAM b) {
            return Directed(shview::CompareFileSize(rec(a)->facts, rec(b)->facts), SortDirections[1]);
        });
        break;
    case SortKey::Type:
        SortItems([&](LPARAM a, LPARAM b) {
            return Directed(lstrcmpW(rec(a)->typeText.c_str(), rec(b)->typeText.c_str()), SortDirections[2]);
        });
        break;
    case SortKey::Date:
        SortItems([&](LPARAM a, LPARAM b) {
            return Directed(shview::CompareFileTime(rec(a)->facts, rec(b)->facts), SortDirections[3]);
        });
        break;
    case SortKey::None:
        break;
    }
}

LRESULT TFileView::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    // The control deletes its items only after its window lost the
    // reflection; free the records while the deletions still reach us.
    if (msg == WM_DESTROY)
        DeleteAllItems();
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
        result = FALSE; // one LVN_DELETEITEM per item, so each record is freed
        return true;
    case LVN_COLUMNCLICK:
        ColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
        result = 0;
        return true;
    case LVN_ENDLABELEDITW:
        result = EndLabelEdit(*reinterpret_cast<NMLVDISPINFOW*>(lp)) ? TRUE : FALSE;
        return true;
    default:
        return handled;
    }
}

// Answers whether the control should show the typed text itself; the
// caption of a renamed item is set here to the shell's name instead.
bool TFileView::EndLabelEdit(const NMLVDISPINFOW& info)
{
    if (!info.item.pszText)
        return false; // cancelled
    int index = info.item.iItem;
    Item* item = RecordOf(index);
    ui::ComPtr<IShellFolder> folder = itemsFolder_;
    if (!item || !item->id || !folder)
        return true;

    std::wstring name(info.item.pszText);
    if (name.size() > kMaxRenameChars)
        name.resize(kMaxRenameChars);
    PITEMID_CHILD renamed = nullptr;
    HRESULT hr = folder->SetNameOf(Handle(), item->id.get(), name.c_str(), SHGDN_NORMAL, &renamed);
    shview::IDList newID = shview::IDList::Adopt(renamed);
    if (SUCCEEDED(hr) && !newID) {
        // The shell renamed it without telling the new identifier: ask for it.
        ULONG eaten = 0;
        PIDLIST_RELATIVE parsed = nullptr;
        if (SUCCEEDED(folder->ParseDisplayName(Handle(), nullptr, name.data(), &eaten, &parsed, nullptr)))
            newID.reset(parsed);
        else if (parsed)
            shview::IDListFree(parsed);
    }
    if (FAILED(hr) || !newID) {
        SetItemText(index, shview::IDListDisplayName(folder.get(), item->id.get(), SHGDN_NORMAL));
        return false;
    }
    if (FolderView && AttributesOf(folder.get(), item->id.get(), SFGAO_FOLDER | SFGAO_FILESYSANCESTOR)) {
        shview::IDList oldID = shview::IDListCombine(item->id.get(), nullptr);
        TreeRenameChild(oldID.get(), newID.get());
        item = RecordOf(index); // the tree may have touched the list
        if (!item)
            return false;
    }
    item->id = std::move(newID);
    SetItemText(index, shview::IDListDisplayName(folder.get(), item->id.get(), SHGDN_NORMAL));
    return false;
}

shview::IDList TFileView::PackSelected(int& count) const
{
    std::vector<const ITEMIDLIST*> items;
    for (int i = NextSelected(-1); i >= 0; i = NextSelected(i))
        if (Item* item = RecordOf(i); item && item->id)
            items.push_back(item->id.get());
    // Last selected first: the order the context menu and drag source were
    // always given.
    std::vector<const ITEMIDLIST*> reversed(items.rbegin(), items.rend());
    count = int(reversed.size());
    return count ? PackItems(reversed) : shview::IDList{};
}

void TFileView::MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y)
{
    ui::ListView::MouseUp(button, shift, x, y); // raises OnMouseUp, which may unlink the menu
    if (button != ui::MouseButton::Right || !ContextMenu || !shellFolder_ || !itemsFolder_ || !Handle() ||
        SelectedCount() == 0)
        return;
    int count = 0;
    shview::IDList packed = PackSelected(count);
    if (!packed)
        return;
    POINT pt{x, y};
    ClientToScreen(Handle(), &pt);
    ui::ComPtr<IShellFolder> folder = itemsFolder_; // a refill during the menu must not free it
    ContextMenu->ShowItemMenu(Handle(), folder.get(), pt, count, packed.get());
}

void TFileView::MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y)
{
    ui::ListView::MouseDown(button, shift, x, y);
    if (button != ui::MouseButton::Left || !DropSource || !shellFolder_ || !itemsFolder_ || !Handle() ||
        SelectedCount() == 0)
        return;
    int count = 0;
    shview::IDList packed = PackSelected(count);
    if (!packed)
        return;
    ui::ComPtr<IShellFolder> folder = itemsFolder_;
    DropSource->DragItems(Handle(), folder.get(), count, packed.get());
}

void TFileView::DblClick()
{
    ui::ListView::DblClick();
    Item* item = Handle() ? RecordOf(NextSelected(-1)) : nullptr;
    if (!item || !item->id || !itemsFolder_)
        return;
    // A copy: opening the child refills this list, which frees the item.
    shview::IDList id = shview::IDListCombine(item->id.get(), nullptr);
    if (!id)
        return;
    if (FolderView && AttributesOf(itemsFolder_.get(), id.get(), SFGAO_FOLDER | SFGAO_FILESYSANCESTOR)) {
        TreeOpenChild(id.get());
    } else if (FileExecute) {
        shview::IDList absolute = shview::IDListCombine(itemsFolderIDList_.get(), id.get());
        if (absolute)
            ExecuteItem(absolute.get());
    }
}

void TFileView::ExecuteItem(const ITEMIDLIST* absolute)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = Handle();
    info.lpVerb = nullptr; // the default verb
    info.lpParameters = L"";
    info.lpDirectory = L"";
    info.nShow = SW_SHOWNORMAL;
    info.lpIDList = const_cast<ITEMIDLIST*>(absolute);
    ShellExecuteExW(&info);
}

void TFileView::Beep() { MessageBeep(MB_ICONASTERISK); }

void TFileView::DeleteSelectedFiles()
{
    if (!Handle())
        return;
    int first = NextSelected(-1);
    if (first < 0)
        return;
    std::wstring from;
    for (int i = first; i >= 0; i = NextSelected(i)) {
        Item* item = RecordOf(i);
        wchar_t path[MAX_PATH] = L"";
        shview::IDList absolute =
            item ? shview::IDListCombine(itemsFolderIDList_.get(), item->id.get()) : shview::IDList{};
        if (!absolute || !SHGetPathFromIDListW(absolute.get(), path) || !path[0]) {
            Beep();
            return;
        }
        from += path;
        from += L'\0';
    }
    from += L'\0';

    SHFILEOPSTRUCTW op{};
    op.hwnd = Handle();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.pTo = nullptr;
    op.fFlags = FOF_ALLOWUNDO;
    SHFileOperationW(&op);
    if (!op.fAnyOperationsAborted)
        FillList();
    if (first < Count()) {
        SetSelected(first, true);
        SetFocused(first);
    }
}
