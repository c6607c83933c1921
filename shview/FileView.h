// The file list: one shell folder's items with the shell's icons, names,
// sizes, type names and dates; sorted by column, opened, renamed and deleted
// through the shell, handed to the context menu and the drag source.
#pragma once
#include "shell/ContextMenuEx.h"
#include "shell/DropSourceEx.h"
#include "shview/idlist.h"
#include "ui/listview.h"

#include <array>
#include <string>
#include <vector>

class TFolderView;

class TFileView : public ui::ListView {
public:
    TFileView();
    ~TFileView() override;

    // Creates the control's window (columns, shared system image lists).
    bool Create(HWND parent, int id = 0);

    // Points the list at a folder (an absolute identifier, copied) and fills it.
    void SetFolder(const ITEMIDLIST* absolute);
    void FillList();
    // Parsing path of an item (its full path for file-system items); empty
    // without a folder or an identifier.
    std::wstring ItemPath(int index) const;
    std::wstring SelectedPath() const;
    void DeleteSelectedFiles();
    // The item's relative identifier (owned by the item).
    const ITEMIDLIST* ItemIDList(int index) const noexcept;

    // Extensions to show, dot included (".cur"); empty shows everything.
    void SetMask(const std::vector<std::wstring>& mask) { Mask = mask; }
    std::vector<std::wstring> Mask;
    bool FileExecute = true;

    ui::Link<TFolderView> FolderView; // set by the tree's FileView property
    ui::Link<TContextMenuEx> ContextMenu;
    ui::Link<TDropSourceEx> DropSource;

    const ITEMIDLIST* FolderIDList() const noexcept { return folderIDList_.get(); }
    IShellFolder* ShellFolder() const noexcept { return shellFolder_.get(); }

    // +1 or -1 per column; shared by every file list, reset by every fill.
    static std::array<int, 4> SortDirections;

protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
    void DblClick() override;

private:
    shview::IDList folderIDList_;
    ui::ComPtr<IShellFolder> shellFolder_;
    DWORD savedViewStyle_ = LVS_ICON;
};
