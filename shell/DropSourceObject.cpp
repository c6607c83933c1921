#include "shell/DropSourceObject.h"

HRESULT STDMETHODCALLTYPE TDropSourceObject::QueryInterface(REFIID iid, void** out) noexcept
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
        *out = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TDropSourceObject::AddRef() noexcept
{
    return ++refs_;
}

ULONG STDMETHODCALLTYPE TDropSourceObject::Release() noexcept
{
    const ULONG left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE TDropSourceObject::QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    // Either button carries a drag; the middle button alone does not.
    if (keyState & (MK_LBUTTON | MK_RBUTTON))
        return S_OK;
    return DRAGDROP_S_DROP;
}

HRESULT STDMETHODCALLTYPE TDropSourceObject::GiveFeedback(DWORD) noexcept
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}
