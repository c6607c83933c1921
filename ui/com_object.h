// IUnknown for the COM objects the code makes itself: one reference count and
// one QueryInterface, so that no class counts or answers by hand (where a
// mistake leaks the object or frees it under a caller).
//
// An object derives from ComObject<I1, I2, ...> and implements the rest of
// those interfaces. It starts with one reference, owned by whoever made it,
// and is deleted by the last Release. QueryInterface answers IUnknown and
// each listed interface by its own identifier; a class that answers more (an
// interface's base, or one offered only sometimes) overrides Find and calls
// this one for the rest. An object that lives on the stack or in a fixture
// overrides Destroy to do nothing.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace ui {

template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override
    {
        if (!out)
            return E_POINTER;
        *out = Find(iid);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override
    {
        const ULONG left = --refs_;
        if (left == 0)
            Destroy();
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // The interface `iid` names on this object, or null.
    virtual void* Find(REFIID iid) noexcept
    {
        if (IsEqualIID(iid, IID_IUnknown))
            return static_cast<First*>(this);
        void* found = nullptr;
        (void)((IsEqualIID(iid, __uuidof(First)) && (found = static_cast<First*>(this))) ||
               ... || (IsEqualIID(iid, __uuidof(Rest)) && (found = static_cast<Rest*>(this))));
        return found;
    }
    // What the last Release does.
    virtual void Destroy() noexcept { delete this; }

private:
    std::atomic<ULONG> refs_{1};
};

} // namespace ui
