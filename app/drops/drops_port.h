// What the drop handling asks of the panes it takes drops on, and the real
// tree and list seen that way.
#pragma once
#include "ui/treeview.h"

#include <windows.h>

#include <functional>
#include <string>

class TFolderView;
class TFileView;

class DropPanes {
public:
    virtual ~DropPanes() = default;

    virtual HWND TreeWindow() const = 0;
    virtual HWND ListWindow() const = 0;
    // The tree node under a screen point that is a real folder; none over
    // empty space, the root or a folder without a file-system path.
    virtual ui::TreeNode FolderNodeAt(POINT screen) const = 0;
    virtual std::wstring NodeFolder(ui::TreeNode node) const = 0;
    // Moves the tree's drop highlight to `node` (none: no highlight).
    virtual void HighlightNode(ui::TreeNode node) = 0;
    // The list item under a screen point that is a folder; -1 for none.
    virtual int FolderItemAt(POINT screen) const = 0;
    virtual std::wstring ItemFolder(int item) const = 0;
    // The list's own record of an item's drop highlight: a refill drops it
    // with the items.
    virtual bool ItemHighlighted(int item) const = 0;
    virtual void HighlightItem(int item, bool on) = 0;
    // The folder in view; empty while it is a virtual one (the desktop's root).
    virtual std::wstring ViewFolder() const = 0;
    // The window that owns the shell's questions and progress.
    virtual HWND Owner() const = 0;
    // Files moved out of the folder in view: the list is refilled at the next refresh.
    virtual void ListChanged() = 0;
};

// The main window's tree and list; `listChanged` tells the automatic
// refresh that the list is to be refilled.
class ViewDropPanes final : public DropPanes {
public:
    ViewDropPanes(TFolderView& tree, TFileView& list, std::function<void()> listChanged)
        : tree_(tree), list_(list), listChanged_(std::move(listChanged))
    {
    }

    HWND TreeWindow() const override;
    HWND ListWindow() const override;
    ui::TreeNode FolderNodeAt(POINT screen) const override;
    std::wstring NodeFolder(ui::TreeNode node) const override;
    void HighlightNode(ui::TreeNode node) override;
    int FolderItemAt(POINT screen) const override;
    std::wstring ItemFolder(int item) const override;
    bool ItemHighlighted(int item) const override;
    void HighlightItem(int item, bool on) override;
    std::wstring ViewFolder() const override;
    HWND Owner() const override;
    void ListChanged() override
    {
        if (listChanged_)
            listChanged_();
    }

private:
    TFolderView& tree_;
    TFileView& list_;
    std::function<void()> listChanged_;
};
