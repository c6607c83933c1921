// Matching the list's marks against the captions of a refill.
#include "shview/list_keep.h"

#include <gtest/gtest.h>

using shview::ListMarks;
using shview::PlanListMarks;

TEST(ListKeep, MarksLandOnTheItemsOfTheSameNameThatRemain)
{
    struct Row {
        const char* what;
        ListMarks marks;
        std::vector<std::wstring> captions;
        std::vector<int> select;
        int focus;
        int top;
    };
    const Row rows[] = {
        {"an item added before the marks shifts them",
         {{L"b", L"d"}, L"d", L"c", true, true},
         {L"a", L"aa", L"b", L"c", L"d"},
         {2, 4},
         4,
         3},
        {"a selected item that went is dropped, the rest stay",
         {{L"b", L"c"}, L"c", L"b", true, true},
         {L"a", L"c"},
         {1},
         1,
         -1},
        {"two items of one caption are found again both",
         {{L"x", L"x"}, L"", L"", false, false},
         {L"x", L"y", L"x", L"x"},
         {0, 2},
         -1,
         -1},
        {"an empty caption counts only when it was marked",
         {{}, L"", L"", false, false},
         {L"", L"a"},
         {},
         -1,
         -1},
        {"letter case counts",
         {{L"A"}, L"A", L"A", true, true},
         {L"a"},
         {},
         -1,
         -1},
        {"an empty list takes nothing",
         {{L"a"}, L"a", L"a", true, true},
         {},
         {},
         -1,
         -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        shview::ListPlan plan = PlanListMarks(row.marks, row.captions);
        EXPECT_EQ(plan.select, row.select);
        EXPECT_EQ(plan.focus, row.focus);
        EXPECT_EQ(plan.top, row.top);
    }
}
