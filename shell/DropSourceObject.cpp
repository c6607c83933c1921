#include "shell/DropSourceObject.h"

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
