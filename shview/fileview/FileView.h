// The file list: one shell folder's items with the shell's icons, names,
// sizes, type names and dates; sorted by column, opened, renamed and deleted
// through the shell, handed to the context menu and the drag source.
#pragma once
#include "shell/ContextMenuEx.h"
#include "shell/DropSourceEx.h"
#include "shview/fileview/file_order.h"
#include "idlist/idlist.h"
#include "shview/fileview/list_keep.h"
#include "shview/view_links.h"
#include "ui/busy.h"
#include "ui/image_list.h"
#include "ui/listview.h"

#include <array>
#include <functional>
#include <string>
#include <memory>
#include <unordered_map>
#include <vector>

namespace shview {
struct FillEntry;
}

class TFileView : public ui::ListView, public shview::FolderLink {
public:
    TFileView();
    ~TFileView() override;

    // Creates the control's window (columns, the shell's image lists for the
    // window's DPI) and fills it if a folder was already set.
    bool Create(HWND parent, int id = 0);
    // Shows the shell's icons at the icon sizes of `dpi` (the window moved
    // to a monitor of that DPI); the indices of the items stay good.
    void SetDpi(int dpi);

    // Points the list at a folder (an absolute identifier, copied) and fills
    // it. None changes nothing.
    void SetFolder(PCIDLIST_ABSOLUTE absolute) override;
    // Fills the list from the folder. If the folder cannot be read, a linked
    // tree goes back to its previous node; without a tree the old items stay
    // (ShellFolder() still names the folder that failed; the items keep
    // answering for the folder they came from).
    //
    // The items are read in slices of at most kFillSliceMs (or fillSliceItems
    // when set): the first at once, the rest from the list's own messages,
    // so that a large folder's items appear as they are read and the window
    // answers meanwhile. A file-system folder is read on a thread of its own,
    // and its old items stay until that thread has opened it; they go in
    // slices too, before the new ones come. Each item goes
    // in at its place in the current order; past sortedInsertLimit items
    // they are added at the end and sorted each time the list is shown
    // (those of a reader thread, which orders them itself, at the end).
    // A new fill (or a new folder) drops the one under way.
    void FillList();
    // Reads the folder again (as a fill does, off the window's thread for a
    // file-system folder) and brings the items in line with it in place:
    // known by their parsing names, the items gone are taken out, the new
    // ones put in at their place in the current order, those whose size,
    // date or attributes changed read again (with `everything`, all of
    // them, icons and types included). Selection, focus, order, scrolling
    // and every other item stay; the list is never empty meanwhile. Over
    // another folder's items, or during a fill that replaces them, a fill.
    void ReadAgain(bool everything = false);
    // True while a fill has items still to read.
    bool Filling() const noexcept { return fill_ != nullptr; }
    // Runs `then` once the list is filled: at once when no fill is under
    // way, else when the fill then under way (or one that replaced it) ends.
    void AfterFill(std::function<void()> then);
    static constexpr unsigned kFillSliceMs = 40;
    int fillSliceItems = 0;
    static constexpr int kSortedInsertLimit = 131072;
    int sortedInsertLimit = kSortedInsertLimit;
    // Slices run by the fills so far (the first of each fill included).
    int FillSlicesRun() const noexcept { return slicesRun_; }
    // Parsing path of an item (its full path for file-system items); empty
    // without a folder or an identifier.
    std::wstring ItemPath(int index) const;
    std::wstring SelectedPath() const;
    // Sends the selected files to the recycle bin through the shell (which
    // asks its own confirmation) and refills. Beeps and deletes nothing if a
    // selected item has no file-system path; says in a box which file's path
    // is too long for the shell's file operations and deletes nothing.
    void DeleteSelectedFiles();
    // The item's relative identifier (owned by the item), relative to the
    // folder the items were filled from.
    PCUITEMID_CHILD ItemIDList(int index) const noexcept;

