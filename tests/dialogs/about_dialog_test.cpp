// The about box: its texts, version line, icon, keys and place on the screen.
#include "dialogs/ufrmAbout.h"
#include "res/resource.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/windows_profile.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::DialogDriver;
using testsupport::Px;

constexpr wchar_t kCaption[] = L"バージョン情報";

struct Seen {
    std::vector<std::wstring> labels; // Label2, lblVersion, Label4, Label5
    std::wstring button;
    RECT window{}, client{}, version{}, button1{};
    LRESULT defId = 0;
    int iconPixels = 0; // pixels of the icon's square that are not the face colour
};

void Look(HWND dialog, Seen& seen)
{
    for (int id : {IDC_ABOUT_LABEL2, IDC_ABOUT_LBLVERSION, IDC_ABOUT_LABEL4, IDC_ABOUT_LABEL5})
        seen.labels.push_back(DialogDriver::TextOf(GetDlgItem(dialog, id)));
    seen.button = DialogDriver::TextOf(GetDlgItem(dialog, IDCANCEL));
    GetWindowRect(dialog, &seen.window);
    GetClientRect(dialog, &seen.client);
    auto inClient = [&](int id) {
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    seen.version = inClient(IDC_ABOUT_LBLVERSION);
    seen.button1 = inClient(IDCANCEL);
    seen.defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    testsupport::ExpectControlsWhole(dialog);
    // The title label lies over the icon; being transparent it lets it show.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = GetDC(dialog);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = Px(TfrmAbout::kIcon.top); y < Px(TfrmAbout::kIcon.bottom); ++y)
        for (int x = Px(TfrmAbout::kIcon.left); x < Px(TfrmAbout::kIcon.right); ++x)
            if (GetPixel(dc, x, y) != face)
                ++seen.iconPixels;
    ReleaseDC(dialog, dc);
}

TEST(AboutBox, ShowsTheProgramAndItsBuildAndClosesWithEveryKey)
{
    HWND host = testsupport::CreateHostWindow();
    testsupport::TempDir dir;
    const std::wstring build = L" (" + std::to_wstring(TARIMOKU_VERSION_BUILD) + L")";
    struct Row {
        const char* what;
        std::wstring executable; // empty: the running program (built with the program's resources)
        int how;                 // VK_RETURN, VK_ESCAPE, or 0 for the close box
        std::wstring version;
    };
    const Row rows[] = {
        {"Enter", L"", VK_RETURN, L"Version 1.11" + build},
        {"Esc", L"", VK_ESCAPE, L"Version 1.11" + build},
        {"close box", L"", 0, L"Version 1.11" + build},
        {"no version information", dir.File(L"plain.exe", "MZ"), VK_ESCAPE, L"Version 1.11"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Seen seen;
        DialogDriver driver(kCaption, [&](HWND dialog) {
            Look(dialog, seen);
            if (r.how)
                DialogDriver::PostKey(GetDlgItem(dialog, IDCANCEL), UINT(r.how));
            else
                PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        TfrmAbout about;
        about.executablePath = r.executable;
        EXPECT_EQ(about.ShowModal(host), IDCANCEL);
        ASSERT_EQ(driver.Handled(), 1);
        EXPECT_NE(about.ProgramIcon(), nullptr);
        ASSERT_EQ(seen.labels.size(), 4u);
        EXPECT_EQ(seen.labels[0], L"タリモク");
        EXPECT_EQ(seen.labels[1], r.version);
        EXPECT_FALSE(seen.labels[2].empty());
        EXPECT_FALSE(seen.labels[3].empty());
        EXPECT_EQ(seen.button, L"閉じる");
        EXPECT_EQ(LOWORD(seen.defId), IDCANCEL);
    }
    DestroyWindow(host);
}

TEST(AboutBox, HasItsLayoutAndSitsInTheMiddleOfTheScreenWhereverItsOwnerIs)
{
    HWND host = testsupport::CreateHostWindow();
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    for (POINT ownerAt : {POINT{0, 0}, POINT{400, 150}}) {
        SetWindowPos(host, nullptr, ownerAt.x, ownerAt.y, 600, 500, SWP_NOZORDER);
        Seen seen;
        DialogDriver driver(kCaption, [&](HWND dialog) {
            Look(dialog, seen);
            DialogDriver::PostKey(GetDlgItem(dialog, IDCANCEL), VK_ESCAPE);
        });
        TfrmAbout about;
        about.ShowModal(host);
        ASSERT_EQ(driver.Handled(), 1);
        const int w = seen.window.right - seen.window.left, h = seen.window.bottom - seen.window.top;
        EXPECT_EQ(seen.window.left, std::max(0, (screenW - w) / 2));
        EXPECT_EQ(seen.window.top, std::max(0, (screenH - h) / 2));
        EXPECT_EQ(seen.client.right, Px(299));
        EXPECT_EQ(seen.client.bottom, Px(167));
        EXPECT_EQ(seen.version.left, Px(12));
        EXPECT_EQ(seen.version.top, Px(48));
        EXPECT_EQ(seen.version.right - seen.version.left, Px(272));
        EXPECT_EQ(seen.button1.left, Px(216));
        EXPECT_EQ(seen.button1.top, Px(136));
        EXPECT_EQ(seen.button1.right - seen.button1.left, Px(75));
        EXPECT_EQ(seen.button1.bottom - seen.button1.top, Px(25));
        EXPECT_GT(seen.iconPixels, 100);
    }
    DestroyWindow(host);
}

} // namespace
