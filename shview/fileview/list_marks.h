// Keeping the file list's selection, focus and scroll position across an
// automatic refill of the same folder: taken before the refill, put back
// after it on the same items, known by their parsing names (a file list's)
// or else by their captions.
#pragma once
#include "shview/fileview/list_keep.h"
#include "ui/listview.h"

#include <concepts>
#include <string>
#include <utility>

namespace shview {

// The selected, focused and topmost visible items of `list`, named by
// `nameOf` (none: by their captions alone).
ListMarks TakeListMarks(const ui::ListView& list, const ItemName& nameOf = {});

// Selects and focuses the items of `marks` that are still in `list` (the rest
// of the list unselected) and scrolls the former top item back to the top;
// `nameOf` names the refilled items as it named the marked ones.
void RestoreListMarks(ui::ListView& list, const ListMarks& marks, const ItemName& nameOf = {});

// A list that gives each item's parsing name (the file list's ItemPath) and
// its sort order: its items are known again by their names, and the order
// the user chose is put back before the marks.
template <class Files>
concept NamedSortedList = requires(Files& files, const shview::ListOrder& order, int index) {
    { std::as_const(files).ItemPath(index) } -> std::convertible_to<std::wstring>;
    { std::as_const(files).Order() } -> std::convertible_to<shview::ListOrder>;
    files.SetOrder(order);
};

template <NamedSortedList Files>
ListMarks TakeListMarks(const Files& list)
{
    ListMarks marks =
        TakeListMarks(static_cast<const ui::ListView&>(list), [&list](int index) { return list.ItemPath(index); });
    marks.order = list.Order();
    marks.hasOrder = true;
    return marks;
}

template <NamedSortedList Files>
void RestoreListMarks(Files& list, const ListMarks& marks)
{
    if (marks.hasOrder && list.Handle())
        list.SetOrder(marks.order);
    RestoreListMarks(static_cast<ui::ListView&>(list), marks, [&list](int index) { return list.ItemPath(index); });
}

} // namespace shview
