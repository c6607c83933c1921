// Column orders and click directions of the file list.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "shview/fileview/file_order.h"

namespace {

using shview::FileFacts;

FileFacts Data(std::uint64_t size, std::uint64_t time) { return FileFacts{true, size, time}; }
FileFacts NoData() { return FileFacts{}; }

// FILETIME values of a few moments (100 ns since 1601).
constexpr std::uint64_t k1999 = 125'596'224'000'000'000ull; // 1999-01-01
constexpr std::uint64_t k2000 = 125'911'584'000'000'000ull; // 2000-01-01

TEST(FileOrder, SizesCompareByValueBeyondEightDigits)
{
    FileFacts small = Data(1023, 0), big = Data(200ull << 30, 0), mid = Data(50ull << 30, 0);
    EXPECT_LT(shview::CompareFileSize(small, mid), 0);
    EXPECT_LT(shview::CompareFileSize(mid, big), 0);
    EXPECT_GT(shview::CompareFileSize(big, small), 0);
    EXPECT_EQ(shview::CompareFileSize(mid, Data(50ull << 30, 7)), 0);
}

TEST(FileOrder, TimesCompareAcrossTheCentury)
{
    EXPECT_LT(shview::CompareFileTime(Data(0, k1999), Data(0, k2000)), 0);
    EXPECT_GT(shview::CompareFileTime(Data(0, k2000), Data(0, k1999)), 0);
    EXPECT_EQ(shview::CompareFileTime(Data(1, k2000), Data(2, k2000)), 0);
}

TEST(FileOrder, ItemsWithoutDataComeFirstAscendingLastDescending)
{
    std::vector<FileFacts> items = {Data(5, k2000), NoData(), Data(0, k1999), NoData(), Data(0, 0)};
    for (auto compare : {&shview::CompareFileSize, &shview::CompareFileTime}) {
        EXPECT_EQ(compare(NoData(), NoData()), 0);
        EXPECT_LT(compare(NoData(), Data(0, 0)), 0);
        EXPECT_GT(compare(Data(0, 0), NoData()), 0);
        for (int direction : {1, -1}) {
            auto sorted = items;
            std::stable_sort(sorted.begin(), sorted.end(), [&](const FileFacts& a, const FileFacts& b) {
                return shview::Directed(compare(a, b), direction) < 0;
            });
            if (direction > 0) {
                EXPECT_FALSE(sorted[0].hasData);
                EXPECT_FALSE(sorted[1].hasData);
                EXPECT_TRUE(sorted[2].hasData);
            } else {
                EXPECT_TRUE(sorted[2].hasData);
                EXPECT_FALSE(sorted[3].hasData);
                EXPECT_FALSE(sorted[4].hasData);
            }
            // Antisymmetric for every pair, so any sort algorithm agrees.
            for (const auto& a : items)
                for (const auto& b : items)
                    EXPECT_EQ(compare(a, b) < 0, compare(b, a) > 0);
        }
    }
}

TEST(FileOrder, DirectedReversesOnlyTheSign)
{
    EXPECT_EQ(shview::Directed(INT_MIN, -1), 1);
    EXPECT_EQ(shview::Directed(INT_MAX, -1), -1);
    EXPECT_EQ(shview::Directed(-7, 1), -1);
    EXPECT_EQ(shview::Directed(0, -1), 0);
}

TEST(FileOrder, ColumnClicksFlipOnlyTheirColumn)
{
    shview::SortDirectionTable directions = {-1, -1, 1, -1};
    shview::ResetSortDirections(directions);
    EXPECT_EQ(directions, (shview::SortDirectionTable{1, 1, 1, 1}));

    EXPECT_EQ(shview::ColumnClick(directions, 1), shview::SortKey::Size);
    EXPECT_EQ(directions, (shview::SortDirectionTable{1, -1, 1, 1}));
    EXPECT_EQ(shview::ColumnClick(directions, 1), shview::SortKey::Size);
    EXPECT_EQ(directions, (shview::SortDirectionTable{1, 1, 1, 1}));
    EXPECT_EQ(shview::ColumnClick(directions, 0), shview::SortKey::Name);
    EXPECT_EQ(shview::ColumnClick(directions, 2), shview::SortKey::Type);
    EXPECT_EQ(shview::ColumnClick(directions, 3), shview::SortKey::Date);
    EXPECT_EQ(directions, (shview::SortDirectionTable{-1, 1, -1, -1}));

    // No entry beyond the fourth column: nothing changes.
    EXPECT_EQ(shview::ColumnClick(directions, 4), shview::SortKey::None);
    EXPECT_EQ(shview::ColumnClick(directions, -1), shview::SortKey::None);
    EXPECT_EQ(directions, (shview::SortDirectionTable{-1, 1, -1, -1}));
}

} // namespace
