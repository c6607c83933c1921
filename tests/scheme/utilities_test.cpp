// The system utilities against Wine: version resources, window placement
// and the error box.
#include "scheme/utilities.h"

#include "res/resource.h"
#include "res/texts.h"
#include "scheme/error_box.h"
#include "tests/scheme/center_rows.h"
#include "tests/support/wine_ui.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring BesideSelf(const wchar_t* name)
{
    std::wstring p = OwnPath();
    return p.substr(0, p.find_last_of(L'\\') + 1) + name;
}

TEST(UtilitiesVersion, BuildOfTheProgramsOwnVersion)
{
    EXPECT_EQ(scheme::GetFileVersionBuild(OwnPath()), TARIMOKU_VERSION_BUILD);
}

TEST(UtilitiesVersion, OnlyTheJapaneseShiftJisTableCounts)
{
    // Its FileVersion 1.1.1.34 sits in English and Japanese-Unicode tables only.
    const std::wstring other = BesideSelf(L"scheme_version_other.exe");
    ASSERT_TRUE(testsupport::FileExists(other));
    EXPECT_EQ(scheme::GetFileVersionBuild(other), -1);
}

TEST(UtilitiesVersion, NoVersionInformationGivesMinusOne)
{
    testsupport::TempDir temp;
    EXPECT_EQ(scheme::GetFileVersionBuild(temp.File(L"plain.txt", "1.0.0.34")), -1);
    EXPECT_EQ(scheme::GetFileVersionBuild(temp / L"missing.exe"), -1);
    EXPECT_EQ(scheme::GetFileVersionBuild(temp.Path()), -1);
    EXPECT_EQ(scheme::GetFileVersionBuild(L""), -1);
}

// Where a window goes when it is centred on another, with real windows on a
// made-up monitor whose work area is the row's (the test machine has one
// monitor, at the origin).
TEST(CenterWindow, CentresOnTheReferenceInsideItsOwnMonitorsWorkArea)
{
    using scheme::Rect;
    std::vector<HWND> windows;
    auto popup = [&windows](const Rect& r) {
        HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                                   nullptr);
        windows.push_back(wnd);
        return wnd;
    };
    const HMONITOR own = reinterpret_cast<HMONITOR>(0x5EC0);
    for (const schemetest::CenterRow& row : schemetest::kCenterRows) {
        SCOPED_TRACE(row.name);
        if (!row.real)
            continue;
        HWND reference = popup(row.reference), dialog = popup(row.window);
        ASSERT_TRUE(reference && dialog);
        std::vector<std::pair<HWND, DWORD>> asked;
        ui::ScopedSeam from(ui::CurrentSeams().monitorFromWindow, [&](HWND w, DWORD flags) {
            asked.emplace_back(w, flags);
            return w == reference ? own : nullptr;
        });
        ui::ScopedSeam info(ui::CurrentSeams().getMonitorInfo, [&](HMONITOR m, MONITORINFO* out) {
            if (m != own || !out || out->cbSize != sizeof(MONITORINFO))
                return FALSE;
            out->rcMonitor = out->rcWork = {row.work.left, row.work.top, row.work.right, row.work.bottom};
            return TRUE;
        });
        scheme::CenterWindow(dialog, reference);
        EXPECT_EQ(asked, (std::vector<std::pair<HWND, DWORD>>{{reference, DWORD(MONITOR_DEFAULTTONEAREST)}}));
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_EQ(r.left, row.at.x);
        EXPECT_EQ(r.top, row.at.y);
        // Neither resized.
        EXPECT_EQ(r.right - r.left, row.window.right - row.window.left);
        EXPECT_EQ(r.bottom - r.top, row.window.bottom - row.window.top);
    }
    for (HWND w : windows)
        DestroyWindow(w);
}

// The real box, closed by a hook as soon as it is up.
struct BoxSeen {
    std::wstring caption;
    std::wstring text;
    bool hasOk = false;
    HWND owner = nullptr;
};
BoxSeen* g_box = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK BoxHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && g_box) {
        HWND box = reinterpret_cast<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (wcscmp(cls, L"#32770") == 0) {
            wchar_t buf[512] = {};
            GetWindowTextW(box, buf, 512);
            g_box->caption = buf;
            // MessageBox puts its text in the static control 0xFFFF.
            GetDlgItemTextW(box, 0xFFFF, buf, 512);
            g_box->text = buf;
            g_box->hasOk = GetDlgItem(box, IDOK) != nullptr;
            g_box->owner = GetWindow(box, GW_OWNER);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            g_box = nullptr;
        }
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

TEST(UtilitiesErrorBox, ShowsAModalBoxWithTheErrorCaption)
{
    HWND owner = testsupport::CreateHostWindow();
    testsupport::DialogWatchdog watchdog(IDOK); // in case the hook misses it
    BoxSeen seen;
    g_box = &seen;
    g_hook = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    scheme::ShowError(owner, L"指定されたフォルダは見つかりません");
    UnhookWindowsHookEx(g_hook);
    g_box = nullptr;
    DestroyWindow(owner);

    EXPECT_EQ(seen.caption, texts::ErrorCaption);
    EXPECT_EQ(seen.text, L"指定されたフォルダは見つかりません");
    EXPECT_TRUE(seen.hasOk);
    EXPECT_EQ(seen.owner, owner);
}

} // namespace
