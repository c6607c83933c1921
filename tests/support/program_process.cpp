#include "tests/support/program_process.h"

#include "tests/support/wine_ui.h"

namespace testsupport {

DWORD RunToEnd(const std::wstring& commandLine, DWORD timeoutMs)
{
    std::wstring cmd = commandLine;
    // What the program reports goes where this one's goes.
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return kNotRun;
    CloseHandle(pi.hThread);
    DWORD code = kNotRun;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return code;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return done();
        Sleep(100);
    }
}

ProgramProcess::ProgramProcess(const std::wstring& exePath, const std::wstring& arguments)
{
    std::wstring cmd = L"\"" + exePath + L"\"";
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

ProgramProcess::~ProgramProcess()
{
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
}

HWND ProgramProcess::WaitForWindow(const wchar_t* cls, DWORD timeoutMs)
{
    if (!process_)
        return nullptr;
    WaitUntil(
        [&] {
            window_ = FindVisibleWindow(pid_, cls);
            return window_ != nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    return window_;
}

DWORD ProgramProcess::CloseAndWait(DWORD timeoutMs)
{
    if (!process_)
        return kNotRun;
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

} // namespace testsupport
