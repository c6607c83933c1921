// Stepping arithmetic of the previews: pace, wrapping, stalls, and the clock.
#include "app/previews/preview_steps.h"

#include "anicur/cursor_check.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using preview::AdvanceSteps;
using preview::kClockPerJiffy;
constexpr long long J = kClockPerJiffy;

// The step to show at `now`, found the slow way: one jiffy at a time.
struct Reference {
    int step;
    long long stepStart;
    long long passed;
};
Reference JiffyByJiffy(const std::vector<int>& rates, long long start, long long now)
{
    Reference r{0, start, 0};
    for (long long t = start + J; t <= now; t += J) {
        int rate = rates[size_t(r.step)] < 1 ? 1 : rates[size_t(r.step)];
        if (t - r.stepStart >= rate * J) {
            r.stepStart = t;
            r.step = (r.step + 1) % int(rates.size());
            ++r.passed;
        }
    }
    return r;
}

TEST(PreviewSteps, RatesOneAndThreeHoldTheirStepForThatManyJiffies)
{
    const std::vector<int> ones{1, 1, 1};
    EXPECT_EQ(AdvanceSteps(ones, 0, 5000, 5000 + J - 1).passed, 0);
    auto a = AdvanceSteps(ones, 0, 5000, 5000 + J);
    EXPECT_EQ(a.step, 1);
    EXPECT_EQ(a.stepStart, 5000 + J);
    EXPECT_EQ(a.passed, 1);

    const std::vector<int> threes{3, 3};
    EXPECT_EQ(AdvanceSteps(threes, 0, 0, 3 * J - 1).passed, 0);
    a = AdvanceSteps(threes, 0, 0, 3 * J);
    EXPECT_EQ(a.step, 1);
    EXPECT_EQ(a.stepStart, 3 * J);
}

TEST(PreviewSteps, RateZeroOrNegativeLastsOneJiffy)
{
    const std::vector<int> rates{0, -5, 0, INT_MIN};
    auto a = AdvanceSteps(rates, 0, 0, 3 * J + J / 2);
    EXPECT_EQ(a.step, 3);
    EXPECT_EQ(a.stepStart, 3 * J);
    EXPECT_EQ(a.passed, 3);
}

TEST(PreviewSteps, TheLastStepWrapsToStepZero)
{
    const std::vector<int> rates{1, 2};
    auto a = AdvanceSteps(rates, 1, 100, 100 + 2 * J);
    EXPECT_EQ(a.step, 0);
    EXPECT_EQ(a.stepStart, 100 + 2 * J);
}

TEST(PreviewSteps, ALongStallLandsWhereTheTimeSaysWithoutRacing)
{
    const std::vector<int> rates{2, 3, 5}; // a cycle of 10 jiffies
    // Seven cycles and six and a half jiffies later: steps 0 and 1 are over.
    auto a = AdvanceSteps(rates, 0, 0, 7 * 10 * J + 6 * J + J / 2);
    EXPECT_EQ(a.step, 2);
    EXPECT_EQ(a.stepStart, 7 * 10 * J + 5 * J); // aligned to the file's pace
    EXPECT_EQ(a.passed, 7 * 3 + 2);
    Reference r = JiffyByJiffy(rates, 0, 7 * 10 * J + 6 * J + J / 2);
    EXPECT_EQ(a.step, r.step);
    EXPECT_EQ(a.stepStart, r.stepStart);
    EXPECT_EQ(a.passed, r.passed);

    // Exactly one cycle: back at the same step, one cycle on.
    a = AdvanceSteps(rates, 1, 0, 10 * J);
    EXPECT_EQ(a.step, 1);
    EXPECT_EQ(a.stepStart, 10 * J);
    EXPECT_EQ(a.passed, 3);
}

