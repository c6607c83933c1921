// Other programs run by tests: one run to its end, or one started and driven
// by its window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {

// Runs a command line to its end and answers its exit code; kNotRun when it
// could not be started or did not end within `timeoutMs`.
constexpr DWORD kNotRun = DWORD(-1);
DWORD RunToEnd(const std::wstring& commandLine, DWORD timeoutMs = 120000);

// Asks `done` every 100 ms until it answers true or `timeoutMs` has passed;
// answers its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000);

// A program started on its own, ended when the object goes if still running.
class ProgramProcess {
public:
    explicit ProgramProcess(const std::wstring& exePath, const std::wstring& arguments = {});
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD ProcessId() const { return pid_; }
    // The program's visible top-level window of the class given, once shown.
    HWND WaitForWindow(const wchar_t* cls, DWORD timeoutMs = 15000);
    // Posts WM_CLOSE to the window found and waits; answers the exit code
    // (STILL_ACTIVE when it did not end in time).
    DWORD CloseAndWait(DWORD timeoutMs = 15000);

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

} // namespace testsupport
