// The drop source of one drag: the drag goes on while a mouse button is held,
// drops when none is, and is cancelled by Escape; the system's cursors show
// the effect.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <atomic>

class TDropSourceObject final : public IDropSource {
public:
    // A new object with one reference, owned by the caller.
    TDropSourceObject() noexcept = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) noexcept override;

private:
    ~TDropSourceObject() = default;
    std::atomic<ULONG> refs_{1};
};