TEST(PreviewSteps, HugeGapsAndRatesStayExactAndCheap)
{
    // Many steps and an enormous gap: skipping whole cycles keeps this quick.
    std::vector<int> many(100000, 1);
    const long long gap = 1'000'000'000'123LL * J;
    auto a = AdvanceSteps(many, 0, 0, gap);
    EXPECT_EQ(a.step, int((gap / J) % 100000));
    EXPECT_EQ(a.stepStart, gap / J * J);
    EXPECT_EQ(a.passed, gap / J);

    // The longest rates a file can hold, near the end of the clock's range.
    const std::vector<int> longest{INT_MAX, INT_MAX};
    a = AdvanceSteps(longest, 1, 0, LLONG_MAX);
    const long long cycle = 2LL * INT_MAX * J;
    EXPECT_EQ(a.passed, LLONG_MAX / cycle * 2 + (LLONG_MAX % cycle >= INT_MAX * J ? 1 : 0));
    EXPECT_LE(a.stepStart, LLONG_MAX);
}

TEST(PreviewSteps, TicksOfAnyLengthKeepThePaceOfTheFile)
{
    // Ten minutes of uneven ticks (50..61 ms, never a whole number of
    // jiffies): the leftover of every tick is carried over, so the state
    // matches the one computed in a single step from the start.
    const std::vector<int> rates{2, 3, 1, 20, 0};
    long long now = 777, step = 0, start = 777, passed = 0;
    int i = 0;
    for (unsigned seed = 1; now < 777 + 600 * preview::kClockPerSecond; ++i) {
        seed = seed * 1103515245u + 12345u;
        now += (50 + (seed >> 16) % 12) * preview::kClockPerMs + (seed >> 8) % 7;
        auto a = AdvanceSteps(rates, int(step), start, now);
        step = a.step;
        start = a.stepStart;
        passed += a.passed;
    }
    auto once = AdvanceSteps(rates, 0, 777, now);
    EXPECT_EQ(step, once.step);
    EXPECT_EQ(start, once.stepStart);
    EXPECT_EQ(passed, once.passed);
    // 600 s at 60 jiffies a second over a cycle of 2+3+1+20+1 jiffies.
    EXPECT_NEAR(double(passed), 600.0 * 60 / 27 * 5, 5);
}

TEST(PreviewSteps, NothingMovesWithoutTimeStepsOrAValidStep)
{
    const std::vector<int> rates{1, 1, 1};
    EXPECT_EQ(AdvanceSteps(rates, 2, 9000, 8000).passed, 0); // clock went back
    EXPECT_EQ(AdvanceSteps(rates, 2, 9000, 8000).step, 2);
    EXPECT_EQ(AdvanceSteps({}, 0, 0, 100 * J).passed, 0);
    auto a = AdvanceSteps(rates, 7, 0, J / 2); // a step outside restarts at 0
    EXPECT_EQ(a.step, 0);
    EXPECT_EQ(a.passed, 0);
}

TEST(PreviewSteps, ClockFromCounterIsExactAndDoesNotOverflow)
{
    EXPECT_EQ(preview::ClockFromCounter(10'000'000, 10'000'000), preview::kClockPerSecond);
    EXPECT_EQ(preview::ClockFromCounter(1234, 1000), 1234 * preview::kClockPerMs);
    EXPECT_EQ(preview::ClockFromCounter(LLONG_MAX, 10'000'000), LLONG_MAX / 10'000'000 * 60000 + LLONG_MAX % 10'000'000 * 60000 / 10'000'000);
    EXPECT_EQ(preview::ClockFromCounter(5, 0), 0);
}

TEST(PreviewSteps, OnlyCursorsWithStepsAndValidFramesAreAnimated)
{
    const std::vector<int> rates{2, 2, 2}, seq{0, 1, 0};
    EXPECT_TRUE(preview::Animatable(3, rates, seq, 2));
    EXPECT_FALSE(preview::Animatable(0, {}, {}, 2));      // no steps
    EXPECT_FALSE(preview::Animatable(3, rates, seq, 0));  // no frames
    EXPECT_FALSE(preview::Animatable(3, rates, seq, 1));  // frame 1 missing
    EXPECT_FALSE(preview::Animatable(4, rates, seq, 2));  // counts differ
    const std::vector<int> negative{0, -1, 0};
    EXPECT_FALSE(preview::Animatable(3, rates, negative, 2));
}

