// Measuring, walking, copying, combining and freeing identifier lists.
#include "shview/idlist/idlist.h"

#include <cstring>

#include "shview/idlist/idlist_bytes.h"

namespace shview {
namespace {

const idbytes::Byte* Bytes(const ITEMIDLIST* list) noexcept
{
    return reinterpret_cast<const idbytes::Byte*>(list);
}

const ITEMIDLIST* AsList(const idbytes::Byte* bytes) noexcept
{
    return reinterpret_cast<const ITEMIDLIST*>(bytes);
}

} // namespace

void IDListTraits::Close(ITEMIDLIST* list) noexcept { IDListFree(list); }

const ITEMIDLIST* IDListSkip(const ITEMIDLIST* list) noexcept
{
    return AsList(idbytes::Skip(Bytes(list)));
}

UINT IDListSize(const ITEMIDLIST* list) noexcept
{
    return UINT(idbytes::Size(Bytes(list)));
}

UINT IDListCount(const ITEMIDLIST* list) noexcept
{
    return UINT(idbytes::Count(Bytes(list)));
}

IDList IDListAlloc(SIZE_T bytes) noexcept
{
    IMalloc* malloc = ShellMalloc();
    if (!malloc)
        return {};
    void* block = malloc->Alloc(bytes);
    if (!block)
        return {};
    std::memset(block, 0, bytes);
    return IDList::Adopt(static_cast<ITEMIDLIST*>(block));
}

IDList IDListFirst(const ITEMIDLIST* list) noexcept
{
    if (!list)
        return {};
    std::size_t cb = idbytes::ItemCount(Bytes(list));
    IDList first = IDListAlloc(cb + 2);
    if (first && cb)
        std::memcpy(first.get(), list, cb);
    return first;
}

IDList IDListCombine(const ITEMIDLIST* p, const ITEMIDLIST* q) noexcept
{
    std::size_t bytes = idbytes::CombinedBytes(Bytes(p), Bytes(q));
    IDList combined = IDListAlloc(bytes);
    if (combined)
        idbytes::WriteCombined(reinterpret_cast<idbytes::Byte*>(combined.get()), Bytes(p), Bytes(q));
    return combined;
}

IDList IDListCombineFree(IDList p, IDList q) noexcept
{
    return IDListCombine(p.get(), q.get());
}

void IDListFree(ITEMIDLIST* list) noexcept
{
    if (!list)
        return;
    if (IMalloc* malloc = ShellMalloc())
        malloc->Free(list);
}

const ITEMIDLIST* IDListRest(const ITEMIDLIST* list) noexcept
{
    return AsList(idbytes::Rest(Bytes(list)));
}

IDList IDListParent(const ITEMIDLIST* list) noexcept
{
    std::size_t bytes = idbytes::ParentBytes(Bytes(list));
    if (bytes == 0)
        return {};
    IDList parent = IDListAlloc(bytes + 2);
    if (parent)
        std::memcpy(parent.get(), list, bytes);
    return parent;
}

IDList IDListLast(const ITEMIDLIST* list) noexcept
{
    if (!list)
        return {};
    return IDListCombine(nullptr, AsList(idbytes::LastItem(Bytes(list))));
}

} // namespace shview
