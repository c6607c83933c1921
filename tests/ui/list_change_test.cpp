// The list's change event: raised for changes of an item's selection or
// focus, not for its text or image.
#include "tests/support/wine_ui.h"
#include "ui/listview.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

TEST(ListViewChange, RaisedForSelectionAndFocusOnly)
{
    HWND host = testsupport::CreateHostWindow(L"list change");
    ui::ListView list;
    ASSERT_TRUE(list.Create(host, LVS_REPORT | LVS_SHOWSELALWAYS));
    list.AddColumn(L"名前", 200);
    for (int i = 0; i < 4; ++i)
        list.AddItem(L"item" + std::to_wstring(i), 0, i);
    std::vector<int> changed;
    list.OnChange = [&](ui::Component* sender, int index) {
        EXPECT_EQ(sender, &list);
        changed.push_back(index);
    };
    struct Row {
        const char* name;
        std::function<void()> act;
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"select", [&] { list.SetSelected(2, true); }, {2}},
        {"select again: no change", [&] { list.SetSelected(2, true); }, {}},
        {"focus", [&] { list.SetFocused(1); }, {1}},
        {"deselect", [&] { list.SetSelected(2, false); }, {2}},
        {"text", [&] { list.SetItemText(3, L"renamed"); }, {}},
        {"sub-item text", [&] { list.SetSubItemText(3, 0, L"again"); }, {}},
        {"image", [&] {
             LVITEMW item{};
             item.mask = LVIF_IMAGE;
             item.iItem = 0;
             item.iImage = 1;
             ListView_SetItem(list.Handle(), &item);
         },
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        changed.clear();
        row.act();
        testsupport::PumpUntilIdle(10, 500);
        EXPECT_EQ(changed, row.expected);
    }
    DestroyWindow(host);
}

} // namespace
