// The drop source of one drag: the drag goes on while a mouse button is held,
// drops when none is, and is cancelled by Escape; the system's cursors show
// the effect.
#pragma once
#include <windows.h>
#include <ole2.h>

#include "ui/com_object.h"

class TDropSourceObject final : public ui::ComObject<IDropSource> {
public:
    // A new object with one reference, owned by the caller.
    TDropSourceObject() noexcept = default;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) noexcept override;

private:
    ~TDropSourceObject() override = default;
};
