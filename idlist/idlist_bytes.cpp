#include "idlist/idlist_bytes.h"

#include <cstring>

namespace idlist::idbytes {

const Byte* Skip(const Byte* list) noexcept
{
    return list ? list + ItemCount(list) : nullptr;
}

std::size_t Size(const Byte* list) noexcept
{
    if (!list)
        return 0;
    std::size_t size = 2;
    for (std::uint16_t cb; (cb = ItemCount(list)) != 0; list += cb)
        size += cb;
    return size;
}

std::size_t Count(const Byte* list) noexcept
{
    if (!list)
        return 0;
    std::size_t count = 0;
    for (std::uint16_t cb; (cb = ItemCount(list)) != 0; list += cb)
        ++count;
    return count;
}

const Byte* Rest(const Byte* list) noexcept
{
    if (!list || ItemCount(list) == 0)
        return nullptr;
    const Byte* next = Skip(list);
    return ItemCount(next) == 0 ? nullptr : next;
}

const Byte* LastItem(const Byte* list) noexcept
{
    const Byte* last = list;
    for (const Byte* next = Rest(list); next; next = Rest(next))
        last = next;
    return last;
}

std::size_t ParentBytes(const Byte* list) noexcept
{
    const Byte* last = LastItem(list);
    return last ? std::size_t(last - list) : 0;
}

std::size_t CombinedBytes(const Byte* p, const Byte* q) noexcept
{
    std::size_t a = p ? Size(p) - 2 : 0;
    return a + Size(q) + 2;
}

void WriteCombined(Byte* out, const Byte* p, const Byte* q) noexcept
{
    std::size_t a = p ? Size(p) - 2 : 0;
    std::size_t b = Size(q);
    if (a)
        std::memcpy(out, p, a);
    if (b)
        std::memcpy(out + a, q, b);
    out[a + b] = 0;
    out[a + b + 1] = 0;
}

} // namespace idlist::idbytes
