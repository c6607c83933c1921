// The atlas arithmetic behind the previews' memory budget.
#include "app/previews/preview_budget.h"
#include "app/previews/preview_steps.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr long long kFrame = 32 * 32 * 4;
constexpr long long kPage = 256 * kFrame;

TEST(PreviewBudget, PagesFollowTheFramesAndTheirSide)
{
    struct Row {
        int frames, side;
        long long page;
    };
    const Row rows[] = {
        {1, 32, kPage}, // the first frame makes an ordinary page
        {256, 32, kPage},
        {257, 32, 288 * kFrame}, // a page of its own, whole rows of 32
        {300, 32, 320 * kFrame},
        {32736, 32, 32736 * kFrame}, // the tallest page a bitmap allows
        {32737, 32, 0},
        {300, 48, 320 * 48 * 48 * 4},
        {21824, 48, 21824LL * 48 * 48 * 4}, // taller pages of larger frames end sooner
        {21825, 48, 0},
        {0, 32, 0},
        {-1, 32, 0},
        {INT_MAX, 32, 0},
        {1, 0, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(preview::AtlasPageBytes(r.frames, r.side), r.page) << r.frames << " " << r.side;
}

// A preview holds its frames with their masks, its steps, and its frames
// composed plain and selected; a file of tens of millions of steps costs
// what they take, so the budget turns it away.
TEST(PreviewBudget, APreviewCostsItsFramesStepsAndComposedFrames)
{
    struct Row {
        int frames, side;
        long long steps, bytes;
    };
    const Row rows[] = {
        {1, 32, 1, 32 * 32 * 13 + 8},
        {10, 48, 20, 10 * 48 * 48 * 13 + 160},
        {2, 32, 32LL << 20, 2 * 32 * 32 * 13 + (256LL << 20)},
        {0, 32, 0, 0},
        {-1, 32, 1, -1},
        {1, 32, -1, -1},
        {32737, 32, 1, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(preview::PreviewBytes(r.frames, r.side, r.steps), r.bytes) << r.frames << " " << r.steps;
    EXPECT_FALSE(preview::WithinBudget(0, preview::PreviewBytes(2, 32, 32LL << 20), preview::kDefaultPreviewBudget));
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
