// Keeping a window's placement in the registry, on a window of the test's own.
#include "dialogs/RestorePos.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/placement_keys.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dialogs::Bounds;
using testsupport::TestRegistryKey;

constexpr wchar_t kName[] = L"frmPosi";
const Bounds kDefault{100, 110, 491, 409};

// A top-level window at the default bounds, hidden as a form is while it loads.
struct Form {
    Form()
    {
        hwnd = CreateWindowExW(0, L"STATIC", L"placement", WS_OVERLAPPEDWINDOW, kDefault.left, kDefault.top,
                               kDefault.width, kDefault.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Form() { DestroyWindow(hwnd); }
    Bounds Now() const { return WindowBounds(hwnd); }
    HWND hwnd;
};

RECT WorkAreaNear(const Bounds& b)
{
    RECT r{b.left, b.top, b.left + b.width, b.top + b.height};
    MONITORINFO info{sizeof(info)};
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

TEST(RestorePos, AppliesTheStoredPlacementBroughtOntoTheScreen)
{
    // Off-screen rows: their size (shrunk to the work area when larger), wholly on it.
    const RECT work = WorkAreaNear(kDefault);
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    struct Row {
        const wchar_t* stored; // nullptr: no value
        Bounds expected;
        bool pendingAfter;
    };
    const Row rows[] = {
        {nullptr, kDefault, true},
        {L"", kDefault, true},
        {L"10,20,300,200", {10, 20, 300, 200}, false},
        {L"10,20", {10, 20, 491, 409}, false},
        {L"abc,20,300,200", {100, 20, 300, 200}, false},
        {L"10,,300,200", {10, 110, 300, 200}, false},
        {L"10,20,300,200,5", {10, 20, 300, 200}, false},
        {L"10,20,0,0", {10, 20, 491, 409}, false},
        {L"-5000,-5000,300,200", {work.left, work.top, 300, 200}, false},
        {L"5000,5000,300,200", {work.right - 300, work.bottom - 200, 300, 200}, false},
        {L"-8,-8,99999,99999", {work.left, work.top, workW, workH}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored ? r.stored : L"(none)");
        TestRegistryKey key;
        if (r.stored) {
            ASSERT_TRUE(key.Write(kName, r.stored));
        }
        Form form;
        TRestorePos pos;
        pos.SetRegistryKey(key.Path());
        pos.SetRegistryName(kName);
        EXPECT_EQ(form.Now(), kDefault); // nothing happens before the window is loaded
        pos.Loaded(form.hwnd);
        EXPECT_EQ(pos.RestorePending(), r.pendingAfter);
        EXPECT_FALSE(IsWindowVisible(form.hwnd));
        EXPECT_EQ(form.Now(), r.expected);
        // No value says it was maximised: it opens as asked.
        EXPECT_EQ(pos.ShowCommand(SW_SHOWNORMAL), SW_SHOWNORMAL);
    }
}

// A window closed maximised keeps its normal bounds in the text, as one
// closed normal does, and says in a value of its own that it opens maximised.
TEST(RestorePos, AWindowClosedMaximisedKeepsItsNormalBoundsAndReopensMaximised)
{
    struct Row {
        const char* name;
        std::vector<int> shows; // applied in turn before the save
        const wchar_t* maximized;
        int opens; // the show command a plain start becomes
    };
    const Row rows[] = {
        {"normal", {SW_SHOWNOACTIVATE}, L"0", SW_SHOWNORMAL},
        {"maximised", {SW_SHOWMAXIMIZED}, L"1", SW_SHOWMAXIMIZED},
        {"minimised from maximised", {SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE}, L"1", SW_SHOWMAXIMIZED},
        {"minimised from normal", {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE}, L"0", SW_SHOWNORMAL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestRegistryKey key;
        {
            Form form;
            TRestorePos pos;
            pos.SetRegistryKey(key.Path());
            pos.SetRegistryName(kName);
            pos.Loaded(form.hwnd);
            SetWindowPos(form.hwnd, nullptr, 30, 40, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE);
            for (int show : row.shows)
                ShowWindow(form.hwnd, show);
            testsupport::PumpUntilIdle();
            EXPECT_TRUE(pos.Save());
            EXPECT_EQ(key.Read(kName), L"30,40,320,240");
            EXPECT_EQ(key.Read(pos.MaximizedName()), row.maximized);
        }
        Form form;
        TRestorePos pos;
        pos.SetRegistryKey(key.Path());
        pos.SetRegistryName(kName);
        pos.Loaded(form.hwnd);
        EXPECT_EQ(form.Now(), (Bounds{30, 40, 320, 240}));
        EXPECT_EQ(pos.ShowCommand(SW_SHOWNORMAL), row.opens);
        EXPECT_EQ(pos.ShowCommand(SW_SHOWDEFAULT), row.opens == SW_SHOWNORMAL ? SW_SHOWDEFAULT : row.opens);
        // A start asked minimised stays minimised.
        EXPECT_EQ(pos.ShowCommand(SW_SHOWMINNOACTIVE), SW_SHOWMINNOACTIVE);
    }
}

TEST(RestorePos, ANewKeyBeforeAnyRestoreReadsAgainTheSameKeyDoesNothing)
{
    TestRegistryKey empty, first, second;
    ASSERT_TRUE(first.Write(kName, L"10,20,300,200"));
    ASSERT_TRUE(second.Write(kName, L"30,40,320,240"));
    Form form;
    TRestorePos pos;
    pos.SetRegistryName(kName);
    pos.SetRegistryKey(empty.Path());
    pos.Loaded(form.hwnd);
    EXPECT_TRUE(pos.RestorePending());
    EXPECT_EQ(form.Now(), kDefault);

    // The same text again: not read, even though a value is there now.
    ASSERT_TRUE(empty.Write(kName, L"50,60,330,250"));
    pos.SetRegistryKey(empty.Path());
    EXPECT_TRUE(pos.RestorePending());
    EXPECT_EQ(form.Now(), kDefault);

    // A new text while pending: restored from the new place.
    pos.SetRegistryKey(first.Path());
    EXPECT_FALSE(pos.RestorePending());
    EXPECT_EQ(form.Now(), (Bounds{10, 20, 300, 200}));
    EXPECT_EQ(pos.RegistryKey(), first.Path());

    // After a restore a new text is only stored.
    pos.SetRegistryKey(second.Path());
    EXPECT_EQ(pos.RegistryKey(), second.Path());
    EXPECT_EQ(form.Now(), (Bounds{10, 20, 300, 200}));

    // The name follows the same rules.
    TestRegistryKey third;
    ASSERT_TRUE(third.Write(L"other", L"70,80,340,260"));
    Form form2;
    TRestorePos pos2;
    pos2.SetRegistryKey(third.Path());
    pos2.SetRegistryName(kName);
    pos2.Loaded(form2.hwnd);
    EXPECT_TRUE(pos2.RestorePending());
    pos2.SetRegistryName(L"other");
    EXPECT_FALSE(pos2.RestorePending());
    EXPECT_EQ(form2.Now(), (Bounds{70, 80, 340, 260}));
}

TEST(RestorePos, SavesTheLastBoundsAndAnswersWhetherItCould)
{
    TestRegistryKey key;
    Form form;
    TRestorePos pos;
    pos.SetRegistryKey(key.Path());
    pos.SetRegistryName(kName);
    pos.Loaded(form.hwnd);

    SetWindowPos(form.hwnd, nullptr, 30, 40, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(pos.Save());
    EXPECT_EQ(key.Read(kName), L"30,40,320,240");

    // Minimised: the bounds it comes back to.
    ShowWindow(form.hwnd, SW_SHOWMINNOACTIVE);
    testsupport::PumpUntilIdle();
    ASSERT_TRUE(IsIconic(form.hwnd));
    EXPECT_TRUE(pos.Save());
    EXPECT_EQ(key.Read(kName), L"30,40,320,240");
    ShowWindow(form.hwnd, SW_HIDE);

    // Nothing to write to: nothing written, nothing failed.
    TRestorePos unnamed;
    unnamed.Loaded(form.hwnd);
    EXPECT_TRUE(unnamed.Save());
    TRestorePos unloaded;
    unloaded.SetRegistryKey(key.Path());
    unloaded.SetRegistryName(L"unloaded");
    EXPECT_TRUE(unloaded.Save());
    EXPECT_EQ(key.Read(L"unloaded"), L"");

    // A key that cannot be written: reported, not thrown.
    schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, key.Path());
    if (!readOnly.Applied())
        GTEST_SKIP() << "the key could not be made read-only";
    SetWindowPos(form.hwnd, nullptr, 50, 60, 330, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(pos.Save());
    EXPECT_EQ(key.Read(kName), L"30,40,320,240");
}

} // namespace
