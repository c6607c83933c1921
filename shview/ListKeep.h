// Keeping the file list's selection, focus and scroll position across an
// automatic refill of the same folder: taken before the refill, put back
// after it on the items whose names still exist.
#pragma once
#include "shview/list_keep.h"
#include "ui/listview.h"

namespace shview {

// The selected, focused and topmost visible items of `list`, by caption.
ListMarks TakeListMarks(const ui::ListView& list);

// Selects and focuses the items of `marks` that are still in `list` (the rest
// of the list unselected) and scrolls the former top item back to the top.
void RestoreListMarks(ui::ListView& list, const ListMarks& marks);

} // namespace shview
