#include "shview/comboview/ComboView.h"

#include "ui/dpi.h"

#include <shellapi.h>

#include <utility>

using idlist::DesktopFolder;
using idlist::AbsoluteIDList;
using idlist::ChildIDList;

namespace {

// Folders only, hidden ones included.
constexpr SHCONTF kFolderFlags = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
// WM_DPICHANGED_AFTERPARENT, which the headers hold back for newer systems.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

} // namespace

TComboView::TComboView() = default;

TComboView::~TComboView() { ClearEntries(); }

bool TComboView::Create(HWND parent, int id)
{
    if (!ComboBox::Create(parent, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, id))
        return false;
    if (!Font())
        SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetDpi(ui::DpiOf(Handle()));
    SetBounds(0, 0, 200, 0);
    SetDropDownCount(dropDownCount_);
    BuildList();
    SetCurrent(0);
    return true;
}

void TComboView::SetDpi(int dpi)
{
    if (!Handle() || dpi == images_.Dpi())
        return;
    images_ = ui::ShellImageList(SHIL_SMALL, dpi);
    // One height for every entry: the small icon's or the text's, whichever is taller.
    int height = ui::ShellIconSide(SHIL_SMALL, dpi);
    if (ui::WindowDC dc(Handle()); dc) {
        ui::SelectedObject font(dc.get(), Font());
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc.get(), &metrics) && metrics.tmHeight > height)
            height = metrics.tmHeight;
    }
    SetItemHeight(-1, height + 2);
    SetItemHeight(0, height + 2);
    SetDropDownCount(dropDownCount_);
}

LRESULT TComboView::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    // Each child window hears of a move to another DPI after its parent.
    if (msg == kDpiChangedAfterParent)
        SetDpi(ui::DpiOf(Handle()));
    return ComboBox::WndProc(msg, wp, lp);
}

