#include "tests/support/windows_profile.h"

#include "tests/support/program_process.h"
#include "ui/handles.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <cstddef>
#include <vector>

namespace testsupport {

namespace {

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
constexpr wchar_t kWine[] = L"Software\\Wine";
constexpr wchar_t kAskedDpi[] = L"TK_ASKED_DPI";
constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

void Put(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(k);
}

// Asks the prefix's mount manager to define a drive letter of a kind over a
// folder given by its Unix path, or (DRIVE_NO_ROOT_DIR, no path) to remove it.
bool DefineDrive(wchar_t letter, UINT kind, const char* unixPath = "")
{
    struct Request {
        ULONG size, type, fsType, serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
        char mountPoint[1024];
    } request{sizeof(Request), kind, 0, 0, 0, letter, USHORT(*unixPath ? offsetof(Request, mountPoint) : 0)};
    lstrcpynA(request.mountPoint, unixPath, sizeof(request.mountPoint));
    ui::UniqueFile manager{CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)};
    DWORD returned = 0;
    return manager && DeviceIoControl(manager.get(), CTL_CODE('m', 32, METHOD_BUFFERED, 3), &request, sizeof(request),
                                      nullptr, 0, &returned, nullptr);
}

} // namespace

WindowsProfile::WindowsProfile(int dpi)
    : saved_{{HKEY_CURRENT_USER, kDesktop, L"LogPixels"},
             {HKEY_CURRENT_USER, kWine, L"Version"},
             {HKEY_CURRENT_USER, kAdvanced, L"HideFileExt"}}
{
    for (Saved& s : saved_) {
        DWORD size = 0;
        if (RegGetValueW(s.root, s.key, s.name, RRF_RT_ANY | RRF_NOEXPAND, &s.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            s.data.resize((size + 1) / 2);
            s.had = RegGetValueW(s.root, s.key, s.name, RRF_RT_ANY | RRF_NOEXPAND, &s.type, s.data.data(),
                                 &size) == ERROR_SUCCESS;
            s.data.resize((size + 1) / 2);
        }
    }
    const DWORD pixels = DWORD(dpi), hide = 1;
    const wchar_t version[] = L"win10";
    Put(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &pixels, sizeof(pixels));
    Put(HKEY_CURRENT_USER, kWine, L"Version", REG_SZ, version, sizeof(version));
    Put(HKEY_CURRENT_USER, kAdvanced, L"HideFileExt", REG_DWORD, &hide, sizeof(hide));
    // Wine's own export: the Unix path of a Windows one.
    auto unixName = reinterpret_cast<char*(CDECL*)(const wchar_t*)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    for (int i = 0; i < 3 && unixName; ++i) {
        const wchar_t letter = kDriveRoots[i][0];
        char* folder = unixName(driveFolders_.Folder(std::wstring(1, letter)).c_str());
        drivesDefined_[i] = folder && !(GetLogicalDrives() & (1u << (letter - L'A'))) &&
                            DefineDrive(letter, kDriveKinds[i], folder);
        if (folder)
            HeapFree(GetProcessHeap(), 0, folder);
    }
}

WindowsProfile::~WindowsProfile()
{
    for (int i = 0; i < 3; ++i)
        if (drivesDefined_[i])
            DefineDrive(kDriveRoots[i][0], DRIVE_NO_ROOT_DIR);
    for (const Saved& s : saved_) {
        if (s.had)
            Put(s.root, s.key, s.name, s.type, s.data.data(), DWORD(s.data.size() * sizeof(wchar_t)));
        else
            RegDeleteKeyValueW(s.root, s.key, s.name);
    }
}

int ProcessDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : ui::kDesignDpi;
}

void ExpectControlsWhole(HWND parent, bool texts)
{
    RECT client{};
    GetClientRect(parent, &client);
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c))
            continue;
        ExpectControlsWhole(c, texts);
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        const int id = GetDlgCtrlID(c);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << "control " << id << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom
            << " outside " << client.right << "x" << client.bottom;
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        if (!texts || _wcsicmp(cls, L"Static") != 0)
            continue;
        std::wstring text(std::size_t(GetWindowTextLengthW(c)) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(c, text.data(), int(text.size()))));
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        EXPECT_LE(size.cx, r.right - r.left) << "the text of control " << id << " is cut";
        EXPECT_LE(size.cy, r.bottom - r.top) << "the text of control " << id << " is cut";
    }
}

namespace {

// The DPI the profile asked for when this process was started under it; 0
// when it was not.
int AskedDpi()
{
    wchar_t value[16] = {};
    return GetEnvironmentVariableW(kAskedDpi, value, 16) ? _wtoi(value) : 0;
}

// That this process sees the profile it was started under: its DPI and Windows 10.
void ExpectProfileSeen()
{
    EXPECT_EQ(ProcessDpi(), AskedDpi());
    using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto getVersion = reinterpret_cast<GetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    OSVERSIONINFOW version{sizeof(version)};
    ASSERT_EQ(getVersion(&version), 0);
    EXPECT_EQ(version.dwMajorVersion, 10u);
}

// A program started under the profile checks it before its tests run: a
// failure fails the run, and so the test that started it.
class ProfileCheck final : public testing::Environment {
public:
    void SetUp() override
    {
        if (AskedDpi())
            ExpectProfileSeen();
    }
};
testing::Environment* const kProfileCheck = testing::AddGlobalTestEnvironment(new ProfileCheck);

} // namespace

DWORD RunTestsLikeWindows(const std::wstring& filter, int dpi)
{
    std::vector<wchar_t> self(32768);
    DWORD n = GetModuleFileNameW(nullptr, self.data(), DWORD(self.size()));
    if (n == 0 || n >= self.size())
        return kNotRun;
    WindowsProfile profile(dpi);
    SetEnvironmentVariableW(kAskedDpi, std::to_wstring(dpi).c_str());
    DWORD code = RunToEnd(L"\"" + std::wstring(self.data(), n) + L"\" --gtest_filter=" + filter);
    SetEnvironmentVariableW(kAskedDpi, nullptr);
    return code;
}

} // namespace testsupport
