#include "shell/FileDropTarget.h"

#include <shellapi.h>
#include <shlobj.h>

#include <utility>

namespace {

FORMATETC FileListFormat() noexcept { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

POINT ToPoint(POINTL pt) noexcept { return {pt.x, pt.y}; }

// Hands one DWORD to the data object under a registered format; the object
// takes the memory when it accepts it.
void SetDword(IDataObject* data, const wchar_t* formatName, DWORD value) noexcept
{
    const UINT format = RegisterClipboardFormatW(formatName);
    if (!data || !format)
        return;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    if (!memory)
        return;
    if (auto* p = static_cast<DWORD*>(GlobalLock(memory))) {
        *p = value;
        GlobalUnlock(memory);
    }
    FORMATETC fmt{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = memory;
    if (data->SetData(&fmt, &medium, TRUE) != S_OK)
        GlobalFree(memory);
}

} // namespace

ui::ComPtr<TFileDropTarget> TFileDropTarget::Create(FileDropEvent onFileDrop, FileDragEvent onFileDragEnter,
                                                    FileDragEvent onFileDragLeave, FileDragOverEvent onFileDragOver)
{
    return ui::ComPtr<TFileDropTarget>::Attach(new TFileDropTarget(std::move(onFileDrop), std::move(onFileDragEnter),
                                                                   std::move(onFileDragLeave),
                                                                   std::move(onFileDragOver)));
}

TFileDropTarget::TFileDropTarget(FileDropEvent onFileDrop, FileDragEvent onFileDragEnter,
                                 FileDragEvent onFileDragLeave, FileDragOverEvent onFileDragOver)
    : onFileDrop_(std::move(onFileDrop)), onFileDragEnter_(std::move(onFileDragEnter)),
      onFileDragLeave_(std::move(onFileDragLeave)), onFileDragOver_(std::move(onFileDragOver))
{
}

DWORD TFileDropTarget::EffectFromKeys(DWORD keyState) noexcept
{
    if (keyState & MK_CONTROL)
        return (keyState & MK_SHIFT) ? DROPEFFECT_LINK : DROPEFFECT_COPY;
    return DROPEFFECT_MOVE;
}

std::vector<std::wstring> TFileDropTarget::DroppedFiles(IDataObject* data)
{
    std::vector<std::wstring> files;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK)
        return files;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            // Ask the length first: a name may be longer than MAX_PATH.
            const UINT length = DragQueryFileW(drop, i, nullptr, 0);
            if (length == 0)
                continue; // an empty name would end the file operation's list early
            std::wstring name(length + 1, L'\0');
            const UINT got = DragQueryFileW(drop, i, name.data(), length + 1);
            name.resize(got < length ? got : length);
            if (!name.empty())
                files.push_back(std::move(name));
        }
    }
    ReleaseStgMedium(&medium);
    return files;
}

HRESULT STDMETHODCALLTYPE TFileDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) noexcept
{
    try {
        data_.reset();
        FORMATETC format = FileListFormat();
        DWORD proposed = DROPEFFECT_NONE;
        if (data && data->QueryGetData(&format) == S_OK) {
            data_ = ui::ComPtr<IDataObject>::Share(data);
            proposed = EffectFromKeys(keyState);
        }
        if (effect)
            *effect = proposed;
        if (onFileDragEnter_)
            onFileDragEnter_();
    } catch (...) {
        if (effect)
            *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TFileDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) noexcept
{
    DWORD proposed = data_ ? EffectFromKeys(keyState) : DROPEFFECT_NONE;
    try {
        if (onFileDragOver_)
            onFileDragOver_(keyState, ToPoint(pt), proposed);
    } catch (...) {
        proposed = DROPEFFECT_NONE;
    }
    if (effect)
        *effect = proposed;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TFileDropTarget::DragLeave() noexcept
{
    data_.reset();
    try {
        if (onFileDragLeave_)
            onFileDragLeave_();
    } catch (...) {
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TFileDropTarget::Drop(IDataObject*, DWORD keyState, POINTL pt, DWORD* effect) noexcept
{
    if (!data_) {
        if (effect)
            *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    DWORD result = EffectFromKeys(keyState);
    try {
        const std::vector<std::wstring> files = DroppedFiles(data_.get());
        if (onFileDrop_)
            onFileDrop_(files, keyState, ToPoint(pt), result);
    } catch (...) {
        // Whatever the callback got done, the source must not take it for a move.
        result = DROPEFFECT_NONE;
    }
    if (result == DROPEFFECT_MOVE) {
        // The files were moved here: the source has nothing left to delete.
        ReportPerformed(DROPEFFECT_NONE, DROPEFFECT_MOVE);
        result = DROPEFFECT_NONE;
    } else if (result == DROPEFFECT_COPY) {
        ReportPerformed(DROPEFFECT_COPY, DROPEFFECT_COPY);
    }
    if (effect)
        *effect = result;
    return S_OK;
}

void TFileDropTarget::ReportPerformed(DWORD performed, DWORD logical) noexcept
{
    SetDword(data_.get(), CFSTR_PERFORMEDDROPEFFECT, performed);
    SetDword(data_.get(), CFSTR_LOGICALPERFORMEDDROPEFFECT, logical);
}
