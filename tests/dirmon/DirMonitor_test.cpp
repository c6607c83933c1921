// TDirMonitor on real folders: changes made by the test reach OnChange from
// the find timer; failed arming; the shared interval and timer; handlers
// that switch monitors off or destroy them.
#include "dirmon/DirMonitor.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"
#include "ui/exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using testsupport::PumpFor;
using testsupport::PumpUntil;
using testsupport::TempDir;

namespace {

// Every test starts and ends with no monitor listed and a short interval, so
// ticks come quickly; the interval of the process is put back afterwards.
class DirMonitorTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(TDirMonitor::ListedCount(), 0u);
        saved_ = TDirMonitor::Interval();
        TDirMonitor::SetInterval(kTick);
    }
    void TearDown() override
    {
        EXPECT_EQ(TDirMonitor::ListedCount(), 0u);
        EXPECT_FALSE(TDirMonitor::FindTimerRunning());
        TDirMonitor::SetInterval(saved_);
    }

    // Counts the events of `m` (and remembers the sender).
    void Count(TDirMonitor& m, int& counter)
    {
        m.OnChange = [&counter, &m](TDirMonitor* sender) {
            EXPECT_EQ(sender, &m);
            ++counter;
        };
    }

    static constexpr int kTick = 30;
    // Long enough for many ticks: an event that has not come by then is not coming.
    static constexpr DWORD kQuiet = 400;
    TempDir dir_;

private:
    int saved_ = 2000;
};

} // namespace

