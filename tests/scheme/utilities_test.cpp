// The system utilities against Wine: version resources, window placement
// and the error box.
#include "scheme/utilities.h"

#include "res/resource.h"
#include "res/texts.h"
#include "scheme/center_math.h"
#include "scheme/error_box.h"
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

// Where a window goes when it is centred on another: the arithmetic alone for
// rectangles no window can have, and the real windows for the rest, on a
// made-up monitor whose work area is the row's (the test machine has one
// monitor, at the origin).
TEST(CenterWindow, CentresOnTheReferenceInsideItsOwnMonitorsWorkArea)
{
    using scheme::Rect;
    constexpr int big = 2147483647;
    struct Row {
        const char* name;
        Rect window, reference, work;
        scheme::Point at;
        bool real; // also with real windows through CenterWindow
    };
    const Row rows[] = {
        {"centred", {0, 0, 300, 200}, {100, 100, 601, 401}, {0, 0, 1024, 738}, {200, 150}, true},
        // Odd sizes round toward zero on both halves: 100 + 0 - 0.
        {"odd sizes", {50, 50, 51, 51}, {100, 100, 101, 101}, {0, 0, 1024, 738}, {100, 100}, true},
        // Near the right and bottom edges: the far edges end on the work area's.
        {"far edges", {0, 0, 300, 200}, {900, 650, 1100, 800}, {0, 30, 1024, 738}, {1024 - 300, 738 - 200}, true},
        {"near edges", {0, 0, 300, 200}, {-50, 0, 50, 40}, {0, 30, 1024, 738}, {0, 30}, true},
        // Larger than the work area: aligned with its left and top edges.
        {"larger", {0, 0, 2000, 1000}, {100, 100, 601, 401}, {0, 30, 1024, 738}, {0, 30}, true},
        // A work area that does not start at the origin (taskbar on the left).
        {"taskbar left", {0, 0, 300, 200}, {0, 100, 100, 401}, {60, 0, 1024, 738}, {60, 150}, true},
        // The window on a second monitor, right of the primary one: its own
        // work area holds the dialog, not the primary's.
        {"second monitor", {0, 0, 300, 200}, {2200, 700, 2700, 1000}, {1280, 0, 2560, 984}, {2260, 750}, true},
        {"above the primary", {0, 0, 300, 200}, {100, -900, 500, -500}, {0, -1024, 1280, -40}, {150, -800}, true},
        {"extreme", {-big, -big, big, big}, {-big, -big, big, big}, {0, 0, 1024, 738}, {0, 0}, false},
        // A minimised reference window sits at (-32000, -32000).
        {"minimised", {0, 0, 300, 200}, {-32000, -32000, -31840, -31972}, {0, 0, 1024, 738}, {0, 0}, false},
    };
    std::vector<HWND> windows;
    auto popup = [&windows](const Rect& r) {
        HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                                   nullptr);
        windows.push_back(wnd);
        return wnd;
    };
    const HMONITOR own = reinterpret_cast<HMONITOR>(0x5EC0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        scheme::Point at = scheme::CenterPosition(row.window, row.reference, row.work);
        EXPECT_EQ(at.x, row.at.x);
        EXPECT_EQ(at.y, row.at.y);
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