    // Extensions to show, dot included (".cur"); empty shows everything.
    void SetMask(const std::vector<std::wstring>& mask) { Mask = mask; }
    std::vector<std::wstring> Mask;
    // A double click on a file runs it through the shell.
    bool FileExecute = true;

    // Raised with true before and false after every fill, rename, delete and
    // double-click run, in pairs (also when one throws): each may run the
    // shell's dialogs and so a nested message loop.
    ui::BusyEvent OnBusy;
    // Every fill that reads its folder raises OnItemsReplacing before the
    // old items go and OnItemsReplaced once the new ones are in and sorted,
    // whatever asked for it (a folder change, a refresh, a delete, a
    // rename). A fill that fails keeps the items and raises neither.
    ui::Event<ui::Component*> OnItemsReplacing;
    ui::Event<ui::Component*> OnItemsReplaced;
    // A column click sorted the items: the same items, in a new order.
    ui::Event<ui::Component*> OnItemsReordered;
    // ReadAgain's changes, one item at a time, with the item's index: raised
    // before one goes, after one came, after one was read again.
    ui::Event<ui::Component*, int> OnItemDeleting;
    ui::Event<ui::Component*, int> OnItemInserted;
    ui::Event<ui::Component*, int> OnItemUpdated;

    // The tree driving this list; set through the tree's SetFileView.
    shview::PeerLink<shview::TreeLink> FolderView;
    void LinkTree(shview::TreeLink* tree) override { FolderView = tree; }
    ui::Component& LinkedComponent() noexcept override { return *this; }
    ui::Link<TContextMenuEx> ContextMenu;
    ui::Link<TDropSourceEx> DropSource;

    PCIDLIST_ABSOLUTE FolderIDList() const noexcept { return folderIDList_.get(); }
    IShellFolder* ShellFolder() const noexcept { return shellFolder_.get(); }

    // +1 or -1 per column; shared by every file list, reset by every fill.
    static shview::SortDirectionTable SortDirections;
    // The order the items are shown in: the folder's own by name after a
    // fill, the last column clicked since. SetOrder sorts the items in an
    // order taken before (an automatic refill keeps the user's order).
    shview::SortKey SortOrder() const noexcept { return sortKey_; }
    shview::ListOrder Order() const noexcept { return {sortKey_, SortDirections}; }
    void SetOrder(const shview::ListOrder& order);

    // Sorts as a click on the column header does (flipping its direction).
    void ColumnClick(int column);

