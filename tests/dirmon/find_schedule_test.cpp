// When the one find timer runs, and the filter's byte and notify flags.
#include "dirmon/filter.h"
#include "dirmon/find_schedule.h"
#include "tests/support/fake_watchers.h"

#include <gtest/gtest.h>

using testsupport::FakeObjects;
using testsupport::MakeWatchers;

TEST(FindSchedule, TheTimerRunsWithTheSharedIntervalOnlyWhileAMonitorIsListed)
{
    // Steps: "+n" lists watcher n, "-n" unlists it, "i=v" sets the interval.
    struct Row {
        const char* name;
        std::vector<std::string> steps;
        std::vector<unsigned> timerCalls;
        int interval;
    };
    const Row rows[] = {
        {"first listed starts, last unlisted stops", {"+0", "+1", "-0", "-1"}, {2000, 0}, 2000},
        {"an interval set while none is listed is only stored", {"i=1000", "+0"}, {1000}, 1000},
        {"an interval set while listed applies at once", {"+0", "i=1000", "+1", "i=500"}, {2000, 1000, 500}, 500},
        {"0 stops polling, also for monitors listed later", {"i=0", "+0", "+1", "-0", "-1", "+2"}, {0, 0, 0}, 0},
        {"a non-zero interval restarts it", {"+0", "i=0", "+1", "i=250"}, {2000, 0, 250}, 250},
        {"switching off one never listed changes nothing", {"+0", "-1", "-1"}, {2000}, 2000},
        {"listing twice changes nothing", {"+0", "+0", "-0"}, {2000, 0}, 2000},
        {"a negative interval is taken as 0", {"+0", "i=-5"}, {2000, 0}, 0},
        {"relisted after the last went: started again", {"+0", "-0", "+1"}, {2000, 0, 2000}, 2000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeObjects objects;
        auto watchers = MakeWatchers(objects, 3);
        std::vector<unsigned> calls;
        dirmon::FindSchedule schedule([&](unsigned ms) { calls.push_back(ms); });
        EXPECT_EQ(schedule.Interval(), 2000);
        for (const std::string& step : row.steps) {
            if (step[0] == '+')
                schedule.List(watchers[std::stoul(step.substr(1))].get());
            else if (step[0] == '-')
                schedule.Unlist(watchers[std::stoul(step.substr(1))].get());
            else
                schedule.SetInterval(std::stoi(step.substr(2)));
        }
        EXPECT_EQ(calls, row.timerCalls);
        EXPECT_EQ(schedule.Interval(), row.interval);
    }
}

TEST(DirMonitorFilter, EachElementMapsToItsNotifyFlag)
{
    struct Row {
        DirMonitorFilterElement element;
        uint8_t bit;
        uint32_t flag;
    };
    const Row rows[] = {
        {dmfFileName, 0x01, 0x001},   {dmfDirName, 0x02, 0x002}, {dmfAttributes, 0x04, 0x004},
        {dmfSize, 0x08, 0x008},       {dmfLastWrite, 0x10, 0x010}, {dmfChangeSecurity, 0x20, 0x100},
    };
    uint32_t all = 0;
    TDirMonitorFilter set;
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.element));
        const TDirMonitorFilter one{row.element};
        EXPECT_EQ(one.Byte(), row.bit);
        EXPECT_EQ(one.NotifyFilter(), row.flag);
        EXPECT_TRUE(one.Contains(row.element));
        EXPECT_EQ(TDirMonitorFilter::FromByte(row.bit), one);
        set = set.With(row.element);
        all |= row.flag;
        EXPECT_EQ(set.Without(row.element).Contains(row.element), false);
    }
    EXPECT_EQ(set.NotifyFilter(), all);
    EXPECT_EQ(set.Byte(), TDirMonitorFilter::kAllBits);

    EXPECT_EQ(kDefaultDirMonitorFilter.Byte(), 29);
    EXPECT_EQ(kDefaultDirMonitorFilter.NotifyFilter(), 0x01Du);
    // Bits beyond the six elements are no element and no flag.
    EXPECT_EQ(TDirMonitorFilter::FromByte(0xFF), set);
    EXPECT_TRUE(TDirMonitorFilter::FromByte(0xC0).Empty());
    EXPECT_EQ(TDirMonitorFilter::FromByte(0xC0).NotifyFilter(), 0u);
}