void TComboView::SetDropDownCount(int count) noexcept
{
    dropDownCount_ = count > 0 ? count : 1;
    if (!Handle())
        return;
    // The version 6 controls size the list by this; the older ones by the
    // window's height, which is the height with the list dropped down.
    SendMessageW(Handle(), CB_SETMINVISIBLE, WPARAM(dropDownCount_), 0);
    RECT rc{};
    GetWindowRect(Handle(), &rc);
    int height = ItemHeight(-1) + 2 * GetSystemMetrics(SM_CYEDGE) + 2 + dropDownCount_ * ItemHeight(0) + 2;
    SetWindowPos(Handle(), nullptr, 0, 0, rc.right - rc.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const TComboData* TComboView::Entry(int index) const noexcept
{
    if (!Handle() || index < 0 || index >= Count())
        return nullptr;
    LPARAM data = Data(index);
    return data == CB_ERR ? nullptr : reinterpret_cast<const TComboData*>(data);
}

int TComboView::PositionOf(const TComboData* data) const noexcept
{
    if (Entry(data->Index) == data)
        return data->Index;
    for (int i = 0, n = Count(); i < n; ++i)
        if (Entry(i) == data)
            return i;
    return -1;
}

int TComboView::AddEntry(int position, int level, PCIDLIST_ABSOLUTE absolute)
{
    auto data = std::make_unique<TComboData>();
    data->IDList = idlist::IDListCombine(absolute, nullptr);
    if (!data->IDList)
        return -1;
    data->Level = level;
    Entries& list = listBuilt_ ? path_ : fixed_;
    list.reserve(list.size() + 1); // nothing may throw once the control holds the pointer
    int at = InsertData(position, reinterpret_cast<LPARAM>(data.get()));
    if (at < 0)
        return -1;
    data->Index = at;
    list.push_back(std::move(data));
    return at;
}

void TComboView::ClearEntries()
{
    // The control lets go of the pointers before they are freed.
    if (Handle())
        Clear();
    fixed_.clear();
    path_.clear();
}

void TComboView::RemovePathEntries()
{
    // Last first: the entries of one path follow each other, so removing the
    // last one moves none of the others.
    while (!path_.empty()) {
        if (Handle())
            Delete(PositionOf(path_.back().get()));
        path_.pop_back();
    }
}

bool TComboView::InsertChildren(IShellFolder* folder, PCIDLIST_ABSOLUTE parent, HWND owner)
{
    ui::ComPtr<IEnumIDList> children;
    if (folder->EnumObjects(owner, kFolderFlags, children.put()) != S_OK || !children)
        return false;
    ChildIDList child;
    while (children->Next(1, child.put(), nullptr) == S_OK && child) {
        AbsoluteIDList absolute = idlist::IDListCombine(parent, child.get());
        if (absolute)
            InsertPath(absolute.get());
    }
    return true;
}

void TComboView::BuildList()
{
    listBuilt_ = false;
    ClearEntries();
    IShellFolder* desktop = DesktopFolder();
    if (!Handle() || !desktop)
        return;
    ui::RedrawOff redraw(*this);
    // The desktop is the empty identifier, whatever the shell answers.
    AbsoluteIDList desktopId;
    if (FAILED(SHGetSpecialFolderLocation(Handle(), CSIDL_DESKTOP, desktopId.put())) || !desktopId)
        desktopId = idlist::IDListCombine(nullptr, nullptr);
    if (AddEntry(0, 0, desktopId.get()) != 0)
        return;
    // A desktop that cannot be listed still leaves the drives to list.
    InsertChildren(desktop, desktopId.get(), Handle());

    AbsoluteIDList computer;
    if (FAILED(SHGetSpecialFolderLocation(Handle(), CSIDL_DRIVES, computer.put())) || !computer)
        return;
    ui::ComPtr<IShellFolder> drives;
    if (FAILED(desktop->BindToObject(computer.get(), nullptr, IID_IShellFolder, drives.put_void())) || !drives)
        return;
    if (!InsertChildren(drives.get(), computer.get(), nullptr))
        return;
    listBuilt_ = true;
}

int TComboView::InsertPath(PCIDLIST_ABSOLUTE absolute)
{
    IShellFolder* desktop = DesktopFolder();
    if (!absolute || !desktop || !Handle())
        return -1;
    // Entry 0 is the desktop; every level's entry is looked for (or made)
    // among the entries of its parent, which start at `position`.
    int position = 1;
    int level = 0;
    AbsoluteIDList prefix = idlist::IDListCombine(nullptr, nullptr);
    PCUIDLIST_RELATIVE item = idlist::IDListCount(absolute) ? absolute : nullptr;
    for (; item; item = idlist::IDListRest(item)) {
        ++level;
        prefix = idlist::IDListCombineFree(std::move(prefix), idlist::IDListFirst(item));
        if (!prefix)
            return -1;
        bool found = false;
        int count = Count();
        for (int i = position; i < count; ++i) {
            const TComboData* entry = Entry(i);
            if (!entry || entry->Level > level)
                continue;
            if (entry->Level < level)
                break; // past the parent's entries
            int order = idlist::IDListCompare(desktop, prefix.get(), entry->IDList.get());
            if (order == 0) {
                position = i + 1;
                found = true;
                break;
            }
            if (order > 0) {
                // After this sibling and everything listed below it.
                position = i + 1;
                while (position < count && Entry(position) && Entry(position)->Level > level)
                    ++position;
                i = position - 1;
            }
        }
        if (!found) {
            if (AddEntry(position, level, prefix.get()) < 0)
                return -1;
            ++position;
        }
    }
    return position - 1;
}

void TComboView::ShowFolder(PCIDLIST_ABSOLUTE absolute)
{
    if (!absolute || !Handle())
        return;
    RemovePathEntries();
    if (idlist::IDListCount(absolute) == 0) {
        SetCurrent(0);
        return;
    }
    SetCurrent(InsertPath(absolute));
}

void TComboView::Change()
{
    ComboBox::Change();
    SelectChosenInTree();
}

void TComboView::SelectChosenInTree()
{
    const TComboData* entry = Entry(Current());
    if (!entry || !folderView_)
        return;
    // The tree's answer may remove the chosen entry (an ancestor of the
    // folder shown before) while the tree still walks the identifier: hand
    // it a copy.
    AbsoluteIDList chosen = idlist::IDListCombine(entry->IDList.get(), nullptr);
    if (shview::TreeLink* tree = folderView_.get(); tree && chosen)
        tree->SelectIDList(chosen.get());
}

