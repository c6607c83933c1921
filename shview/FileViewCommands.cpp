// What the user does with the file list's items: rename in place, the
// context menu on a right click, a drag on a left press, a double click, and
// delete.
#include "shview/FileView.h"

#include "shview/FileViewItem.h"

#include <cstring>

namespace {

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
    // Asked before the rename, while the old identifier still names something.
    bool folderLike = AttributesOf(folder.get(), item->id.get(), SFGAO_FOLDER | SFGAO_FILESYSANCESTOR) != 0;
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
    if (folderLike && FolderView) {
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
