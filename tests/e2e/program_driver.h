// Starts the real program in its own process and finds its windows.
#pragma once
#include "tests/support/program_process.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::wstring ProgramPath();

class RunningProgram {
public:
    // Starts the program with the arguments given (already quoted as needed).
    explicit RunningProgram(const std::wstring& arguments = {}) : process_(ProgramPath(), arguments) {}

    bool Started() const { return process_.Started(); }
    DWORD ProcessId() const { return process_.ProcessId(); }
    // The program's visible top-level window with the main window's class.
    HWND WaitForMainWindow(DWORD timeoutMs = 15000);
    // Asks the window to close and waits for the process; answers its exit code
    // (STILL_ACTIVE if it did not end in time).
    DWORD CloseAndWait(DWORD timeoutMs = 15000);

private:
    testsupport::ProgramProcess process_;
};

std::wstring WindowText(HWND w);
std::wstring ClassOf(HWND w);
// Direct children of a window with the class given.
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* cls);
// Text of a list view item of another process.
std::wstring RemoteListItemText(HWND list, int index, int subItem = 0);
// Rectangle (LVIR_ flag) of a list view item of another process, in the list's client coordinates.
RECT RemoteListItemRect(HWND list, int index, int part = 1 /* LVIR_ICON */);

// Real input, as a person gives it.
void ClickAt(POINT screen, bool right);
void PressKey(WORD vk);
// The visible popup menu window (#32768) of a process, if any.
HWND FindProcessMenu(DWORD pid);
// Saves the whole screen as a 24-bit BMP file.
bool SaveScreen(const std::wstring& path);
// Runs a command line and answers what it printed.
std::string RunAndCapture(const std::wstring& commandLine);

// C:\Cursors, a folder of cursor files as a user keeps one, for the tests
// and for the pictures of it. Removed when the object goes.
class CursorFolder {
public:
    static constexpr wchar_t kPath[] = L"C:\\Cursors";
    CursorFolder();
    ~CursorFolder();
    CursorFolder(const CursorFolder&) = delete;
    CursorFolder& operator=(const CursorFolder&) = delete;
};

// The folder the end-to-end tests leave their screenshots in (TK_ARTIFACTS);
// empty when none is set.
std::wstring ArtifactsFolder();

} // namespace e2e
