#include "tests/shview_folderview/shell_fakes.h"

#include "shview/idlist.h"

namespace fvtest {
namespace {

// A real folder whose contents cannot be listed.
class UnreadableFolder : public IShellFolder {
public:
    UnreadableFolder(IShellFolder* real, int& failures) : real_(real), failures_(failures) { real_->AddRef(); }
    ~UnreadableFolder() { real_->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IShellFolder) {
            *out = static_cast<IShellFolder*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND w, IBindCtx* b, LPWSTR n, ULONG* e, PIDLIST_RELATIVE* p,
                                               ULONG* a) override
    {
        return real_->ParseDisplayName(w, b, n, e, p, a);
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** e) override
    {
        ++failures_;
        *e = nullptr;
        return E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID i, void** o) override
    {
        return real_->BindToObject(p, b, i, o);
    }
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

private:
    IShellFolder* real_;
    int& failures_;
    ULONG refs_ = 1;
};

} // namespace

HRESULT CountingMalloc::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IMalloc) {
        *out = static_cast<IMalloc*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

void CountingMalloc::Free(void* pv)
{
    if (pv)
        ++frees;
    CoTaskMemFree(pv);
}

HRESULT ProxyDesktop::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IShellFolder) {
        *out = static_cast<IShellFolder*>(this);
        return S_OK;
    }
    if (iid == IID_IShellIcon && offerIcons) {
        *out = static_cast<IShellIcon*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT ProxyDesktop::BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out)
{
    HRESULT hr = real_->BindToObject(pidl, b, iid, out);
    if (FAILED(hr) || unreadablePath.empty() || iid != IID_IShellFolder)
        return hr;
    std::wstring path = shview::IDListDisplayName(real_, pidl, SHGDN_FORPARSING);
    if (CompareStringOrdinal(path.c_str(), int(path.size()), unreadablePath.c_str(), int(unreadablePath.size()),
                             TRUE) != CSTR_EQUAL)
        return hr;
    auto* bound = static_cast<IShellFolder*>(*out);
    *out = static_cast<IShellFolder*>(new UnreadableFolder(bound, enumFailures));
    bound->Release();
    return hr;
}

HRESULT ProxyDesktop::GetIconOf(PCUITEMID_CHILD, UINT flags, int* index)
{
    *index = (flags & GIL_OPENICON) ? openIcon : normalIcon;
    return S_OK;
}

} // namespace fvtest
