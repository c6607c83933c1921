#include "shview/fileview/list_marks.h"

#include <commctrl.h>

namespace shview {
namespace {

// Messages to the list go to the control's own window procedure: through the
// subclass chain every one costs property look-ups, which add up over a list
// of thousands of items. None of these is one a subclass handles.
class Direct {
public:
    explicit Direct(HWND list)
        : list_(list), proc_(reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC)))
    {
    }
    LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) const noexcept
    {
        return proc_ ? CallWindowProcW(proc_, list_, msg, wp, lp) : SendMessageW(list_, msg, wp, lp);
    }
    int Count() const noexcept { return int(Send(LVM_GETITEMCOUNT, 0, 0)); }
    int Next(int after, UINT flags) const noexcept { return int(Send(LVM_GETNEXTITEM, WPARAM(after), flags)); }
    std::wstring Text(int index) const
    {
        wchar_t buffer[1024] = L"";
        LVITEMW item{};
        item.pszText = buffer;
        item.cchTextMax = 1024;
        int n = int(Send(LVM_GETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&item)));
        return std::wstring(buffer, std::size_t(n > 0 ? n : 0));
    }
    RECT Bounds(int index) const noexcept
    {
        RECT r{};
        r.left = LVIR_BOUNDS;
        if (!Send(LVM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)))
            return RECT{};
        return r;
    }
    DWORD View() const noexcept { return DWORD(GetWindowLongPtrW(list_, GWL_STYLE)) & LVS_TYPEMASK; }

private:
    HWND list_;
    WNDPROC proc_;
};

// The topmost (leftmost in list view) item at least partly in view; -1 for none.
int TopItem(const Direct& list)
{
    int count = list.Count();
    if (count <= 0)
        return -1;
    DWORD view = list.View();
    if (view == LVS_REPORT || view == LVS_LIST)
        return int(list.Send(LVM_GETTOPINDEX, 0, 0));
    // Icon views arrange the items in rows in list order: the items above the
    // view come first, so the first one whose bounds reach into it is found
    // by halving.
    int low = 0, high = count - 1;
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (list.Bounds(middle).bottom > 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

ListMark MarkOf(const Direct& direct, const ItemName& nameOf, int index)
{
    return {direct.Text(index), nameOf ? nameOf(index) : std::wstring()};
}

} // namespace

ListMarks TakeListMarks(const ui::ListView& list, const ItemName& nameOf)
{
    ListMarks marks;
    if (!list.Handle())
        return marks;
    Direct direct(list.Handle());
    for (int i = direct.Next(-1, LVNI_SELECTED); i >= 0; i = direct.Next(i, LVNI_SELECTED))
        marks.selected.push_back(MarkOf(direct, nameOf, i));
    if (int focused = direct.Next(-1, LVNI_FOCUSED); focused >= 0) {
        marks.focused = MarkOf(direct, nameOf, focused);
        marks.hasFocused = true;
    }
    if (int top = TopItem(direct); top >= 0) {
        RECT r = direct.Bounds(top);
        marks.top = MarkOf(direct, nameOf, top);
        marks.hasTop = true;
        marks.topX = r.left;
        marks.topY = r.top;
    }
    return marks;
}

void RestoreListMarks(ui::ListView& list, const ListMarks& marks, const ItemName& nameOf)
{
    if (!list.Handle() || (marks.selected.empty() && !marks.hasFocused && !marks.hasTop))
        return;
    Direct direct(list.Handle());
    std::vector<std::wstring> captions;
    int count = direct.Count();
    captions.reserve(std::size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        captions.push_back(direct.Text(i));
    ListPlan plan = PlanListMarks(marks, captions, nameOf);

    // Through the subclass chain: the owner hears of these changes.
    for (int index : plan.select)
        list.SetSelected(index, true);
    if (plan.focus >= 0)
        list.SetFocused(plan.focus);
    if (plan.top < 0)
        return;
    RECT now = direct.Bounds(plan.top);
    int dx = now.left - marks.topX;
    int dy = now.top - marks.topY;
    if (direct.View() == LVS_LIST) {
        // List view scrolls by whole columns.
        int width = now.right - now.left;
        dx = width > 0 ? dx / width : 0;
        dy = 0;
    }
    if (dx || dy)
        direct.Send(LVM_SCROLL, WPARAM(dx), LPARAM(dy));
}

} // namespace shview