    // Per-item records alive (each item owns one: identifier, size, time).
    std::size_t ItemRecordCount() const noexcept { return records_.size(); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    void DblClick() override;
    // The menu key or Shift+F10: what a right click on the focused selected
    // item would do, raised at that item.
    void KeyContextMenu();
    // The list's custom draw after whoever else drew (`result` is their
    // answer): an item marked as a drop target is drawn in the highlight
    // colours, which the control itself does not do everywhere.
    LRESULT DropHighlightDraw(NMLVCUSTOMDRAW& draw, LRESULT result) const noexcept;

private:
    struct Item;
    Item* RecordOf(int index) const noexcept;
    void FreeItem(LPARAM data) noexcept;
    void FreeAllItems() noexcept;
    struct FillContext;
    struct Row;
    // What an entry shows: its record and its row's texts and icon.
    Row ReadRow(FillContext& fill, shview::FillEntry entry);
    // Sets an item's size, type and date columns.
    void SetColumnTexts(FillContext& fill, int index, Row& read, Item& record);
    // Inserts an entry at its place; its index, -1 if the list refused it.
    int AddEntry(FillContext& fill, shview::FillEntry entry);
    // Shows `entry` in item `index` instead of what it showed.
    void UpdateEntry(FillContext& fill, int index, shview::FillEntry entry);
    // Brings the items in line with the entries a ReadAgain gathered.
    void ApplyGathered(FillContext& fill);
    // Fills, or with `merge` reads again in place (`everything`: see ReadAgain).
    void Fill(bool merge, bool everything = false);
    // Starts a fill (dropping one under way); false when the folder cannot
    // be enumerated (nothing touched).
    bool StartFill(bool merge, bool everything);
    // The old items are to go, for those of the fill's folder.
    void ReplaceItems(FillContext& fill);
    // Deletes old items until `until`; true once none is left, and the list
    // is the fill's folder's. A fill dropped meanwhile leaves the rest to
    // the next.
    bool ClearOldItems(FillContext& fill, double until);
    class QuietFill;
    // The next item to add; false when none is there before `until` (`done`
    // tells whether the folder has no more).
    bool NextEntry(FillContext& fill, double until, shview::FillEntry& entry, bool& done);
    // The reader could not open the fill's folder: reads it here, with the
    // list as the owner the shell may ask the user from; false if it fails.
    bool ReadHere(FillContext& fill);
    // The folder could not be read: a box saying why (its path is too long,
    // or the system's own words for failure_), and a linked tree goes back.
    void FillFailed();
    // Says in a box that the folder's path is too long to read it, if it
    // is (true then); with `refusedOnly`, only if the system refuses to read it so.
    bool ReportUnreadable(bool refusedOnly);
    // Says in a box that the folder cannot be read, and why.
    void ReportFailure(HRESULT failure);
    // Sorts the items a fill added at the end; those of a folder's reader
    // only at the `last`, in the order it gives.
    void SortAdded(bool last);
    // Reads the next slice of items; the fill ends after the last.
    void RunSlice();
    void ContinueFill();
    void ScheduleSlice();
    void FinishFill();
    void DropFill() noexcept;
    // Redraws the list after a fill held it, laid out for its width.
    void ShowFilled() noexcept;
    // The fill's own messages (its next slice); true when `msg` was one.
    bool FillMessage(UINT msg, WPARAM wp);
    // Where an item ordered after the items already in place goes.
    int InsertionPoint(FillContext& fill, const Item& item) const;
    int CompareItems(const Item& a, const Item& b) const;
    bool EndLabelEdit(const NMLVDISPINFOW& info);
    // The index of the item whose identifier names the same item as `id` in
    // the folder the items came from (`hint` is tried first); -1 if none.
    int IndexOfItem(IShellFolder* folder, PCUITEMID_CHILD id, int hint) const;
    void SortBy(shview::SortKey key);
    // The selected items packed into one list, last selected first.
    idlist::RelativeIDList PackSelected(int& count) const;
    // The selected items packed last-first, with their folder, for the menu or a drag.
    struct Selection {
        int count = 0;
        idlist::RelativeIDList packed;
        ui::ComPtr<IShellFolder> folder;
    };
    bool TakeSelection(Selection& selection) const;

    ui::ShellImageList largeImages_;
    ui::ShellImageList smallImages_;
    idlist::AbsoluteIDList folderIDList_;
    ui::ComPtr<IShellFolder> shellFolder_;
    // The folder the items were filled from: the same as the two above except
    // after a failed fill without a tree.
    idlist::AbsoluteIDList itemsFolderIDList_;
    ui::ComPtr<IShellFolder> itemsFolder_;
    DWORD savedViewStyle_ = LVS_ICON;
    shview::SortKey sortKey_ = shview::SortKey::Name;
    bool filling_ = false; // a slice runs
    bool refillPending_ = false;
    bool wentBack_ = false;             // a failed fill sent the tree back
    HRESULT failure_ = S_OK;            // why the folder could not be read
    std::unique_ptr<FillContext> fill_; // the fill under way between slices
    std::vector<std::function<void()>> afterFill_;
    int slicesRun_ = 0;
    unsigned fillNumber_ = 0; // tells a posted slice of a dropped fill
    // Every item record, owned here; the list control's lParam only points at one.
    std::unordered_map<const Item*, std::unique_ptr<Item>> records_;
};