TEST(PreviewSteps, CursorKindsByTheirExtensionInAnyCaseOnly)
{
    using anicur::CursorKind;
    const struct {
        const wchar_t* path;
        CursorKind kind;
    } rows[] = {
        {L"C:\\a\\wait.ani", CursorKind::Animated},
        {L"X.ANI", CursorKind::Animated},
        {L"x.Ani", CursorKind::Animated},
        {L"Z:\\d.cur\\b.aNi", CursorKind::Animated},
        {L"C:\\a\\arrow.cur", CursorKind::Static},
        {L"X.CUR", CursorKind::Static},
        {L"Z:\\d.ani\\b.cUr", CursorKind::Static},
        {L".cur", CursorKind::Static},
        {L"a.anix", CursorKind::None},
        {L"ani", CursorKind::None},
        {L"cur", CursorKind::None},
        {L"", CursorKind::None},
        {L"a.ani ", CursorKind::None},
        {L"a.cur.txt", CursorKind::None},
        {L"a_ani", CursorKind::None},
        {L"a.ico", CursorKind::None},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(anicur::CursorFileKind(row.path), row.kind) << row.path;
    }
}

TEST(PreviewSteps, ItemsOverlapTheViewWhenTheyTouchIt)
{
    // View: origin (100, 50), 200 x 100 -> 100..300, 50..150.
    EXPECT_TRUE(preview::ItemInView(100, 50, 200, 100, 150, 80));
    EXPECT_TRUE(preview::ItemInView(100, 50, 200, 100, 300, 80));  // left edge on the right edge
    EXPECT_FALSE(preview::ItemInView(100, 50, 200, 100, 301, 80));
    EXPECT_TRUE(preview::ItemInView(100, 50, 200, 100, 68, 80));   // right edge on the left edge
    EXPECT_FALSE(preview::ItemInView(100, 50, 200, 100, 67, 80));
    EXPECT_TRUE(preview::ItemInView(100, 50, 200, 100, 150, 150));
    EXPECT_FALSE(preview::ItemInView(100, 50, 200, 100, 150, 151));
    EXPECT_TRUE(preview::ItemInView(100, 50, 200, 100, 150, 18));
    EXPECT_FALSE(preview::ItemInView(100, 50, 200, 100, 150, 17));
    EXPECT_FALSE(preview::ItemInView(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN));
    EXPECT_TRUE(preview::ItemInView(INT_MIN, INT_MIN, INT_MAX, INT_MAX, -1, -1));
}

} // namespace

namespace {

TEST(PreviewSteps, ListGeometryOfBothConventionsEndsInViewCoordinates)
{
    using preview::ToViewCoordinates;
    // Scrolled down by 103: the system reports view coordinates and +103,
    // Wine client coordinates and -103. Both land on the same view geometry.
    auto system = ToViewCoordinates({0, 103}, {21, 4});
    auto wine = ToViewCoordinates({0, -103}, {21, -99});
    EXPECT_EQ(system.origin.y, 103);
    EXPECT_EQ(wine.origin.y, 103);
    EXPECT_EQ(wine.item.x, 21);
    EXPECT_EQ(wine.item.y, 4);
    EXPECT_EQ(system.item.y, 4);
    auto sideways = ToViewCoordinates({-40, 0}, {-19, 4});
    EXPECT_EQ(sideways.origin.x, 40);
    EXPECT_EQ(sideways.item.x, 21);
    auto extreme = ToViewCoordinates({INT_MIN, -1}, {INT_MAX, INT_MAX});
    EXPECT_EQ(extreme.origin.x, INT_MAX);
    EXPECT_EQ(extreme.item.x, INT_MAX);
}

} // namespace
