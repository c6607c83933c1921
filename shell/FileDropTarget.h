// The drop target of a window that takes dropped files: it accepts data that
// carries a dropped-file list (CF_HDROP) only, proposes an effect from the
// modifier keys, reads the dropped names whole, and leaves every decision to
// four callbacks given to its constructor (drop, enter, leave, over; any may
// be empty).
//
// The drop callback reports through the effect what it did. When it moved
// the files itself (it leaves DROPEFFECT_MOVE) the target tells the drag
// source so the way the shell does for a move the target performed: the data
// object gets "Performed DropEffect" = none and "Logical Performed
// DropEffect" = move, and the drag source is answered DROPEFFECT_NONE, so
// that no source deletes the originals afterwards. A copy is reported as a
// copy; anything else as the callback left it (normally none).
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/com_object.h"
#include "ui/handles.h"

class TFileDropTarget final : public ui::ComObject<IDropTarget> {
public:
    // Files: the dropped paths in the order of the drop data; Effect in/out.
    using FileDropEvent = std::function<void(const std::vector<std::wstring>& files, DWORD keyState, POINT pt,
                                             DWORD& effect)>;
    using FileDragEvent = std::function<void()>;
    using FileDragOverEvent = std::function<void(DWORD keyState, POINT pt, DWORD& effect)>;

    // A new target with one reference, owned by the caller.
    static ui::ComPtr<TFileDropTarget> Create(FileDropEvent onFileDrop, FileDragEvent onFileDragEnter,
                                              FileDragEvent onFileDragLeave, FileDragOverEvent onFileDragOver);

    // The effect the keys ask for: Ctrl+Shift link, Ctrl copy, otherwise move.
    static DWORD EffectFromKeys(DWORD keyState) noexcept;
    // The names a data object offers as CF_HDROP, each read whole, in order;
    // empty when it offers none or they cannot be read.
    static std::vector<std::wstring> DroppedFiles(IDataObject* data);

    // True while a drag with a file list is over the window (or after its drop).
    bool Tracking() const noexcept { return static_cast<bool>(data_); }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) noexcept override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) noexcept override;
    HRESULT STDMETHODCALLTYPE DragLeave() noexcept override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) noexcept override;

private:
    TFileDropTarget(FileDropEvent onFileDrop, FileDragEvent onFileDragEnter, FileDragEvent onFileDragLeave,
                    FileDragOverEvent onFileDragOver);
    ~TFileDropTarget() override = default;
    // Tells the data object what the drop did (performed and logical effect).
    void ReportPerformed(DWORD performed, DWORD logical) noexcept;

    ui::ComPtr<IDataObject> data_; // the drag in progress, from an accepted DragEnter
    FileDropEvent onFileDrop_;
    FileDragEvent onFileDragEnter_;
    FileDragEvent onFileDragLeave_;
    FileDragOverEvent onFileDragOver_;
};
