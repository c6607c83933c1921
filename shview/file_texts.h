// Texts of the file list that need no window: the size and date columns and
// the extension mask. Kept apart from the list so they build and are tested
// natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace shview {

// Size column: (bytes >> 10) + 1 right-aligned in eight characters, then the
// unit ("KB"). Every byte count is taken whole: 0 and 1023 bytes give 1, 1024
// gives 2, 5 GiB gives 5242881; counts past eight digits widen the field.
std::wstring FileSizeText(std::uint64_t bytes, std::wstring_view unit);

// Date column "yy/mm/dd hh:nn": two-digit year, month and day joined by the
// date separator, a blank, two-digit hour (00-23) and minute joined by the
// time separator. Seconds are not shown.
std::wstring FileDateText(int year, int month, int day, int hour, int minute, std::wstring_view dateSeparator,
                          std::wstring_view timeSeparator);

// Whether an item passes the mask: every item when the mask is empty, every
// folder, and otherwise the items whose extension equals an entry with ASCII
// letters compared without regard to case. An empty extension matches nothing.
bool MaskShows(const std::vector<std::wstring>& mask, std::wstring_view name, bool folder);

} // namespace shview
