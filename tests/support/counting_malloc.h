// An allocator over the task allocator that counts what passes through it,
// for tests that must see every identifier list made and freed. Lives on the
// stack of a test.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <set>
#include <utility>
#include <vector>

#include "ui/com_object.h"

namespace testsupport {

class CountingMalloc final : public ui::ComObject<IMalloc> {
public:
    CountingMalloc() = default;
    ~CountingMalloc() override = default;
    int allocs = 0;
    int frees = 0;          // of blocks it handed out
    int foreignFrees = 0;   // of blocks it never handed out
    bool failAlloc = false; // answer every Alloc with none
    int AllFrees() const { return frees + foreignFrees; }
    std::size_t Live() const { return live_.size(); }
    bool Owns(const void* p) const { return live_.count(p) != 0; }

    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override;
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override;
    void STDMETHODCALLTYPE Free(void* pv) override;
    SIZE_T STDMETHODCALLTYPE GetSize(void* pv) override;
    int STDMETHODCALLTYPE DidAlloc(void* pv) override { return Owns(pv) ? 1 : 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}

protected:
    void Destroy() noexcept override {}

private:
    std::set<const void*> live_;
    std::vector<std::pair<const void*, SIZE_T>> sizes_;
};

} // namespace testsupport
