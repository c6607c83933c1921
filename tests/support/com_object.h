// IUnknown for a test object made with new: it answers IUnknown and the one
// interface `Iid` names (the one `Base` implements), counts its references
// and deletes itself with the last Release. Base supplies everything else.
#pragma once
#include <windows.h>

namespace testsupport {

template <class Base, const IID& Iid>
class ComObject final : public Base {
public:
    using Base::Base;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == Iid) {
            *out = static_cast<Base*>(this);
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

private:
    ULONG refs_ = 1;
};

} // namespace testsupport
