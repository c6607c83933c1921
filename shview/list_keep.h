// What the user had marked in the file list, carried across a refill of the
// same folder: the selected items, the focused item and the item at the top
// of the view, all named by their captions. Window-free.
#pragma once
#include <string>
#include <vector>

namespace shview {

// Captions taken from the list before a refill. Two items of one caption
// (extensions hidden) are two entries; they are matched again in list order.
struct ListMarks {
    std::vector<std::wstring> selected;
    std::wstring focused; // empty: no focused item
    std::wstring top;     // the topmost visible item
    bool hasFocused = false;
    bool hasTop = false;
    int topX = 0, topY = 0; // where the top item's bounds began, in client coordinates
};

// Where the marks land in the refilled list (indices into its captions).
struct ListPlan {
    std::vector<int> select; // ascending
    int focus = -1;          // -1: the name is gone
    int top = -1;            // -1: the name is gone
};

// Matches the marks against the captions of the refilled list, in order.
// Names that are gone are dropped; a name selected twice selects its first
// two items of that caption, and so on.
ListPlan PlanListMarks(const ListMarks& marks, const std::vector<std::wstring>& captions);

} // namespace shview
