// Stand-ins for the shell's allocator and a folder, for tests that must see
// every allocation and every question the identifier operations ask.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "shview/idlist/idlist.h"

namespace idtest {

// An allocator over the task allocator that counts what passes through it.
// Lives on the stack of a test; reference counting is only pretended.
class CountingMalloc : public IMalloc {
public:
    ~CountingMalloc();
    int allocs = 0;
    int frees = 0;
    int foreignFrees = 0;     // blocks it never handed out
    bool failAlloc = false;   // answer every Alloc with none
    std::size_t Live() const { return live_.size(); }
    bool Owns(const void* p) const { return live_.count(p) != 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override;
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override;
    void STDMETHODCALLTYPE Free(void* pv) override;
    SIZE_T STDMETHODCALLTYPE GetSize(void* pv) override;
    int STDMETHODCALLTYPE DidAlloc(void* pv) override { return Owns(pv) ? 1 : 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}

private:
    std::set<const void*> live_;
    std::vector<std::pair<const void*, SIZE_T>> sizes_;
};

// A folder whose answers a test sets; methods it has no answer for give
// E_NOTIMPL. Records what it was asked.
class FakeFolder : public IShellFolder {
public:
    // CompareIDs
    HRESULT compareResult = E_FAIL;
    int compareCalls = 0;
    LPARAM lastCompareParam = -1;
    // GetDisplayNameOf: fills the answer, returns the result.
    std::function<HRESULT(PCUITEMID_CHILD, SHGDNF, STRRET*)> displayName;
    PCUITEMID_CHILD lastNamed = nullptr;
    // ParseDisplayName: answers with a one-item list through ShellMalloc.
    HRESULT parseResult = S_OK;
    std::vector<std::wstring> parsed;
    // BindToObject
    HRESULT bindResult = E_FAIL;
    std::vector<std::vector<BYTE>> bound; // the identifiers it was given

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten,
                                               PIDLIST_RELATIVE* pidl, ULONG* attributes) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx*, REFIID, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override
    {
        ++compareCalls;
        lastCompareParam = lParam;
        return compareResult;
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags, STRRET* name) override;
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override
    {
        return E_NOTIMPL;
    }
};

// Bytes a list of items with the given counts takes, with its terminator.
std::size_t ListBytes(const std::vector<USHORT>& counts);
// Writes items with the given counts into `list` (ListBytes(counts) zero
// bytes); item i's payload bytes are all `i + 1 + seed`.
void WriteItems(ITEMIDLIST* list, const std::vector<USHORT>& counts, BYTE seed);

// A list made through IDListAlloc of items with the given counts, of the
// kind asked (relative unless said); item i's payload bytes are all
// `i + 1 + seed`.
template <class Item = ITEMIDLIST_RELATIVE>
shview::BasicIDList<Item> MakeList(const std::vector<USHORT>& counts, BYTE seed = 0)
{
    shview::BasicIDList<Item> list = shview::IDListAlloc<Item>(ListBytes(counts));
    if (list)
        WriteItems(list.get(), counts, seed);
    return list;
}
// The bytes of a list up to and including its terminator.
std::vector<BYTE> BytesOf(const ITEMIDLIST* list);

} // namespace idtest
