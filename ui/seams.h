// The system calls a test must be able to replace: boxes, menus, launching,
// applying cursors, the monitors, the user's SendTo folder and the modal drag
// loop. Each is a function in one table; the program uses the system's own
// and never replaces them. A test replaces one for a scope:
//   ui::ScopedSeam s(ui::CurrentSeams().trackMenu, [](HMENU, UINT, POINT, HWND) { return 26u; });
#pragma once
#include "ui/handles.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace ui {

// Shows a message box; answers the button pressed.
using MessageBoxFn = std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)>;
// Tracks a popup menu modally (TPM_RETURNCMD); answers the chosen command
// id, 0 when dismissed.
using TrackMenuFn = std::function<UINT(HMENU menu, UINT flags, POINT at, HWND owner)>;
// Starts `program` (a full path: no search of the program's or the current
// folder) with `arguments`, its first window in the `show` state (SW_*); a
// failure is not reported, as with the system's own launcher.
using RunProgramFn = std::function<void(const std::wstring& program, const std::wstring& arguments, int show)>;
// The platform family (VER_PLATFORM_WIN32_NT, ...).
using PlatformIdFn = std::function<DWORD()>;
// Loads a cursor file; empty when the system cannot read it.
using LoadCursorFn = std::function<UniqueCursor(const std::wstring& path)>;
// Makes `cursor` the system cursor `id`; the system takes it over.
using SetSystemCursorFn = std::function<void(UniqueCursor cursor, DWORD id)>;
// SystemParametersInfoW.
using SystemParametersInfoFn = std::function<BOOL(UINT action, UINT param, void* data, UINT winIni)>;
// MonitorFromWindow and GetMonitorInfoW: the monitors, which a test sets out
// as it needs (the test machine has one).
using MonitorFromWindowFn = std::function<HMONITOR(HWND window, DWORD flags)>;
using GetMonitorInfoFn = std::function<BOOL(HMONITOR monitor, MONITORINFO* info)>;
// The user's SendTo folder, bound; none when it cannot be had.
using SendToFolderFn = std::function<ComPtr<IShellFolder>(HWND owner)>;
// Runs the modal drag loop (DoDragDrop).
using DoDragDropFn = std::function<HRESULT(IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect)>;
// Runs a shell file operation (SHFileOperationW); answers its result.
using FileOperationFn = std::function<int(SHFILEOPSTRUCTW& operation)>;
// Creates one directory, no security attributes; answers whether it was.
using MakeDirectoryFn = std::function<bool(const std::wstring& path)>;

struct Seams {
    MessageBoxFn messageBox;
    TrackMenuFn trackMenu;
    RunProgramFn runProgram;
    PlatformIdFn platformId;
    LoadCursorFn loadCursor;
    SetSystemCursorFn setSystemCursor;
    SystemParametersInfoFn systemParametersInfo;
    MonitorFromWindowFn monitorFromWindow;
    GetMonitorInfoFn getMonitorInfo;
    SendToFolderFn sendToFolder;
    DoDragDropFn doDragDrop;
    // The file operation of a drop, and the new folder command's directory
    // (a test refuses it as a read-only medium does).
    FileOperationFn fileOperation;
    MakeDirectoryFn makeDirectory;
};

// The functions in use: the system's own unless a test replaced them.
Seams& CurrentSeams();
// The system's own, as a fresh table (for a test that wraps one of them).
Seams SystemSeams();

// Replaces one seam while it lives.
template <class Fn>
class ScopedSeam {
public:
    ScopedSeam(Fn& slot, std::type_identity_t<Fn> replacement)
        : slot_(slot), old_(std::exchange(slot, std::move(replacement)))
    {
    }
    ~ScopedSeam() { slot_ = std::move(old_); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    Fn& slot_;
    Fn old_;
};

} // namespace ui
