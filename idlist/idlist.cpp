// Measuring, walking, copying, combining and freeing identifier lists.
#include "idlist/idlist.h"

#include <cstring>

#include "idlist/idlist_bytes.h"

namespace idlist {
namespace {

const idbytes::Byte* Bytes(const ITEMIDLIST* list) noexcept
{
    return reinterpret_cast<const idbytes::Byte*>(list);
}

template <class Item>
const Item* AsList(const idbytes::Byte* bytes) noexcept
{
    return reinterpret_cast<const Item*>(bytes);
}

// p's items then q's, as a new list of the kind asked.
template <class Item>
BasicIDList<Item> Combined(const ITEMIDLIST* p, const ITEMIDLIST* q) noexcept
{
    std::size_t bytes = idbytes::CombinedBytes(Bytes(p), Bytes(q));
    BasicIDList<Item> combined = IDListAlloc<Item>(bytes);
    if (combined)
        idbytes::WriteCombined(reinterpret_cast<idbytes::Byte*>(combined.get()), Bytes(p), Bytes(q));
    return combined;
}

} // namespace

namespace detail {

ITEMIDLIST* AllocZeroed(SIZE_T bytes) noexcept
{
    IMalloc* malloc = ShellMalloc();
    if (!malloc)
        return nullptr;
    void* block = malloc->Alloc(bytes);
    if (!block)
        return nullptr;
    std::memset(block, 0, bytes);
    return static_cast<ITEMIDLIST*>(block);
}

} // namespace detail

PCUIDLIST_RELATIVE IDListSkip(PCUIDLIST_RELATIVE list) noexcept
{
    return AsList<ITEMIDLIST_RELATIVE>(idbytes::Skip(Bytes(list)));
}

UINT IDListSize(const ITEMIDLIST* list) noexcept
{
    return UINT(idbytes::Size(Bytes(list)));
}

UINT IDListCount(const ITEMIDLIST* list) noexcept
{
    return UINT(idbytes::Count(Bytes(list)));
}

ChildIDList IDListFirst(PCUIDLIST_RELATIVE list) noexcept
{
    if (!list)
        return {};
    std::size_t cb = idbytes::ItemCount(Bytes(list));
    ChildIDList first = IDListAlloc<ITEMID_CHILD>(cb + 2);
    if (first && cb)
        std::memcpy(first.get(), list, cb);
    return first;
}

AbsoluteIDList IDListCombine(PCIDLIST_ABSOLUTE p, PCUIDLIST_RELATIVE q) noexcept
{
    return Combined<ITEMIDLIST_ABSOLUTE>(p, q);
}

RelativeIDList IDListCombineRelative(PCUIDLIST_RELATIVE p, PCUIDLIST_RELATIVE q) noexcept
{
    return Combined<ITEMIDLIST_RELATIVE>(p, q);
}

AbsoluteIDList IDListCombineFree(AbsoluteIDList p, RelativeIDList q) noexcept
{
    return IDListCombine(p.get(), q.get());
}

RelativeIDList IDListCombineRelativeFree(RelativeIDList p, RelativeIDList q) noexcept
{
    return IDListCombineRelative(p.get(), q.get());
}

void IDListFree(ITEMIDLIST* list) noexcept
{
    if (!list)
        return;
    if (IMalloc* malloc = ShellMalloc())
        malloc->Free(list);
}

PCUIDLIST_RELATIVE IDListRest(PCUIDLIST_RELATIVE list) noexcept
{
    return AsList<ITEMIDLIST_RELATIVE>(idbytes::Rest(Bytes(list)));
}

AbsoluteIDList IDListParent(PCIDLIST_ABSOLUTE list) noexcept
{
    std::size_t bytes = idbytes::ParentBytes(Bytes(list));
    if (bytes == 0)
        return {};
    AbsoluteIDList parent = IDListAlloc<ITEMIDLIST_ABSOLUTE>(bytes + 2);
    if (parent)
        std::memcpy(parent.get(), list, bytes);
    return parent;
}

ChildIDList IDListLast(PCUIDLIST_RELATIVE list) noexcept
{
    if (!list)
        return {};
    return Combined<ITEMID_CHILD>(nullptr, AsList<ITEMIDLIST_RELATIVE>(idbytes::LastItem(Bytes(list))));
}

} // namespace idlist
