// What the user had marked in the file list, carried across a refill of the
// same folder: the selected items, the focused item and the item at the top
// of the view, and the order the list was sorted in. Items are known again by their parsing names, not by their
// captions: with extensions hidden "arrow.ani" and "arrow.cur" both read
// "arrow". Window-free.
#pragma once
#include "shview/fileview/file_order.h"

#include <functional>
#include <string>
#include <vector>

namespace shview {

// One item as it was marked: its caption, and its parsing name in the folder
// (empty when the list gave none; then the caption alone names it).
struct ListMark {
    std::wstring caption;
    std::wstring name;
};

// The column the list was sorted by and every column's direction.
struct ListOrder {
    SortKey key = SortKey::Name;
    SortDirectionTable directions{1, 1, 1, 1};
};

// Marks taken from the list before a refill. Two items of one name (only
// when the list gave no names) are two entries, matched again in list order.
struct ListMarks {
    std::vector<ListMark> selected;
    ListMark focused;
    ListMark top; // the topmost visible item
    bool hasFocused = false;
    bool hasTop = false;
    int topX = 0, topY = 0; // where the top item's bounds began, in client coordinates
    bool hasOrder = false;  // the list's order was taken (a file list's)
    ListOrder order;
};

// Where the marks land in the refilled list (indices into its captions).
struct ListPlan {
    std::vector<int> select; // ascending
    int focus = -1;          // -1: the item is gone
    int top = -1;            // -1: the item is gone
};

// The parsing name of the refilled list's item at an index.
using ItemName = std::function<std::wstring(int index)>;

// Matches the marks against the refilled list, in order. An item is the
// marked one when its caption is the mark's and, where the mark has a name,
// `nameOf` gives the same name (asked only of items whose caption matches
// some mark). Marks whose item is gone are dropped.
ListPlan PlanListMarks(const ListMarks& marks, const std::vector<std::wstring>& captions, const ItemName& nameOf);

} // namespace shview
