// The poll of the listed monitors with fake objects: runs of at most 64,
// list order, one report per monitor and tick, handlers that change the list.
#include "dirmon/watch_list.h"
#include "tests/support/fake_watchers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using testsupport::FakeObjects;
using testsupport::FakeWatcher;
using testsupport::Journal;
using testsupport::MakeWatchers;

namespace {

std::vector<size_t> Numbers(const Journal& journal, const std::string& what)
{
    std::vector<size_t> v;
    for (const std::string& line : journal)
        if (line.rfind(what + " ", 0) == 0)
            v.push_back(std::stoul(line.substr(what.size() + 1)));
    return v;
}

struct ListFixture {
    FakeObjects objects;
    Journal journal;
    std::vector<std::unique_ptr<FakeWatcher>> watchers;
    dirmon::WatchList list;

    explicit ListFixture(size_t count)
    {
        objects.journal = &journal;
        watchers = MakeWatchers(objects, count);
        for (auto& w : watchers)
            list.Add(w.get());
    }
    size_t Poll() { return list.Poll(objects.Wait()); }
};

} // namespace

TEST(WatchListPoll, WaitsInRunsOfAtMost64AndReportsEachSignalledOncePerTickInListOrder)
{
    struct Row {
        const char* name;
        size_t listed;
        std::vector<size_t> signalled;
        std::vector<size_t> disarmed;
        std::vector<size_t> waits;
        std::vector<size_t> reported;
        // Objects that stay signalled: reported again on the next tick (re-armed ones stay quiet).
        bool sticky = false, alwaysSignalled = false;
    };
    const Row rows[] = {
        {"nothing listed", 0, {}, {}, {}, {}},
        {"one quiet", 1, {}, {}, {1}, {}},
        {"64 quiet: one wait", 64, {}, {}, {64}, {}},
        {"65 quiet: two waits", 65, {}, {}, {64, 1}, {}},
        {"65th found when the first 64 are quiet", 65, {64}, {}, {64, 1, 64}, {64}},
        {"200 quiet", 200, {}, {}, {64, 64, 64, 8}, {}},
        {"first run: later runs not waited on", 130, {5}, {}, {64, 64, 64, 1}, {5}},
        {"several in list order", 100, {70, 7, 64, 2}, {}, {64, 64, 64, 64, 33, 64, 32}, {2, 7, 64, 70}},
        {"objects-less entries are not waited on", 66, {65}, {0, 1}, {64, 63}, {65}},
        {"all without objects: no wait", 3, {}, {0, 1, 2}, {}, {}},
        {"sticky objects", 3, {1, 2}, {}, {3, 2, 1}, {1, 2}, true},
        {"a wait that always answers signalled", 3, {}, {}, {3, 2, 1}, {0, 1, 2}, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListFixture f(row.listed);
        f.objects.sticky = row.sticky;
        f.objects.alwaysSignalled = row.alwaysSignalled;
        for (size_t i : row.disarmed)
            f.watchers[i]->Disarm();
        for (size_t i : row.signalled)
            f.watchers[i]->Signal();

        EXPECT_EQ(f.Poll(), row.reported.size());
        EXPECT_EQ(f.objects.waits, row.waits);
        EXPECT_EQ(Numbers(f.journal, "change"), row.reported);
        // Each object is re-armed once, just before its report.
        Journal rearmAndChange;
        for (const std::string& line : f.journal)
            if (line.rfind("wait", 0) != 0)
                rearmAndChange.push_back(line);
        Journal expected;
        for (size_t i : row.reported) {
            expected.push_back("rearm " + std::to_string(i));
            expected.push_back("change " + std::to_string(i));
        }
        EXPECT_EQ(rearmAndChange, expected);
        for (auto& w : f.watchers)
            EXPECT_LE(w->changes, 1);
        const std::vector<size_t> again = row.sticky || row.alwaysSignalled ? row.reported : std::vector<size_t>{};
        f.journal.clear();
        EXPECT_EQ(f.Poll(), again.size());
        EXPECT_EQ(Numbers(f.journal, "change"), again);
    }
}

TEST(WatchListPoll, HandlersMaySwitchMonitorsOnAndOffDuringTheTick)
{
    struct Row {
        const char* name;
        std::vector<size_t> signalled;
        // Sets handlers on the fixture (4 watchers listed, 0 .. 3; a fifth, 4,
        // made but not listed).
        std::function<void(ListFixture&)> arrange;
        std::vector<size_t> reported;
        size_t listedAfter;
    };
    const Row rows[] = {
        {"a handler switches a later signalled monitor off", {1, 2, 3},
         [](ListFixture& f) { f.watchers[1]->onChange = [&f](FakeWatcher&) { f.list.Remove(f.watchers[2].get()); }; },
         {1, 3}, 3},
        {"a handler switches an earlier monitor off", {0, 2, 3},
         [](ListFixture& f) { f.watchers[2]->onChange = [&f](FakeWatcher&) { f.list.Remove(f.watchers[0].get()); }; },
         {0, 2, 3}, 3},
        {"a handler destroys its own monitor", {1, 3},
         [](ListFixture& f) {
             f.watchers[1]->onChange = [&f](FakeWatcher& self) {
                 f.list.Remove(&self);
                 f.watchers[1].reset();
             };
         },
         {1, 3}, 3},
        {"a handler switches all off", {0, 1, 2},
         [](ListFixture& f) {
             f.watchers[0]->onChange = [&f](FakeWatcher&) {
                 for (auto& w : f.watchers)
                     f.list.Remove(w.get());
             };
         },
         {0}, 0},
        {"a handler switches a signalled monitor on: it is reported in the same tick", {2, 4},
         [](ListFixture& f) { f.watchers[2]->onChange = [&f](FakeWatcher&) { f.list.Add(f.watchers[4].get()); }; },
         {2, 4}, 5},
        {"a handler switches its own monitor off and on again: still once", {1},
         [](ListFixture& f) {
             f.objects.sticky = true;
             f.watchers[1]->onChange = [&f](FakeWatcher& self) {
                 f.list.Remove(&self);
                 f.list.Add(&self);
             };
         },
         {1}, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ListFixture f(4);
        f.watchers.push_back(std::make_unique<FakeWatcher>(f.objects, 4));
        for (size_t i : row.signalled)
            f.watchers[i]->Signal();
        row.arrange(f);

        EXPECT_EQ(f.Poll(), row.reported.size());
        EXPECT_EQ(Numbers(f.journal, "change"), row.reported);
        EXPECT_EQ(f.list.Size(), row.listedAfter);
    }
}

TEST(WatchListPoll, ATickInsideAHandlerDoesNothingAndAThrowingHandlerEndsTheTickCleanly)
{
    ListFixture f(3);
    for (auto& w : f.watchers)
        w->Signal();
    size_t nested = 99;
    f.watchers[0]->onChange = [&](FakeWatcher&) {
        EXPECT_TRUE(f.list.Polling());
        nested = f.Poll();
    };
    f.watchers[1]->onChange = [](FakeWatcher&) { throw std::runtime_error("handler failed"); };

    EXPECT_THROW(f.Poll(), std::runtime_error);
    EXPECT_EQ(nested, 0u);
    EXPECT_FALSE(f.list.Polling());
    EXPECT_EQ(Numbers(f.journal, "change"), (std::vector<size_t>{0, 1}));

    // The one not reached is still signalled and comes on the next tick.
    f.journal.clear();
    EXPECT_EQ(f.Poll(), 1u);
    EXPECT_EQ(Numbers(f.journal, "change"), (std::vector<size_t>{2}));
}

TEST(WatchList, AddsOnceAndRemovesOnlyWhatIsListed)
{
    FakeObjects objects;
    auto w = MakeWatchers(objects, 2);
    dirmon::WatchList list;
    EXPECT_TRUE(list.Add(w[0].get()));
    EXPECT_FALSE(list.Add(w[0].get()));
    EXPECT_FALSE(list.Add(nullptr));
    EXPECT_FALSE(list.Remove(w[1].get()));
    EXPECT_EQ(list.Size(), 1u);
    EXPECT_TRUE(list.Remove(w[0].get()));
    EXPECT_TRUE(list.Empty());
}
