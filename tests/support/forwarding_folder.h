// A shell folder that passes every question to another one. Test folders
// derive from it and override only what they change. IShellIcon, which
// Wine's folders lack, is offered only when a test sets `offerIcons`.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "ui/com_object.h"
#include "ui/handles.h"

namespace testsupport {

class ForwardingFolder : public ui::ComObject<IShellFolder, IShellIcon> {
public:
    explicit ForwardingFolder(IShellFolder* inner) : inner_(ui::ComPtr<IShellFolder>::Share(inner)) {}
    IShellFolder* Inner() const { return inner_.get(); }

    bool offerIcons = false;

    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND w, IBindCtx* b, LPWSTR n, ULONG* e, PIDLIST_RELATIVE* p,
                                               ULONG* a) override
    {
        return inner_->ParseDisplayName(w, b, n, e, p, a);
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND w, SHCONTF f, IEnumIDList** e) override
    {
        return inner_->EnumObjects(w, f, e);
    }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID i, void** o) override
    {
        return inner_->BindToObject(p, b, i, o);
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID i, void** o) override
    {
        return inner_->BindToStorage(p, b, i, o);
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM l, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override
    {
        return inner_->CompareIDs(l, a, b);
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND w, REFIID i, void** o) override
    {
        return inner_->CreateViewObject(w, i, o);
    }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT n, PCUITEMID_CHILD_ARRAY a, SFGAOF* f) override
    {
        return inner_->GetAttributesOf(n, a, f);
    }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND w, UINT n, PCUITEMID_CHILD_ARRAY a, REFIID i, UINT* r,
                                            void** o) override
    {
        return inner_->GetUIObjectOf(w, n, a, i, r, o);
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD p, SHGDNF f, STRRET* s) override
    {
        return inner_->GetDisplayNameOf(p, f, s);
    }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND w, PCUITEMID_CHILD p, LPCWSTR n, SHGDNF f, PITEMID_CHILD* o) override
    {
        return inner_->SetNameOf(w, p, n, f, o);
    }
    HRESULT STDMETHODCALLTYPE GetIconOf(PCUITEMID_CHILD, UINT, int*) override { return E_NOTIMPL; }

protected:
    void* Find(REFIID iid) noexcept override
    {
        return IsEqualIID(iid, IID_IShellIcon) && !offerIcons ? nullptr : ComObject::Find(iid);
    }

    ui::ComPtr<IShellFolder> inner_;
};

} // namespace testsupport
