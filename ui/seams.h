// The system calls a test must be able to replace: boxes, menus, launching
// and beeping, the clocks, the drives and their device notices, applying
// cursors, the monitors, the user's SendTo folder and the modal drag loop.
// Each is a function in one table; the program uses the system's own and
// never replaces them. A test replaces one for a scope:
//   ui::ScopedSeam s(ui::CurrentSeams().trackMenu, [](HMENU, UINT, POINT, HWND) { return 26u; });
#pragma once
#include "ui/handles.h"
#include "ui/scoped_value.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

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
// Runs a shell item (an absolute identifier list) with its default verb, as
// a double click in the shell does (ShellExecuteExW).
using ExecuteItemFn = std::function<void(HWND owner, PCIDLIST_ABSOLUTE item)>;
// The system's sound for a refusal (MessageBeep).
using MessageBeepFn = std::function<void(UINT type)>;
// The platform family (VER_PLATFORM_WIN32_NT, ...).
using PlatformIdFn = std::function<DWORD()>;
// Milliseconds since the system started (GetTickCount64).
using TickCountFn = std::function<ULONGLONG()>;
// The performance counter and its ticks a second (QueryPerformanceCounter,
// QueryPerformanceFrequency).
struct CounterReading {
    long long count = 0;
    long long frequency = 0;
};
using PerformanceCounterFn = std::function<CounterReading()>;
// The root of every drive ("C:\", ...), in the system's order.
using LogicalDrivesFn = std::function<std::vector<std::wstring>()>;
// A drive's kind (GetDriveTypeW: DRIVE_FIXED, DRIVE_REMOVABLE, ...).
using DriveTypeFn = std::function<UINT(const std::wstring& root)>;
// Registers for the device notices (WM_DEVICECHANGE) of an open handle on a
// drive; none when refused. And lets go of such a registration.
using RegisterDeviceHandleFn = std::function<HDEVNOTIFY(HWND window, HANDLE handle)>;
using UnregisterDeviceFn = std::function<void(HDEVNOTIFY notify)>;
// Loads a cursor file; empty when the system cannot read it.
using LoadCursorFn = std::function<UniqueCursor(const std::wstring& path)>;
// Makes `cursor` the system cursor `id`; the system takes it over. False
// when the system refuses (an id it does not know).
using SetSystemCursorFn = std::function<bool(UniqueCursor cursor, DWORD id)>;
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
    ExecuteItemFn executeItem;
    MessageBeepFn messageBeep;
    PlatformIdFn platformId;
    TickCountFn tickCount;
    PerformanceCounterFn performanceCounter;
    LogicalDrivesFn logicalDrives;
    DriveTypeFn driveType;
    RegisterDeviceHandleFn registerDeviceHandle;
    UnregisterDeviceFn unregisterDevice;
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
using ScopedSeam = ScopedValue<Fn>;

} // namespace ui
