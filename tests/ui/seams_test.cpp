// Replacing a seam (or any variable) for a scope, and the system's own seams
// that read the machine, against Wine: the drives, their kinds and the clocks.
#include "ui/scoped_value.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(ScopedValue, PutsTheOldValueBackInOrderAlsoOnAnException)
{
    bool flag = false;
    {
        ui::ScopedValue outer(flag, true);
        {
            // Nested: the inner scope puts back what the outer one set.
            ui::ScopedValue inner(flag, true);
            EXPECT_TRUE(flag);
        }
        EXPECT_TRUE(flag);
    }
    EXPECT_FALSE(flag);
    std::wstring text = L"old";
    EXPECT_THROW(
        {
            ui::ScopedValue scoped(text, L"new");
            EXPECT_EQ(text, L"new");
            throw std::runtime_error("thrown");
        },
        std::runtime_error);
    EXPECT_EQ(text, L"old");
    // A seam is one such variable: the table's entry comes back.
    auto answer = [](int id) { return [id](HWND, const wchar_t*, const wchar_t*, UINT) { return id; }; };
    ui::ScopedSeam outerBox(ui::CurrentSeams().messageBox, answer(1));
    {
        ui::ScopedSeam innerBox(ui::CurrentSeams().messageBox, answer(42));
        EXPECT_EQ(ui::CurrentSeams().messageBox(nullptr, L"", L"", MB_OK), 42);
    }
    EXPECT_EQ(ui::CurrentSeams().messageBox(nullptr, L"", L"", MB_OK), 1);
}

TEST(SystemSeams, ListEveryDriveRootInOrder)
{
    const std::vector<std::wstring> drives = ui::SystemSeams().logicalDrives();
    ASSERT_GE(drives.size(), 2u);
    for (const auto& d : drives) {
        ASSERT_EQ(d.size(), 3u) << testing::PrintToString(d);
        EXPECT_TRUE(d[0] >= L'A' && d[0] <= L'Z');
        EXPECT_EQ(d.substr(1), L":\\");
    }
    EXPECT_NE(std::find(drives.begin(), drives.end(), L"C:\\"), drives.end());
    EXPECT_NE(std::find(drives.begin(), drives.end(), L"Z:\\"), drives.end());
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    // Matches the drive bit mask.
    DWORD mask = GetLogicalDrives();
    std::size_t bits = 0;
    for (DWORD m = mask; m; m &= m - 1)
        ++bits;
    EXPECT_EQ(drives.size(), bits);
    EXPECT_EQ(ui::SystemSeams().driveType(L"C:\\"), UINT(DRIVE_FIXED));
}

TEST(SystemSeams, ClocksGoForward)
{
    const ui::Seams system = ui::SystemSeams();
    const ULONGLONG tick = system.tickCount();
    const ui::CounterReading first = system.performanceCounter();
    Sleep(20);
    EXPECT_GE(system.tickCount() - tick, 10u);
    const ui::CounterReading second = system.performanceCounter();
    EXPECT_GT(first.frequency, 0);
    EXPECT_EQ(second.frequency, first.frequency);
    EXPECT_GE((second.count - first.count) * 1000 / first.frequency, 10);
}

} // namespace
