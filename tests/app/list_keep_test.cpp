// Matching the list's marks against the items of a refill.
#include "shview/fileview/list_keep.h"

#include <gtest/gtest.h>

#include <optional>

using shview::ListMark;
using shview::ListMarks;
using shview::PlanListMarks;

namespace {

using Texts = std::vector<std::wstring>;

// Marks by caption alone (a list that gives no names).
ListMarks ByCaption(const Texts& selected, const wchar_t* focused, const wchar_t* top)
{
    ListMarks marks;
    for (const std::wstring& caption : selected)
        marks.selected.push_back({caption, L""});
    if (focused)
        marks.focused = {focused, L""}, marks.hasFocused = true;
    if (top)
        marks.top = {top, L""}, marks.hasTop = true;
    return marks;
}

} // namespace

TEST(ListKeep, WithoutNamesMarksLandOnTheItemsOfTheSameCaptionThatRemain)
{
    struct Row {
        const char* what;
        ListMarks marks;
        Texts captions;
        std::vector<int> select;
        int focus;
        int top;
    };
    const Row rows[] = {
        {"an item added before the marks shifts them", ByCaption({L"b", L"d"}, L"d", L"c"),
         {L"a", L"aa", L"b", L"c", L"d"}, {2, 4}, 4, 3},
        {"a selected item that went is dropped, the rest stay", ByCaption({L"b", L"c"}, L"c", L"b"), {L"a", L"c"},
         {1}, 1, -1},
        {"two items of one caption are found again both", ByCaption({L"x", L"x"}, nullptr, nullptr),
         {L"x", L"y", L"x", L"x"}, {0, 2}, -1, -1},
        {"an empty caption counts only when it was marked", ByCaption({}, nullptr, nullptr), {L"", L"a"}, {}, -1, -1},
        {"letter case counts", ByCaption({L"A"}, L"A", L"A"), {L"a"}, {}, -1, -1},
        {"an empty list takes nothing", ByCaption({L"a"}, L"a", L"a"), {}, {}, -1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        shview::ListPlan plan = PlanListMarks(row.marks, row.captions, {});
        EXPECT_EQ(plan.select, row.select);
        EXPECT_EQ(plan.focus, row.focus);
        EXPECT_EQ(plan.top, row.top);
    }
}

// With extensions hidden "arrow.ani" and "arrow.cur" both read "arrow": the
// parsing name decides, and names are asked only where a caption matches.
TEST(ListKeep, WithNamesTheMarkedItemIsFoundAmongItemsOfOneCaption)
{
    struct Row {
        const char* what;
        ListMarks marks;
        Texts captions;
        Texts names;
        std::vector<int> select;
        int focus;
        int top;
        Texts asked; // names asked for, in order
    };
    const ListMark cur{L"arrow", L"c:\\d\\arrow.cur"}, ani{L"arrow", L"c:\\d\\arrow.ani"};
    auto marks = [](std::vector<ListMark> selected, std::optional<ListMark> focused, std::optional<ListMark> top) {
        ListMarks m;
        m.selected = std::move(selected);
        if (focused)
            m.focused = *focused, m.hasFocused = true;
        if (top)
            m.top = *top, m.hasTop = true;
        return m;
    };
    const Texts captions{L"a", L"arrow", L"arrow", L"z"};
    const Texts names{L"c:\\d\\a.txt", L"c:\\d\\arrow.ani", L"c:\\d\\arrow.cur", L"c:\\d\\z.txt"};
    const Row rows[] = {
        {"the second of two captions selected and focused", marks({cur}, cur, std::nullopt), captions, names, {2},
         2, -1, {L"c:\\d\\arrow.ani", L"c:\\d\\arrow.cur"}},
        {"the first of two, as the top item", marks({ani}, std::nullopt, ani), captions, names, {1}, -1, 1,
         {L"c:\\d\\arrow.ani"}},
        {"both selected", marks({cur, ani}, ani, cur), captions, names, {1, 2}, 1, 2,
         {L"c:\\d\\arrow.ani", L"c:\\d\\arrow.cur"}},
        {"the marked file went: its namesake is not taken", marks({cur}, cur, cur), {L"a", L"arrow", L"z"},
         {L"c:\\d\\a.txt", L"c:\\d\\arrow.ani", L"c:\\d\\z.txt"}, {}, -1, -1, {L"c:\\d\\arrow.ani"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Texts asked;
        shview::ListPlan plan = PlanListMarks(row.marks, row.captions, [&](int i) {
            asked.push_back(row.names[std::size_t(i)]);
            return row.names[std::size_t(i)];
        });
        EXPECT_EQ(plan.select, row.select);
        EXPECT_EQ(plan.focus, row.focus);
        EXPECT_EQ(plan.top, row.top);
        EXPECT_EQ(asked, row.asked);
    }
}
