#include "shview/fileview/file_order.h"

namespace shview {
namespace {

template <class T>
int Three(T a, T b) noexcept
{
    return a < b ? -1 : b < a ? 1 : 0;
}

int NoDataFirst(const FileFacts& a, const FileFacts& b) noexcept { return Three(int(a.hasData), int(b.hasData)); }

} // namespace

int CompareFileSize(const FileFacts& a, const FileFacts& b) noexcept
{
    if (a.hasData != b.hasData || !a.hasData)
        return NoDataFirst(a, b);
    return Three(a.size, b.size);
}

int CompareFileTime(const FileFacts& a, const FileFacts& b) noexcept
{
    if (a.hasData != b.hasData || !a.hasData)
        return NoDataFirst(a, b);
    return Three(a.writeTime, b.writeTime);
}

void ResetSortDirections(SortDirectionTable& directions) noexcept { directions.fill(1); }

SortKey ColumnClick(SortDirectionTable& directions, int column) noexcept
{
    if (column < 0 || column >= int(directions.size()))
        return SortKey::None;
    directions[std::size_t(column)] = -directions[std::size_t(column)];
    static constexpr SortKey keys[] = {SortKey::Name, SortKey::Size, SortKey::Type, SortKey::Date};
    return keys[column];
}

} // namespace shview
