// What the previews ask of the list they draw over, and the file list seen
// that way.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

class TFileView;
class Previews;

class PreviewList {
public:
    virtual ~PreviewList() = default;

    // The list's window (none before it is made): drawn on, measured.
    virtual HWND Handle() const = 0;
    virtual int Count() const = 0;
    // An item's parsing path (its full path for a file); empty when it has none.
    virtual std::wstring ItemPath(int item) const = 0;
    // A value that stays with an item while it lives, whatever place a sort
    // gives it; items that cannot tell each other apart answer the same.
    virtual LPARAM ItemKey(int item) const = 0;
    // The view origin and an item's icon position, in the list's own terms.
    virtual POINT Origin() const = 0;
    virtual POINT ItemPosition(int item) const = 0;
    // An item's icon rectangle and label rectangle in client coordinates
    // (empty when the list has no such item).
    virtual RECT IconRect(int item) const = 0;
    virtual RECT LabelRect(int item) const = 0;
    // The item with the focus, -1 for none.
    virtual int FocusedItem() const = 0;
    virtual bool ItemSelected(int item) const = 0;
    virtual int SelectedCount() const = 0;
    // The side of the list's icons in pixels (its normal image list's).
    virtual int IconSide() const = 0;
    virtual DWORD ViewStyle() const = 0;
    virtual bool Focused() const = 0;
    // True while the list or its owner runs work that may open a nested
    // message loop (a fill, a file operation, a menu): nothing is animated.
    virtual bool Busy() const = 0;
    // Has the list paint an item's icon again (and so its preview).
    virtual void RepaintIcon(int item) = 0;
    // The list's custom draw; empty: the list paints on its own.
    virtual void SetCustomDraw(std::function<LRESULT(const NMLVCUSTOMDRAW&)> draw) = 0;
};

// A file list as the previews see it; `busy` says whether its owner is busy.
class FileViewPreviewList final : public PreviewList {
public:
    FileViewPreviewList(TFileView& view, std::function<bool()> busy) : view_(view), busy_(std::move(busy)) {}

    HWND Handle() const override;
    int Count() const override;
    std::wstring ItemPath(int item) const override;
    LPARAM ItemKey(int item) const override;
    POINT Origin() const override;
    POINT ItemPosition(int item) const override;
    RECT IconRect(int item) const override;
    RECT LabelRect(int item) const override;
    int FocusedItem() const override;
    bool ItemSelected(int item) const override;
    int SelectedCount() const override;
    int IconSide() const override;
    DWORD ViewStyle() const override;
    bool Focused() const override;
    bool Busy() const override { return busy_ && busy_(); }
    void RepaintIcon(int item) override;
    void SetCustomDraw(std::function<LRESULT(const NMLVCUSTOMDRAW&)> draw) override;

private:
    TFileView& view_;
    std::function<bool()> busy_;
};

// Has `previews` follow the items of `view`: let go of them before a fill
// drops them, start on the new ones after it, and keep to the same items
// when a sort moves them.
void FollowItems(TFileView& view, Previews& previews);
