// What the user does with the file list's items: rename in place, the
// context menu on a right click, a drag on a left press, a double click, and
// delete.
#include "shview/fileview/FileView.h"

#include "res/texts.h"
#include "shview/fileview/FileViewItem.h"
#include "idlist/file_path.h"
#include "shview/fileview/path_limits.h"
#include "shview/rename_names.h"
#include "ui/seams.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxRenameChars = 259;

SFGAOF AttributesOf(IShellFolder* folder, PCUITEMID_CHILD item, SFGAOF asked) noexcept
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
idlist::RelativeIDList PackItems(const std::vector<PCUITEMID_CHILD>& items) noexcept
{
    SIZE_T total = 2;
    for (PCUITEMID_CHILD item : items)
        total += item->mkid.cb;
    idlist::RelativeIDList packed = idlist::IDListAlloc(total);
    if (!packed)
        return {};
    auto* out = reinterpret_cast<BYTE*>(packed.get());
    for (PCUITEMID_CHILD item : items) {
        std::memcpy(out, item, item->mkid.cb);
        out += item->mkid.cb;
    }
    return packed; // the terminator is already zero
}

} // namespace

int TFileView::IndexOfItem(IShellFolder* folder, PCUITEMID_CHILD id, int hint) const
{
    if (!folder || !id || folder != itemsFolder_.get())
        return -1;
    auto same = [&](int i) {
        Item* item = RecordOf(i);
        return item && item->id && idlist::IDListCompare(folder, item->id.get(), id) == 0;
    };
    if (hint >= 0 && hint < Count() && same(hint))
        return hint;
    for (int i = 0, n = Count(); i < n; ++i)
        if (same(i))
            return i;
    return -1;
}

// Answers whether the control should show the typed text itself; the
// caption of a renamed item is set here to the shell's name instead.
bool TFileView::EndLabelEdit(const NMLVDISPINFOW& info)
{
    if (!info.item.pszText)
        return false; // cancelled
    const int index = info.item.iItem;
    const Item* item = RecordOf(index);
    ui::ComPtr<IShellFolder> folder = itemsFolder_;
    if (!item || !item->id || !folder)
        return true;

    std::wstring typed(info.item.pszText);
    if (typed.size() > kMaxRenameChars)
        typed.resize(kMaxRenameChars);
    // The edit began from the caption; a text left as it was renames nothing.
    const std::wstring shown = ItemText(index);
    // SetNameOf may show the shell's own dialogs, whose message loop may
    // refill the list and free every item record: nothing the list owns is
    // held across it. The item is looked up again afterwards by identifier.
    idlist::ChildIDList oldID = idlist::IDListCopy(item->id.get());
    item = nullptr;
    if (!oldID)
        return false;
    const std::wstring name =
        shview::NameToSet(typed, shown, idlist::IDListDisplayName(folder.get(), oldID.get(), SHGDN_FORPARSING));
    if (name.empty())
        return false;
    // Asked before the rename, while the old identifier still names something.
    bool folderLike = AttributesOf(folder.get(), oldID.get(), SFGAO_FOLDER | SFGAO_FILESYSANCESTOR) != 0;
    // A file or folder gets the whole name, for parsing in the folder: the
    // shell adds no extension to it, hidden or not. Other items take the
    // name as shown.
    const SHGDNF flags = AttributesOf(folder.get(), oldID.get(), SFGAO_FILESYSTEM)
                             ? SHGDN_INFOLDER | SHGDN_FORPARSING
                             : SHGDN_NORMAL;

    HRESULT hr = E_FAIL;
    idlist::ChildIDList newID;
    {
        ui::BusyScope busy(OnBusy, this);
        PITEMID_CHILD renamed = nullptr;
        hr = folder->SetNameOf(Handle(), oldID.get(), name.c_str(), flags, &renamed);
        newID = idlist::ChildIDList::Adopt(renamed);
        // Renamed without the new identifier: ask for it by that name.
        if (SUCCEEDED(hr) && !newID && Handle())
            newID = idlist::IDListParseChild(folder.get(), Handle(), {name});
    }
    if (!Handle())
        return false;
    int at = IndexOfItem(folder.get(), oldID.get(), index);
    if (FAILED(hr)) {
        // The shell has told the user why; show the name the item still has.
        if (at >= 0)
            SetItemText(at, idlist::IDListDisplayName(folder.get(), oldID.get(), SHGDN_NORMAL));
        return false;
    }
    if (!newID) {
        // Renamed, but not to be found under any name: read the folder again
        // rather than keep an identifier that names nothing.
        if (at >= 0)
            FillList();
        return false;
    }
    if (folderLike && FolderView) {
        FolderView->RenameChild(oldID.get(), newID.get());
        at = IndexOfItem(folder.get(), oldID.get(), at); // the tree may have touched the list
    }
    if (Item* record = RecordOf(at)) {
        record->id = std::move(newID);
        SetItemText(at, idlist::IDListDisplayName(folder.get(), record->id.get(), SHGDN_NORMAL));
    }
    return false;
}

idlist::RelativeIDList TFileView::PackSelected(int& count) const
{
    std::vector<PCUITEMID_CHILD> items;
    for (int i = NextSelected(-1); i >= 0; i = NextSelected(i))
        if (Item* item = RecordOf(i); item && item->id)
            items.push_back(item->id.get());
    // Last selected first: the order the context menu and drag source were
    // always given.
    std::vector<PCUITEMID_CHILD> reversed(items.rbegin(), items.rend());
    count = int(reversed.size());
    return count ? PackItems(reversed) : idlist::RelativeIDList{};
}

