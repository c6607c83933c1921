#include "tests/support/counting_malloc.h"

#include <algorithm>

namespace testsupport {

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

} // namespace testsupport
