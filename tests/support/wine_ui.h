// Helpers for tests that drive real windows, menus, dialogs and files under Wine.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

// Dispatches messages until none has arrived for `quietMs`, at most `maxMs`.
void PumpUntilIdle(DWORD quietMs = 50, DWORD maxMs = 5000);
// Dispatches messages for `ms` milliseconds.
void PumpFor(DWORD ms);

// A folder of its own under the temporary folder, removed with all its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }
    // Path of a name inside the folder.
    std::wstring operator/(std::wstring_view name) const;
    // Creates a file (and missing folders on its way) with the given bytes.
    std::wstring File(std::wstring_view name, std::string_view bytes = {}) const;
    std::wstring Folder(std::wstring_view name) const;

private:
    std::wstring path_;
};

bool RemoveTree(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// A file of the shared cursor corpus, by its path below the corpus folder
// (forward slashes accepted).
std::wstring CorpusFile(std::wstring_view relative);
std::wstring CorpusDir();

// Presses a button of every message box or dialog (#32770) of this process
// that appears while the object lives. `button` is the control id to press
// (IDYES, IDOK, ...). Texts of the boxes seen are kept for assertions.
class DialogWatchdog {
public:
    explicit DialogWatchdog(int button);
    ~DialogWatchdog();
    int Pressed() const { return pressed_.load(); }
    std::vector<std::wstring> Texts() const;

private:
    void Run();
    int button_;
    std::atomic<bool> stop_{false};
    std::atomic<int> pressed_{0};
    mutable std::atomic_flag lock_ = ATOMIC_FLAG_INIT;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

// Ends any menu tracked on this thread after `delayMs` (EndMenu from a timer),
// or runs `action` instead (for example to choose an item with the keyboard).
class MenuCloser {
public:
    explicit MenuCloser(UINT delayMs = 150, std::function<void()> action = {});
    ~MenuCloser();
    int Fired() const { return fired_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_ = 0;
    std::function<void()> action_;
    int fired_ = 0;
};

// The popup menu window (#32768) currently shown by this process, if any.
HWND FindMenuWindow();
// A visible top-level window of process `pid` with the class given, if any.
HWND FindVisibleWindow(DWORD pid, const wchar_t* cls);
// An ASCII path (a build-time define) with backslashes for separators.
std::wstring WindowsPath(std::string_view path);
// A string value under HKCU\Control Panel\Cursors; empty when missing.
std::wstring ReadSchemeValue(const wchar_t* name);

// Whether the shell shows file extensions, for the object's life: hidden as
// a stock Windows system hides those of registered types (HKCU
// ...\Explorer\Advanced HideFileExt = 1; Wine's shell then hides every
// extension), or shown as Wine does by default (the value removed). The
// value as it was comes back afterwards.
class ScopedFileExtensions {
public:
    explicit ScopedFileExtensions(bool hidden);
    ~ScopedFileExtensions();
    ScopedFileExtensions(const ScopedFileExtensions&) = delete;
    ScopedFileExtensions& operator=(const ScopedFileExtensions&) = delete;

private:
    bool had_ = false;
    DWORD old_ = 0;
};
// Both settings, for parameterised tests, and a name for each in test names.
inline constexpr bool kExtensionSettings[] = {false, true};
inline const char* ExtensionSettingName(bool hidden) { return hidden ? "ExtensionsHidden" : "ExtensionsShown"; }

// A top-level window for controls under test: shown, 800 x 600.
HWND CreateHostWindow(const wchar_t* title = L"test host");

} // namespace testsupport
