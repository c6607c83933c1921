// Byte layout of shell item identifier lists, free of any Windows header so it
// builds and is tested natively under the sanitizers.
//
// A list is a run of items, each a little-endian 16-bit byte count (counting
// itself) followed by bytes that only the folder that made the item reads, and
// ends with a zero count. The empty list (terminator only) is the desktop; a
// null pointer is "none" and is accepted everywhere below.
//
// Nothing here reads a byte that lies after the terminator of a well-formed
// list. An item whose count runs past the list's memory is outside what these
// functions accept: lists come from the shell or from this module.
#pragma once
#include <cstddef>
#include <cstdint>

namespace idlist::idbytes {

using Byte = unsigned char;

// Count of the item (or terminator) at `at`; `at` may be at any alignment.
inline std::uint16_t ItemCount(const Byte* at) noexcept
{
    return std::uint16_t(at[0] | (at[1] << 8));
}

// `list` + the count of its first item, with no test of the count (the
// terminator of an empty list gives `list` itself). None gives none.
const Byte* Skip(const Byte* list) noexcept;

// 2 + the sum of the items' counts; none gives 0, the empty list 2.
std::size_t Size(const Byte* list) noexcept;

// Number of items before the terminator; none and the empty list give 0.
std::size_t Count(const Byte* list) noexcept;

// The second item of the list, or none when the list is none, empty or holds
// one item. Points into `list`.
const Byte* Rest(const Byte* list) noexcept;

// The last item of the list: the list itself when it is empty or has one item.
// None gives none.
const Byte* LastItem(const Byte* list) noexcept;

// Bytes of all items but the last (no terminator); 0 when the list has fewer
// than two items.
std::size_t ParentBytes(const Byte* list) noexcept;

// Bytes a combination of p's items followed by q (items and terminator) takes:
// Size(p) - 2 (0 for none) + Size(q) (0 for none) + 2. With both none: 2.
std::size_t CombinedBytes(const Byte* p, const Byte* q) noexcept;

// Writes p's items, then q's items and terminator, and a zero count after
// them into `out`, which holds CombinedBytes(p, q) bytes.
void WriteCombined(Byte* out, const Byte* p, const Byte* q) noexcept;

} // namespace idlist::idbytes
