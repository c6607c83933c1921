// The points where the shell components meet the user or the system in ways
// a test cannot drive under Wine (a modal menu, a message box, the user's
// SendTo folder, the modal drag loop). Each is a replaceable function; the
// program never replaces them.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <type_traits>
#include <utility>

#include "ui/handles.h"

namespace shell {

// Shows a message box; answers the button pressed.
using MessageBoxFn = std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)>;
// Tracks a popup menu modally; answers the chosen command id, 0 when dismissed.
using TrackMenuFn = std::function<UINT(HMENU menu, UINT flags, POINT at, HWND owner)>;
// The user's SendTo folder, bound; none when it cannot be had.
using SendToFolderFn = std::function<ui::ComPtr<IShellFolder>(HWND owner)>;
// Runs the modal drag loop (DoDragDrop).
using DoDragDropFn = std::function<HRESULT(IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect)>;

struct Seams {
    MessageBoxFn messageBox;
    TrackMenuFn trackMenu;
    SendToFolderFn sendToFolder;
    DoDragDropFn doDragDrop;
};

// The functions in use: the system's own unless a test replaced them.
Seams& CurrentSeams();

// Replaces one seam while it lives, e.g.
//   shell::ScopedSeam s(shell::CurrentSeams().trackMenu, [](...) { return 26u; });
template <class Fn>
class ScopedSeam {
public:
    ScopedSeam(Fn& slot, std::type_identity_t<Fn> replacement) : slot_(slot), old_(std::exchange(slot, std::move(replacement))) {}
    ~ScopedSeam() { slot_ = std::move(old_); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    Fn& slot_;
    Fn old_;
};

// Binds the folder named by an absolute identifier list (the empty list is
// the desktop itself); none on failure.
ui::ComPtr<IShellFolder> BindFolder(const ITEMIDLIST* absolute) noexcept;

} // namespace shell
