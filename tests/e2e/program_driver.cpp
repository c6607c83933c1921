#include "tests/e2e/program_driver.h"

#include <commctrl.h>

namespace e2e {

std::wstring ProgramPath()
{
    std::string narrow = TARIMOKU_EXE;
    std::wstring p(narrow.begin(), narrow.end());
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

RunningProgram::RunningProgram(const std::wstring& arguments)
{
    std::wstring cmd = L"\"" + ProgramPath() + L"\"";
    if (!arguments.empty())
        cmd += L" " + arguments;
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        process_ = pi.hProcess;
        pid_ = pi.dwProcessId;
        CloseHandle(pi.hThread);
    }
}

RunningProgram::~RunningProgram()
{
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
}

HWND RunningProgram::WaitForMainWindow(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!main_ && GetTickCount() - start < timeoutMs) {
        struct Probe {
            DWORD pid;
            HWND found;
        } probe{pid_, nullptr};
        EnumWindows(
            [](HWND w, LPARAM lp) -> BOOL {
                auto* p = reinterpret_cast<Probe*>(lp);
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == p->pid && IsWindowVisible(w) && ClassOf(w) == L"TarimokuMainWindow") {
                    p->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&probe));
        main_ = probe.found;
        if (!main_)
            Sleep(50);
    }
    return main_;
}

DWORD RunningProgram::CloseAndWait(DWORD timeoutMs)
{
    if (!process_)
        return DWORD(-1);
    if (main_)
        PostMessageW(main_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::wstring WindowText(HWND w)
{
    wchar_t buf[1024] = {};
    GetWindowTextW(w, buf, 1024);
    return buf;
}

std::wstring ClassOf(HWND w)
{
    wchar_t buf[128] = {};
    GetClassNameW(w, buf, 128);
    return buf;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* cls)
{
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == cls)
            out.push_back(c);
    return out;
}

std::wstring RemoteListItemText(HWND list, int index, int subItem)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return {};
    constexpr SIZE_T kChars = 512;
    auto* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text;
    if (remote) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.cchTextMax = int(kChars);
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(remote));
        std::wstring buf(kChars, L'\0');
        ReadProcessMemory(process, remote + sizeof(LVITEMW), buf.data(), kChars * sizeof(wchar_t), nullptr);
        buf.resize(std::size_t(n > 0 ? n : 0));
        text = buf;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

} // namespace e2e
