// A Wine prefix that looks like a stock Windows 10 system, for the programs
// a test starts: file extensions hidden, Windows 10 reported, and a DPI other
// than 96. Wine reads these as a process starts, so they reach the programs
// started while the object lives, not the test's own process; they are put
// back when it goes. Tests that use it run alone (SERIAL): every process
// started meanwhile sees the profile. So do its drives of other kinds, at
// once and in every process: the prefix's mount manager links each letter
// to a folder of its own (dosdevices/<letter>:) and records its kind
// (HKLM\Software\Wine\Drives), and GetDriveTypeW answers the kind.
#pragma once
#include "tests/support/wine_ui.h"
#include "ui/dpi_scale.h"

#include <windows.h>

#include <string>

namespace testsupport {

class WindowsProfile {
public:
    explicit WindowsProfile(int dpi = 144);
    ~WindowsProfile();
    WindowsProfile(const WindowsProfile&) = delete;
    WindowsProfile& operator=(const WindowsProfile&) = delete;

    // The drives' roots (a letter in use already is left as it is).
    static constexpr const wchar_t* kDriveRoots[] = {L"E:\\", L"N:\\", L"D:\\"};
    static constexpr UINT kDriveKinds[] = {DRIVE_REMOVABLE, DRIVE_REMOTE, DRIVE_CDROM};

private:
    struct Saved {
        HKEY root;
        const wchar_t* key;
        const wchar_t* name;
        DWORD type = 0;
        std::wstring data; // raw bytes of the value
        bool had = false;
    };
    Saved saved_[3];
    TempDir driveFolders_;
    bool drivesDefined_[3] = {};
};

// The DPI this process runs at.
int ProcessDpi();
// A 96-DPI figure of the design at the DPI this process runs at.
inline int Px(int value) { return ui::Scale(value, ProcessDpi()); }

// Every visible window below `parent` lies wholly inside its own parent's
// client area, and (with `texts`: windows of this process only) every
// label is large enough for its text in its font.
void ExpectControlsWhole(HWND parent, bool texts = true);

// Runs this test program again, only the tests `filter` names, under the
// profile at `dpi`; answers its exit code (0: every test passed, and the
// program saw the profile: its DPI and Windows 10).
DWORD RunTestsLikeWindows(const std::wstring& filter, int dpi = 144);

} // namespace testsupport
