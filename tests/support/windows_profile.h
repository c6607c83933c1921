// A Wine prefix that looks like a stock Windows 10 system, for the programs
// a test starts: file extensions hidden, Windows 10 reported, a DPI other
// than 96, and drives of more than one kind (ProfileDrives). Wine reads the
// first three as a process starts, so they reach the programs started while
// the object lives, not the test's own process; the drives reach every
// process at once. All is put back when it goes. Tests that use it run alone
// (SERIAL): every process started meanwhile sees the profile.
#pragma once
#include "tests/support/wine_ui.h"
#include "ui/dpi_scale.h"

#include <windows.h>

#include <string>

namespace testsupport {

// A removable drive E:, a network drive N: and a CD drive D:, each over a
// folder of its own, while the object lives: the prefix's mount manager
// links the letter (dosdevices/<letter>:), records its kind
// (HKLM\Software\Wine\Drives) and answers for it at once, so GetDriveTypeW
// gives the system's own kinds. A letter in use already is left alone.
class ProfileDrives {
public:
    ProfileDrives();
    ~ProfileDrives();
    ProfileDrives(const ProfileDrives&) = delete;
    ProfileDrives& operator=(const ProfileDrives&) = delete;

    // The root ("E:\") of the drive of that kind; empty when it could not be had.
    std::wstring Root(UINT kind) const;

private:
    struct Drive {
        wchar_t letter;
        UINT kind;
        bool defined = false;
    };
    TempDir folders_; // the drives' own folders, gone after the drives
    Drive drives_[3] = {{L'e', DRIVE_REMOVABLE}, {L'n', DRIVE_REMOTE}, {L'd', DRIVE_CDROM}};
};

class WindowsProfile {
public:
    explicit WindowsProfile(int dpi = 144);
    ~WindowsProfile();
    WindowsProfile(const WindowsProfile&) = delete;
    WindowsProfile& operator=(const WindowsProfile&) = delete;

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
    ProfileDrives drives_;
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
