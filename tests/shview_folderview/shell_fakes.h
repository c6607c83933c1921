// Stand-ins for the shell where Wine cannot show a path: an allocator that
// counts what is freed through it, and a desktop folder that passes every
// question to the real one except where a test wants a folder that cannot be
// read, or icons from IShellIcon (which Wine does not offer).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace fvtest {

// The task allocator, counting the blocks freed through it.
class CountingMalloc : public IMalloc {
public:
    int frees = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return CoTaskMemAlloc(cb); }
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override { return CoTaskMemRealloc(pv, cb); }
    void STDMETHODCALLTYPE Free(void* pv) override;
    SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return SIZE_T(-1); }
    int STDMETHODCALLTYPE DidAlloc(void*) override { return -1; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

// The real desktop with two changes a test can ask for. Lives on the test's
// stack; its reference count is only pretended.
class ProxyDesktop : public IShellFolder, public IShellIcon {
public:
    explicit ProxyDesktop(IShellFolder* real) : real_(real) {}
    // Folders bound at this parsing path cannot be enumerated (E_ACCESSDENIED).
    std::wstring unreadablePath;
    // When set, the desktop offers IShellIcon with these indexes.
    bool offerIcons = false;
    int normalIcon = 0, openIcon = 0;
    int enumFailures = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // IShellFolder
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND w, IBindCtx* b, LPWSTR n, ULONG* e, PIDLIST_RELATIVE* p,
                                               ULONG* a) override
    {
        return real_->ParseDisplayName(w, b, n, e, p, a);
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND w, SHCONTF f, IEnumIDList** e) override
    {
        return real_->EnumObjects(w, f, e);
    }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID i, void** o) override
    {
        return real_->BindToStorage(p, b, i, o);
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM l, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override
    {
        return real_->CompareIDs(l, a, b);
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND w, REFIID i, void** o) override
    {
        return real_->CreateViewObject(w, i, o);
    }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT n, PCUITEMID_CHILD_ARRAY a, SFGAOF* f) override
    {
        return real_->GetAttributesOf(n, a, f);
    }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND w, UINT n, PCUITEMID_CHILD_ARRAY a, REFIID i, UINT* r,
                                            void** o) override
    {
        return real_->GetUIObjectOf(w, n, a, i, r, o);
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD p, SHGDNF f, STRRET* s) override
    {
        return real_->GetDisplayNameOf(p, f, s);
    }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND w, PCUITEMID_CHILD p, LPCWSTR n, SHGDNF f, PITEMID_CHILD* o) override
    {
        return real_->SetNameOf(w, p, n, f, o);
    }
    // IShellIcon
    HRESULT STDMETHODCALLTYPE GetIconOf(PCUITEMID_CHILD, UINT flags, int* index) override;

private:
    IShellFolder* real_;
};

} // namespace fvtest
