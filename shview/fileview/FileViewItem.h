// The record each file list item owns (its LPARAM): the item's identifier,
// relative to the folder the list was filled from, and the facts its columns
// sort by. Freed when the list control deletes the item.
#pragma once
#include "shview/fileview/FileView.h"
#include "shview/fileview/fill_feed.h"
#include "shview/fileview/shell_info_cache.h"
#include "shview/fileview/whole_sizes.h"

struct TFileView::Item {
    idlist::ChildIDList id;
    shview::FileFacts facts;
    std::wstring typeText;
    // During a fill, the item's number from its folder's reader; then its
    // place in the folder's order, when the reader gave one.
    std::uint32_t rank = 0;
    // What a ReadAgain knows the item by and compares: its name in the
    // folder (the file's own, else its caption), its attributes and its
    // size as the folder gave them.
    std::wstring name;
    SFGAOF attributes = 0;
    std::uint64_t readSize = 0;
};

struct TFileView::Row {
    std::unique_ptr<Item> item;
    std::wstring caption, sizeText, dateText;
    int image = -1;
};

// The notifications of the fill's inserts and deletions are of no use, and
// each costs the parent's subclass chain (see FillContext): none is
// reflected while one of these lives. No message loop may run meanwhile.
class TFileView::QuietFill {
public:
    explicit QuietFill(TFileView& view) noexcept : view_(view) { view_.PauseReflection(); }
    ~QuietFill() { view_.ResumeReflection(); }
    QuietFill(const QuietFill&) = delete;
    QuietFill& operator=(const QuietFill&) = delete;

private:
    TFileView& view_;
};

// What every item of one fill is read with, kept between its slices.
struct TFileView::FillContext {
    FillContext() = default;
    // However the fill ends, its reader stops at its next item.
    ~FillContext()
    {
        if (feed)
            feed->Cancel();
    }
    FillContext(const FillContext&) = delete;
    FillContext& operator=(const FillContext&) = delete;
    ui::ComPtr<IShellFolder> folderRef;
    idlist::AbsoluteIDList folderIDList; // the list's, once the old items are gone
    ui::ComPtr<IEnumIDList> items;
    // Or the reader of a file-system folder's items, on its own thread; the
    // old items stay until it has opened the folder.
    std::shared_ptr<shview::FillFeed> feed;
    std::deque<shview::FillEntry> pending; // taken from the feed, not yet in
    bool replaced = false;                 // the old items are going
    bool cleared = false;                  // and have gone
    ui::ComPtr<IShellIcon> iconsRef;
    IShellFolder* folder = nullptr;
    IShellIcon* icons = nullptr; // Wine's folders do not offer it; the shell's own may
    std::wstring dateSeparator;
    std::wstring timeSeparator;
    shview::WholeSizes sizes;
    shview::ShellInfoCache shellInfo;
    bool hadSelection = false;
    bool redrawHeld = false; // the list's redrawing is off until a later slice
    int shown = 0;           // items there when the list last showed them
    bool showDue = false;    // to be shown in the next message
    bool unsorted = false;   // items were added at the end, out of order
    // A ReadAgain: the entries are gathered, then brought in at the end
    // (with `everything`, each item read again).
    bool merge = false;
    bool everything = false;
    std::vector<shview::FillEntry> gathered;
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
    const Item* At(int index) const noexcept
    {
        LVITEMW row{};
        row.mask = LVIF_PARAM;
        row.iItem = index;
        return Send(LVM_GETITEMW, 0, &row) ? reinterpret_cast<const Item*>(row.lParam) : nullptr;
    }
};
