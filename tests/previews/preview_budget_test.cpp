// The atlas arithmetic behind the previews' memory budget.
#include "app/preview_budget.h"
#include "app/preview_steps.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr long long kFrame = 32 * 32 * 4;
constexpr long long kPage = 256 * kFrame;

TEST(PreviewBudget, PagesAndGrowthFollowTheFramesAndTheRoomLeft)
{
    struct Row {
        int room, frames;
        long long page, growth;
    };
    const Row rows[] = {
        {0, 1, kPage, kPage},               // the first frame makes an ordinary page
        {0, 256, kPage, kPage},
        {10, 10, kPage, 0},                 // fits the last page exactly
        {9, 10, kPage, kPage},
        {0, 257, 288 * kFrame, 288 * kFrame}, // a page of its own, whole rows of 32
        {0, 300, 320 * kFrame, 320 * kFrame},
        {1000, 300, 320 * kFrame, 0},
        {0, 32736, 32736 * kFrame, 32736 * kFrame}, // the tallest page a bitmap allows
        {0, 32737, 0, -1},
        {100000, 32737, 0, -1},
        {0, 0, 0, -1},
        {5, -1, 0, -1},
        {0, INT_MAX, 0, -1},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(preview::AtlasPageBytes(r.frames), r.page) << r.frames;
        EXPECT_EQ(preview::AtlasGrowth(r.room, r.frames), r.growth) << r.room << " " << r.frames;
    }
}

TEST(PreviewBudget, GrowthFitsOnlyWithinWhatIsLeft)
{
    struct Row {
        long long used, growth, budget;
        bool fits;
    };
    const Row rows[] = {
        {0, kPage, kPage, true},
        {0, kPage, kPage - 1, false},
        {kPage, 0, kPage, true},      // room in the last page costs nothing
        {2 * kPage, 0, kPage, false}, // over a lowered budget nothing more comes in
        {0, -1, LLONG_MAX, false},    // no page can hold it
        {LLONG_MAX - 1, kPage, LLONG_MAX, false},
        {0, 0, 0, true},
        {-1, 0, kPage, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(preview::WithinBudget(r.used, r.growth, r.budget), r.fits) << r.used << " " << r.growth << " " << r.budget;
}

TEST(PreviewPaths, OnlyPathsOfTheirOwnNameAFileSystemPlace)
{
    for (const wchar_t* yes : {L"C:\\a.ani", L"z:\\", L"\\\\server\\share\\a.ani", L"\\\\?\\C:\\a.ani"})
        EXPECT_TRUE(preview::IsFileSystemPath(yes)) << yes;
    for (const wchar_t* no : {L"", L"a.ani", L"C:a.ani", L"C:", L"\\a.ani", L"\\\\\\x", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}",
                              L"1:\\a.ani", L"/tmp/a.ani", L"\\\\"})
        EXPECT_FALSE(preview::IsFileSystemPath(no)) << no;
}

} // namespace
