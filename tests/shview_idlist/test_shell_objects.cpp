#include "tests/shview_idlist/test_shell_objects.h"

#include <algorithm>
#include <cstring>

namespace idtest {

CountingMalloc::~CountingMalloc()
{
    for (const void* p : live_)
        CoTaskMemFree(const_cast<void*>(p));
}

HRESULT CountingMalloc::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IMalloc) {
        *out = static_cast<IMalloc*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

void* CountingMalloc::Alloc(SIZE_T cb)
{
    if (failAlloc)
        return nullptr;
    void* p = CoTaskMemAlloc(cb ? cb : 1);
    if (p) {
        ++allocs;
        live_.insert(p);
        sizes_.emplace_back(p, cb);
    }
    return p;
}

void* CountingMalloc::Realloc(void*, SIZE_T)
{
    return nullptr;
}

void CountingMalloc::Free(void* pv)
{
    if (!pv)
        return;
    if (live_.erase(pv)) {
        ++frees;
        sizes_.erase(std::remove_if(sizes_.begin(), sizes_.end(), [pv](auto& e) { return e.first == pv; }),
                     sizes_.end());
    } else {
        ++foreignFrees;
    }
    CoTaskMemFree(pv);
}

SIZE_T CountingMalloc::GetSize(void* pv)
{
    for (auto& e : sizes_)
        if (e.first == pv)
            return e.second;
    return SIZE_T(-1);
}

HRESULT FakeFolder::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IShellFolder) {
        *out = static_cast<IShellFolder*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeFolder::ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten, PIDLIST_RELATIVE* pidl,
                                     ULONG*)
{
    parsed.emplace_back(name ? name : L"");
    *pidl = nullptr;
    if (FAILED(parseResult))
        return parseResult;
    *pidl = MakeList({6}).release();
    if (eaten)
        *eaten = ULONG(parsed.back().size());
    return S_OK;
}

HRESULT FakeFolder::BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx*, REFIID iid, void** out)
{
    bound.push_back(BytesOf(pidl));
    *out = nullptr;
    if (FAILED(bindResult))
        return bindResult;
    return QueryInterface(iid, out);
}

HRESULT FakeFolder::GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags, STRRET* name)
{
    lastNamed = pidl;
    if (!displayName)
        return E_NOTIMPL;
    return displayName(pidl, flags, name);
}

std::size_t ListBytes(const std::vector<USHORT>& counts)
{
    std::size_t size = 2;
    for (USHORT cb : counts)
        size += cb;
    return size;
}

void WriteItems(ITEMIDLIST* list, const std::vector<USHORT>& counts, BYTE seed)
{
    auto* at = reinterpret_cast<BYTE*>(list);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        std::memcpy(at, &counts[i], 2);
        std::memset(at + 2, int(i + 1 + seed), counts[i] - 2u);
        at += counts[i];
    }
}

std::vector<BYTE> BytesOf(const ITEMIDLIST* list)
{
    if (!list)
        return {};
    auto* at = reinterpret_cast<const BYTE*>(list);
    return std::vector<BYTE>(at, at + shview::IDListSize(list));
}

} // namespace idtest
