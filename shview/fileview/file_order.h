// Orders of the file list's columns that need no window: the facts each item
// keeps for sorting, their comparisons, and the column-click direction rules.
#pragma once
#include <array>
#include <cstdint>

namespace shview {

// What the size and date columns show, kept as numbers so that they sort by
// value. `hasData` is false for items the shell gives no file data for
// (drives, virtual items): their size and date texts are empty.
struct FileFacts {
    bool hasData = false;
    std::uint64_t size = 0;
    // Last write time in 100 ns units since 1601 (a FILETIME as one number).
    std::uint64_t writeTime = 0;
};

// Ascending comparisons (<0, 0, >0). Items without data sort before every
// item with data, and equal among themselves.
int CompareFileSize(const FileFacts& a, const FileFacts& b) noexcept;
int CompareFileTime(const FileFacts& a, const FileFacts& b) noexcept;

// The key a column sorts by.
enum class SortKey { Name, Size, Type, Date, None };

// +1 (ascending) or -1 per column.
using SortDirectionTable = std::array<int, 4>;

// Every column ascending again (each fill does this).
void ResetSortDirections(SortDirectionTable& directions) noexcept;

// A click on column `column`: flips its direction and answers the key to sort
// by. A column the table has no entry for changes nothing and answers None.
SortKey ColumnClick(SortDirectionTable& directions, int column) noexcept;

// A comparison result turned to the direction (+1 keeps it, -1 reverses it).
inline int Directed(int compare, int direction) noexcept
{
    int sign = compare < 0 ? -1 : compare > 0 ? 1 : 0;
    return direction < 0 ? -sign : sign;
}

} // namespace shview