TEST_F(DirMonitorTest, AChangeOfAWatchedKindFiresOnChangeOnTheNextTick)
{
    struct Row {
        const char* name;
        TDirMonitorFilter filter;
        bool subtree;
        // Made before the monitor is switched on.
        const wchar_t* before;
        void (*change)(const TempDir&);
        bool fires;
    };
    const Row rows[] = {
        {"a new file, default filter", kDefaultDirMonitorFilter, false, nullptr,
         [](const TempDir& d) { d.File(L"new.txt", "x"); }, true},
        {"a new folder, folder names over the subtree", {dmfDirName}, true, nullptr,
         [](const TempDir& d) { d.Folder(L"sub"); }, true},
        {"a folder made inside a new folder, subtree", {dmfDirName}, true, nullptr,
         [](const TempDir& d) { d.Folder(L"a\\b"); }, true},
        {"a renamed file, file and folder names", {dmfFileName, dmfDirName}, false, L"old.txt",
         [](const TempDir& d) { MoveFileW((d / L"old.txt").c_str(), (d / L"new.txt").c_str()); }, true},
        {"a deleted folder, folder names", {dmfDirName}, false, L"gone\\",
         [](const TempDir& d) { RemoveDirectoryW((d / L"gone").c_str()); }, true},
        {"nothing changed", kDefaultDirMonitorFilter, false, nullptr, [](const TempDir&) {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        if (row.before) {
            std::wstring name = row.before;
            if (name.back() == L'\\')
                dir.Folder(name.substr(0, name.size() - 1));
            else
                dir.File(name, "x");
        }
        TDirMonitor m;
        int changes = 0;
        Count(m, changes);
        m.SetDirectory(dir.Path());
        m.SetFilter(row.filter);
        m.SetIncludeSubDir(row.subtree);
        m.SetActive(true);
        ASSERT_TRUE(m.Listed());
        ASSERT_TRUE(TDirMonitor::FindTimerRunning());
        EXPECT_EQ(TDirMonitor::FindTimerInterval(), static_cast<unsigned>(kTick));
        EXPECT_EQ(m.Directory(), dir.Path());

        row.change(dir);
        if (row.fires) {
            EXPECT_TRUE(PumpUntil([&] { return changes > 0; }));
        } else {
            PumpFor(kQuiet);
            EXPECT_EQ(changes, 0);
        }
        // One change was reported once, and the object was re-armed.
        PumpFor(kQuiet / 2);
        EXPECT_LE(changes, row.fires ? 2 : 0);
        const int before = changes;
        dir.File(L"later.txt", "y");
        dir.Folder(L"later");
        EXPECT_TRUE(PumpUntil([&] { return changes > before; })) << "not re-armed";
    }
}

TEST_F(DirMonitorTest, AFailedArmingLeavesTheErrorCodeInDirectoryAndAssigningThePathAgainReArms)
{
    struct Row {
        const char* name;
        std::wstring path;
        const wchar_t* code;
    };
    const Row rows[] = {
        {"a missing folder", dir_ / L"missing", L"2"},
        {"a file", dir_.File(L"file.txt", "x"), L"267"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TDirMonitor m;
        int changes = 0;
        Count(m, changes);
        m.SetDirectory(row.path);
        m.SetActive(true);
        EXPECT_TRUE(m.Active());
        EXPECT_EQ(m.Directory(), row.code);
        EXPECT_EQ(m.NotifyHandle(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(m.Listed());
        EXPECT_FALSE(TDirMonitor::FindTimerRunning());

        // Switching a monitor off that was never listed changes nothing.
        TDirMonitor other;
        other.SetDirectory(dir_.Path());
        other.SetActive(true);
        m.SetActive(false);
        EXPECT_EQ(TDirMonitor::ListedCount(), 1u);
        EXPECT_TRUE(TDirMonitor::FindTimerRunning());
        other.SetActive(false);
        // Directory now names no folder: the path must be given again.
        m.SetDirectory(row.path);
        m.SetActive(true);
        EXPECT_EQ(m.Directory(), row.code);
        EXPECT_FALSE(m.Listed());
    }

    // Once the folder exists, the same path is a change again and re-arms; the
    // monitor stays unlisted until it is switched off and on.
    TDirMonitor m;
    int changes = 0;
    Count(m, changes);
    const std::wstring path = dir_ / L"later";
    m.SetDirectory(path);
    m.SetActive(true);
    ASSERT_EQ(m.Directory(), L"2");
    dir_.Folder(L"later");
    m.SetDirectory(path);
    EXPECT_EQ(m.Directory(), path);
    EXPECT_NE(m.NotifyHandle(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(m.Listed());
    m.SetActive(false);
    m.SetActive(true);
    EXPECT_TRUE(m.Listed());
    dir_.File(L"later\\x.txt", "x");
    EXPECT_TRUE(PumpUntil([&] { return changes > 0; }));
    m.SetActive(false);
}

TEST_F(DirMonitorTest, AnEmptyDirectoryWatchesTheCurrentDirectory)
{
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(dir_.Path().c_str()));
    {
        TDirMonitor m;
        int changes = 0;
        Count(m, changes);
        m.SetActive(true);
        SetCurrentDirectoryW(saved); // the folder was taken when it armed
        EXPECT_TRUE(m.Listed());
        EXPECT_EQ(m.Directory(), L"");
        dir_.File(L"here.txt", "x");
        EXPECT_TRUE(PumpUntil([&] { return changes > 0; }));
    }
    SetCurrentDirectoryW(saved);
}

TEST_F(DirMonitorTest, IntervalIsSharedAndZeroStopsAllPolling)
{
    TDirMonitor a, b;
    int changesA = 0, changesB = 0;
    Count(a, changesA);
    Count(b, changesB);
    a.SetDirectory(dir_.Folder(L"a"));
    b.SetDirectory(dir_.Folder(L"b"));

    a.SetActive(true);
    b.SetInterval(0); // through either monitor: one value for all
    EXPECT_EQ(a.Interval(), 0);
    EXPECT_FALSE(TDirMonitor::FindTimerRunning());
    b.SetActive(true); // switched on later: not polled either
    EXPECT_FALSE(TDirMonitor::FindTimerRunning());
    dir_.File(L"a\\x.txt", "x");
    dir_.File(L"b\\x.txt", "x");
    PumpFor(kQuiet);
    EXPECT_EQ(changesA + changesB, 0);

    a.SetInterval(kTick);
    EXPECT_TRUE(TDirMonitor::FindTimerRunning());
    EXPECT_TRUE(PumpUntil([&] { return changesA > 0 && changesB > 0; }));
    EXPECT_EQ(changesA, 1);
    EXPECT_EQ(changesB, 1);
}

TEST_F(DirMonitorTest, TheFindTimerRunsOnlyWhileAMonitorIsListed)
{
    EXPECT_FALSE(TDirMonitor::FindTimerRunning());
    TDirMonitor::SetInterval(70); // stored only
    EXPECT_FALSE(TDirMonitor::FindTimerRunning());
    {
        TDirMonitor a, b;
        a.SetDirectory(dir_.Path());
        b.SetDirectory(dir_.Path());
        a.SetActive(true);
        EXPECT_TRUE(TDirMonitor::FindTimerRunning());
        EXPECT_EQ(TDirMonitor::FindTimerInterval(), 70u);
        b.SetActive(true);
        a.SetActive(false);
        EXPECT_TRUE(TDirMonitor::FindTimerRunning());
        b.SetActive(false);
        EXPECT_FALSE(TDirMonitor::FindTimerRunning());
        EXPECT_EQ(TDirMonitor::FindTimerInterval(), 0u);

        TDirMonitor::SetInterval(kTick);
        a.SetActive(true);
        EXPECT_EQ(TDirMonitor::FindTimerInterval(), static_cast<unsigned>(kTick));
        // A listed monitor that goes away switches itself off.
    }
    EXPECT_EQ(TDirMonitor::ListedCount(), 0u);
    EXPECT_FALSE(TDirMonitor::FindTimerRunning());
}

TEST_F(DirMonitorTest, HandlersMayDestroyMonitorsAndSwitchThemOnDuringTheTick)
{
    std::vector<std::unique_ptr<TDirMonitor>> monitors;
    std::vector<int> fired(4, 0);
    for (int i = 0; i < 4; ++i) {
        auto m = std::make_unique<TDirMonitor>();
        m->SetDirectory(dir_.Folder(L"d" + std::to_wstring(i)));
        m->OnChange = [&fired, i](TDirMonitor*) { ++fired[i]; };
        monitors.push_back(std::move(m));
    }
    // Ticks are run by hand here.
    TDirMonitor::SetInterval(0);
    for (int i = 0; i < 3; ++i)
        monitors[i]->SetActive(true);

    // The first destroys itself and the second (both signalled) and switches
    // the fourth on; the third is still reported in the same tick.
    monitors[0]->OnChange = [&](TDirMonitor*) {
        ++fired[0];
        monitors[1].reset();
        monitors[3]->SetActive(true);
        monitors[0].reset();
    };
    for (int i = 0; i < 3; ++i)
        dir_.File(L"d" + std::to_wstring(i) + L"\\x.txt", "x");
    PumpFor(200); // nothing polls: the changes only reach the objects
    EXPECT_EQ(TDirMonitor::Poll(), 2u);
    EXPECT_EQ(fired, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(TDirMonitor::ListedCount(), 2u);
    EXPECT_TRUE(monitors[3]->Listed());

    // The survivors keep working from the timer.
    TDirMonitor::SetInterval(kTick);
    dir_.File(L"d3\\y.txt", "y");
    EXPECT_TRUE(PumpUntil([&] { return fired[3] > 0; }));

    // A handler that destroys the last listed monitor stops the timer.
    monitors[3].reset();
    monitors[2]->OnChange = [&](TDirMonitor*) { monitors[2].reset(); };
    dir_.File(L"d2\\z.txt", "z");
    EXPECT_TRUE(PumpUntil([&] { return !monitors[2]; }));
    EXPECT_FALSE(TDirMonitor::FindTimerRunning());
}

TEST_F(DirMonitorTest, AnExceptionFromAHandlerIsShownAndTheTimerGoesOn)
{
    std::vector<std::wstring> shown;
    int changes = 0, changesWhileShown = 0;
    ui::SetExceptionSink([&](const std::wstring& message) {
        shown.push_back(message);
        // The box's own message loop, with the folder changing meanwhile:
        // the timer waits for the box instead of reporting (and failing) again.
        const int before = changes;
        dir_.File(L"during.txt", "z");
        PumpFor(300);
        changesWhileShown += changes - before;
    });
    TDirMonitor m;
    m.SetDirectory(dir_.Path());
    m.OnChange = [&](TDirMonitor*) {
        if (++changes == 1)
            throw ui::Exception(L"handler failed");
    };
    m.SetActive(true);
    dir_.File(L"one.txt", "x");
    EXPECT_TRUE(PumpUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"handler failed"}));
    EXPECT_EQ(changesWhileShown, 0);
    EXPECT_TRUE(TDirMonitor::FindTimerRunning());
    dir_.File(L"two.txt", "y");
    EXPECT_TRUE(PumpUntil([&] { return changes > 1; }));
    m.SetActive(false);
    ui::SetExceptionSink(nullptr);
}
