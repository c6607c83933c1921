#include "ui/seams.h"

#include <dbt.h>
#include <shellapi.h>

#include <cwchar>

namespace ui {
namespace {

DWORD ReadPlatformId()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info))
        return VER_PLATFORM_WIN32_NT;
    return info.dwPlatformId;
}

void RunProgram(const std::wstring& program, const std::wstring& arguments, int show)
{
    // The program is named apart so that the system never searches for it;
    // the command line repeats it quoted, as the started program expects.
    std::wstring cmd = L"\"" + program + L"\""; // CreateProcessW may write into it
    if (!arguments.empty())
        cmd += L' ' + arguments;
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

std::vector<std::wstring> ReadLogicalDrives()
{
    std::vector<std::wstring> roots;
    DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    if (needed == 0)
        return roots;
    std::vector<wchar_t> buffer(needed + 1);
    DWORD filled = GetLogicalDriveStringsW(needed, buffer.data());
    // A drive added between the two calls makes the second one ask for more.
    if (filled == 0 || filled > needed)
        return roots;
    for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1)
        roots.emplace_back(p);
    return roots;
}

HDEVNOTIFY RegisterHandleNotices(HWND window, HANDLE handle)
{
    DEV_BROADCAST_HANDLE filter{};
    filter.dbch_size = sizeof(filter);
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = handle;
    return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void ExecuteDefaultVerb(HWND owner, PCIDLIST_ABSOLUTE item)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = nullptr; // the default verb
    info.lpParameters = L"";
    info.lpDirectory = L"";
    info.nShow = SW_SHOWNORMAL;
    info.lpIDList = const_cast<ITEMIDLIST_ABSOLUTE*>(item);
    ShellExecuteExW(&info);
}

ComPtr<IShellFolder> SystemSendToFolder(HWND owner)
{
    PIDLIST_ABSOLUTE location = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_SENDTO, &location)) || !location)
        return nullptr;
    ComPtr<IShellFolder> desktop, folder;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.put())) && desktop) {
        if (location->mkid.cb == 0)
            folder = desktop;
        else if (FAILED(desktop->BindToObject(location, nullptr, IID_IShellFolder, folder.put_void())))
            folder = nullptr;
    }
    CoTaskMemFree(location);
    return folder;
}

} // namespace

Seams SystemSeams()
{
    Seams s;
    s.messageBox = [](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
        return MessageBoxW(owner, text, caption, type);
    };
    s.trackMenu = [](HMENU menu, UINT flags, POINT at, HWND owner) {
        return static_cast<UINT>(TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr));
    };
    s.runProgram = &RunProgram;
    s.executeItem = &ExecuteDefaultVerb;
    s.messageBeep = [](UINT type) { MessageBeep(type); };
    s.platformId = [] {
        static const DWORD id = ReadPlatformId();
        return id;
    };
    s.tickCount = [] { return GetTickCount64(); };
    s.performanceCounter = [] {
        LARGE_INTEGER count{}, frequency{};
        QueryPerformanceCounter(&count);
        QueryPerformanceFrequency(&frequency);
        return CounterReading{count.QuadPart, frequency.QuadPart};
    };
    s.logicalDrives = &ReadLogicalDrives;
    s.driveType = [](const std::wstring& root) { return GetDriveTypeW(root.c_str()); };
    s.registerDeviceHandle = &RegisterHandleNotices;
    s.unregisterDevice = [](HDEVNOTIFY notify) { UnregisterDeviceNotification(notify); };
    s.loadCursor = [](const std::wstring& path) { return UniqueCursor(LoadCursorFromFileW(path.c_str())); };
    s.setSystemCursor = [](UniqueCursor cursor, DWORD id) {
        // On success the system owns (and later destroys) the cursor.
        if (!SetSystemCursor(cursor.get(), id))
            return false;
        (void)cursor.release();
        return true;
    };
    s.systemParametersInfo = [](UINT action, UINT param, void* data, UINT winIni) {
        return SystemParametersInfoW(action, param, data, winIni);
    };
    s.monitorFromWindow = [](HWND window, DWORD flags) { return MonitorFromWindow(window, flags); };
    s.getMonitorInfo = [](HMONITOR monitor, MONITORINFO* info) { return GetMonitorInfoW(monitor, info); };
    s.sendToFolder = &SystemSendToFolder;
    s.doDragDrop = [](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
        return DoDragDrop(data, source, allowed, effect);
    };
    s.fileOperation = [](SHFILEOPSTRUCTW& operation) { return SHFileOperationW(&operation); };
    s.makeDirectory = [](const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; };
    return s;
}

Seams& CurrentSeams()
{
    static Seams seams = SystemSeams();
    return seams;
}

} // namespace ui