bool TFileView::TakeSelection(Selection& selection) const
{
    if (!shellFolder_ || !itemsFolder_ || !Handle() || SelectedCount() == 0)
        return false;
    selection.packed = PackSelected(selection.count);
    // Held here: a refill while the menu or the drag runs must not free it.
    selection.folder = itemsFolder_;
    return static_cast<bool>(selection.packed);
}

void TFileView::MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y)
{
    ui::ListView::MouseUp(button, shift, x, y); // raises OnMouseUp, which may unlink the menu
    Selection selection;
    if (button != ui::MouseButton::Right || !ContextMenu || !TakeSelection(selection))
        return;
    POINT pt{x, y};
    ClientToScreen(Handle(), &pt);
    ContextMenu->ShowItemMenu(Handle(), selection.folder.get(), pt, selection.count, selection.packed.get());
}

void TFileView::KeyContextMenu()
{
    // At the focused item when it is selected, else at the first selected one.
    int item = FocusedItem();
    if (item < 0 || !IsSelected(item))
        item = NextSelected(-1);
    if (item < 0)
        return;
    EnsureVisible(item);
    RECT icon{};
    icon.left = LVIR_ICON;
    RECT client{};
    if (!SendMessageW(Handle(), LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&icon)) ||
        !GetClientRect(Handle(), &client))
        return;
    const int x = std::clamp<int>((icon.left + icon.right) / 2, client.left, std::max(client.left, client.right - 1));
    const int y = std::clamp<int>((icon.top + icon.bottom) / 2, client.top, std::max(client.top, client.bottom - 1));
    MouseUp(ui::MouseButton::Right, ui::ShiftState::Now(), x, y);
}

LRESULT TFileView::DropHighlightDraw(NMLVCUSTOMDRAW& draw, LRESULT result) const noexcept
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        // Item by item only while an item is marked.
        if (ListView_GetNextItem(Handle(), -1, LVNI_DROPHILITED) >= 0)
            result |= CDRF_NOTIFYITEMDRAW;
        return result;
    case CDDS_ITEMPREPAINT:
        if (ListView_GetItemState(Handle(), int(draw.nmcd.dwItemSpec), LVIS_DROPHILITED) & LVIS_DROPHILITED) {
            draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
            draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
            result |= CDRF_NEWFONT;
        }
        return result;
    default:
        return result;
    }
}

void TFileView::MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y)
{
    ui::ListView::MouseDown(button, shift, x, y);
    Selection selection;
    if (button != ui::MouseButton::Left || !DropSource || !TakeSelection(selection))
        return;
    DropSource->DragItems(Handle(), selection.folder.get(), selection.count, selection.packed.get());
}

void TFileView::DblClick()
{
    ui::ListView::DblClick();
    Item* item = Handle() ? RecordOf(NextSelected(-1)) : nullptr;
    if (!item || !item->id || !itemsFolder_)
        return;
    // A copy: opening the child refills this list, which frees the item.
    idlist::ChildIDList id = idlist::IDListCopy(item->id.get());
    if (!id)
        return;
    ui::BusyScope busy(OnBusy, this);
    if (FolderView && AttributesOf(itemsFolder_.get(), id.get(), SFGAO_FOLDER | SFGAO_FILESYSANCESTOR)) {
        FolderView->OpenChild(id.get());
    } else if (FileExecute) {
        idlist::AbsoluteIDList absolute = idlist::IDListCombine(itemsFolderIDList_.get(), id.get());
        if (absolute)
            ui::CurrentSeams().executeItem(Handle(), absolute.get());
    }
}

void TFileView::DeleteSelectedFiles()
{
    if (!Handle())
        return;
    int first = NextSelected(-1);
    if (first < 0)
        return;
    std::vector<std::wstring> paths;
    for (int i = first; i >= 0; i = NextSelected(i)) {
        Item* item = RecordOf(i);
        std::wstring path;
        idlist::AbsoluteIDList absolute =
            item ? idlist::IDListCombine(itemsFolderIDList_.get(), item->id.get()) : idlist::AbsoluteIDList{};
        if (!idlist::IDListFileSystemPath(absolute.get(), path)) {
            ui::CurrentSeams().messageBeep(MB_ICONASTERISK);
            return;
        }
        paths.push_back(std::move(path));
    }
    // The shell would refuse the whole operation with a box of its own that
    // names no file, or with none at all.
    if (const std::wstring* tooLong = shview::FirstTooLongForShell(paths)) {
        if (auto& box = ui::CurrentSeams().messageBox)
            box(Handle(), shview::TooLongToDeleteText(*tooLong).c_str(), texts::ErrorCaption, MB_OK | MB_ICONERROR);
        return;
    }
    std::wstring from;
    for (const std::wstring& path : paths) {
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
    {
        ui::BusyScope busy(OnBusy, this);
        SHFileOperationW(&op);
        if (!op.fAnyOperationsAborted)
            FillList();
    }
    AfterFill([this, first] {
        if (Handle() && first < Count()) {
            SetSelected(first, true);
            SetFocused(first);
        }
    });
}
