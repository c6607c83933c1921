// The system utilities against Wine: version resources, window placement
// and the error box.
#include "scheme/utilities.h"

#include "res/resource.h"
#include "res/texts.h"
#include "scheme/error_box.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
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

class CenterWindowTest : public testing::Test {
protected:
    HWND Popup(int x, int y, int w, int h)
    {
        HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(wnd);
        return wnd;
    }
    void TearDown() override
    {
        for (HWND w : windows_)
            DestroyWindow(w);
    }
    static RECT Work()
    {
        RECT r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        return r;
    }
    static RECT Bounds(HWND w)
    {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    }
    std::vector<HWND> windows_;
};

TEST_F(CenterWindowTest, CentresOnTheReferenceWithoutResizing)
{
    HWND reference = Popup(100, 100, 501, 301);
    HWND dialog = Popup(0, 0, 300, 200);
    scheme::CenterWindow(dialog, reference);
    RECT r = Bounds(dialog);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(CenterWindowTest, StaysInsideTheWorkArea)
{
    RECT work = Work();
    ASSERT_GT(work.right - work.left, 400);
    HWND reference = Popup(work.right - 100, work.bottom - 50, 200, 100);
    HWND dialog = Popup(0, 0, 300, 200);
    scheme::CenterWindow(dialog, reference);
    RECT r = Bounds(dialog);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);

    HWND wide = Popup(0, 0, work.right - work.left + 200, 100);
    scheme::CenterWindow(wide, reference);
    r = Bounds(wide);
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.right - r.left, work.right - work.left + 200);
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
