#include "tests/e2e/program_driver.h"

#include "tests/support/wine_ui.h"

#include <commctrl.h>

#include <utility>

namespace e2e {

std::wstring ProgramPath() { return testsupport::WindowsPath(TARIMOKU_EXE); }

HWND RunningProgram::WaitForMainWindow(DWORD timeoutMs)
{
    return process_.WaitForWindow(L"TarimokuMainWindow", timeoutMs);
}

DWORD RunningProgram::CloseAndWait(DWORD timeoutMs) { return process_.CloseAndWait(timeoutMs); }

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

RECT RemoteListItemRect(HWND list, int index, int part)
{
    RECT rect{};
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return rect;
    if (void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE)) {
        RECT in{part, 0, 0, 0};
        WriteProcessMemory(process, remote, &in, sizeof(in), nullptr);
        SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rect;
}

void ClickAt(POINT screen, bool right)
{
    SetCursorPos(screen.x, screen.y);
    Sleep(100);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    Sleep(50);
    SendInput(1, &in[1], sizeof(INPUT));
}

void PressKey(WORD vk)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(80);
}

HWND FindProcessMenu(DWORD pid) { return testsupport::FindVisibleWindow(pid, L"#32768"); }

bool SaveScreen(const std::wstring& path)
{
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DWORD stride = DWORD((w * 3 + 3) & ~3);
    DWORD imageSize = stride * DWORD(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + imageSize;
    bool ok = false;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = WriteFile(f, &fh, sizeof(fh), &written, nullptr) &&
             WriteFile(f, &bi.bmiHeader, sizeof(bi.bmiHeader), &written, nullptr) &&
             WriteFile(f, bits, imageSize, &written, nullptr);
        CloseHandle(f);
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

std::string RunAndCapture(const std::wstring& commandLine)
{
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = commandLine;
    std::string out;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
        char buf[4096];
        DWORD n = 0;
        while (ReadFile(readEnd, buf, sizeof(buf), &n, nullptr) && n > 0)
            out.append(buf, n);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (writeEnd)
        CloseHandle(writeEnd);
    CloseHandle(readEnd);
    return out;
}

CursorFolder::CursorFolder()
{
    testsupport::RemoveTree(kPath);
    CreateDirectoryW(kPath, nullptr);
    const std::pair<const wchar_t*, const wchar_t*> files[] = {
        {L"capitaine/master/normal-select.cur", L"normal-select.cur"},
        {L"capitaine/master/help-select.cur", L"help-select.cur"},
        {L"capitaine/master/working-in-background.ani", L"working.ani"},
        {L"capitaine/master/busy.ani", L"busy.ani"},
        {L"capitaine/master/precision-select.cur", L"precision-select.cur"},
        {L"capitaine/master/text-select.cur", L"text-select.cur"},
        {L"capitaine/master/handwriting.cur", L"handwriting.cur"},
        {L"capitaine/master/unavailable.cur", L"unavailable.cur"},
        {L"capitaine/master/move.cur", L"move.cur"},
        {L"catppuccin/catppuccin-mocha-dark-cursors/wait.ani", L"mocha-wait.ani"},
    };
    for (const auto& [from, to] : files)
        CopyFileW(testsupport::CorpusFile(from).c_str(), (std::wstring(kPath) + L"\\" + to).c_str(), FALSE);
}

CursorFolder::~CursorFolder() { testsupport::RemoveTree(kPath); }

std::wstring ArtifactsFolder()
{
    wchar_t buf[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TK_ARTIFACTS", buf, MAX_PATH))
        return {};
    CreateDirectoryW(buf, nullptr);
    return buf;
}

} // namespace e2e
