// The folder combo box: a drop-down list of folders in the manner of an
// address box. It always lists the desktop, the desktop's folders and the
// drives (the folders of the computer folder), indented by depth, each with
// its small shell icon and display name; when a deeper folder is shown, the
// entries of its ancestors are inserted at their places so that the path to
// it is visible. Choosing an entry selects that folder in the linked folder
// tree, and the tree tells the box which folder it shows.
//
// The box and the tree do not know each other's classes: the tree links the
// box through shview/view_links.h (its SetComboView), both ways; the link
// empties itself when either of them goes.
#pragma once
#include "idlist/idlist.h"
#include "shview/view_links.h"
#include "ui/combobox.h"
#include "ui/image_list.h"

#include <memory>
#include <vector>

// One entry of the box: the control's entry holds only a pointer to it.
struct TComboData {
    // The entry's folder (absolute, owned), freed with the entry.
    idlist::AbsoluteIDList IDList;
    // Depth: 0 the desktop, 1 its folders, 2 the folders below those, ...
    int Level = 0;
    // The entry's position in the control when it was inserted.
    int Index = 0;
};

class TComboView : public ui::ComboBox, public shview::FolderLink {
public:
    using Entries = std::vector<std::unique_ptr<TComboData>>;

    TComboView();
    ~TComboView() override;

    // Creates the box (200 pixels wide, 8 entries dropped down), builds the
    // fixed entries and selects the desktop.
    bool Create(HWND parent, int id = 0);
    // Sizes the entries and their icons for `dpi`: the small-icon size of
    // that DPI (or the text's height, whichever is taller). The box follows
    // its parent's moves to another DPI by itself where the system tells it.
    void SetDpi(int dpi);

    // Lists the desktop, its folders and the drives again, from the shell.
    // ListBuilt stays false when the computer folder cannot be read.
    void BuildList();
    // Inserts the entries that `absolute` and its ancestors do not have yet,
    // each under its parent in the desktop's order; gives the position of the
    // entry of `absolute` itself (-1 if none could be made).
    int InsertPath(PCIDLIST_ABSOLUTE absolute);
    // Shows a folder: the previous folder's inserted entries go, the path to
    // this one is inserted and its entry selected. Raises nothing.
    void ShowFolder(PCIDLIST_ABSOLUTE absolute);

    bool ListBuilt() const noexcept { return listBuilt_; }
    // Entries made by BuildList, and by the last ShowFolder.
    const Entries& FixedEntries() const noexcept { return fixed_; }
    const Entries& PathEntries() const noexcept { return path_; }
    // The data of the control's entry at `index`, or none.
    const TComboData* Entry(int index) const noexcept;

    // Number of entries the dropped list shows without scrolling (default 8).
    int DropDownCount() const noexcept { return dropDownCount_; }
    void SetDropDownCount(int count) noexcept;

    // The folder tree kept in step with this box, linked by the tree's
    // SetComboView: a user's choice selects its folder in the tree, and the
    // tree's selection is shown here (SetFolder).
    shview::TreeLink* FolderView() const noexcept { return folderView_.get(); }
    void SetFolder(PCIDLIST_ABSOLUTE absolute) override { ShowFolder(absolute); }
    void LinkTree(shview::TreeLink* tree) override { folderView_ = tree; }
    ui::Component& LinkedComponent() noexcept override { return *this; }

    // Left edge of an entry's icon: 10 pixels per level (at 96 DPI, scaled
    // to `dpi`) in the dropped list, one pixel in from the left in the
    // selection field.
    static int EntryLeft(const RECT& rect, int level, bool selectionField, int dpi = 96) noexcept;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    // Raises OnChange, then selects the chosen folder in the linked tree.
    void Change() override;

private:
    // A new entry at `position` for a copy of `absolute`; it joins the path
    // entries once the list is built, the fixed ones before. Its position, or -1.
    int AddEntry(int position, int level, PCIDLIST_ABSOLUTE absolute);
    // Frees every entry's data and empties the control.
    void ClearEntries();
    // Removes the entries the last ShowFolder inserted.
    void RemovePathEntries();
    // Inserts the folders of `folder` (whose absolute identifier is `parent`);
    // false if it cannot be listed.
    bool InsertChildren(IShellFolder* folder, PCIDLIST_ABSOLUTE parent, HWND owner);
    int PositionOf(const TComboData* data) const noexcept;
    // Selects the folder of the selected entry in the linked tree.
    void SelectChosenInTree();

    bool listBuilt_ = false;
    Entries fixed_;
    Entries path_;
    int dropDownCount_ = 8;
    ui::ShellImageList images_;
    shview::PeerLink<shview::TreeLink> folderView_;
};
