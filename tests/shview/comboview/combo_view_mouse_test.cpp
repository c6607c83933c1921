// Choosing an entry with the mouse in the dropped list.
#include "tests/shview/comboview/combo_view_fixture.h"

namespace cvtest {
namespace {

// Drops the list down and clicks the entry at `index` in it.
void ClickInDroppedList(TComboView& combo, int index)
{
    combo.SetFocus();
    combo.ShowDropDown(true);
    testsupport::PumpUntilIdle(10, 500);
    COMBOBOXINFO info{sizeof(info)};
    ASSERT_TRUE(GetComboBoxInfo(combo.Handle(), &info));
    ASSERT_TRUE(combo.DroppedDown());
    SendMessageW(info.hwndList, LB_SETTOPINDEX, WPARAM(index), 0);
    RECT rc{};
    ASSERT_NE(SendMessageW(info.hwndList, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&rc)), LB_ERR);
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
    SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
    testsupport::PumpUntilIdle(10, 1000);
}

TEST_F(ComboViewTest, ClickingAnEntryInTheDroppedListSelectsItsFolderInTheTree)
{
    tree->SelectPath(deep);
    ASSERT_TRUE(Shows(deep));
    // Entries the tree's answer removes and inserts again, then fixed ones.
    const std::wstring chosen[] = {deepB, deepRoot, L"C:\\", a, L""};
    for (const std::wstring& path : chosen) {
        SCOPED_TRACE(path.empty() ? L"desktop" : path);
        if (path == a)
            tree->SelectPath(c); // a is listed while a folder below it is shown
        int index = PositionOf(path);
        ASSERT_GE(index, 0);
        ClickInDroppedList(*combo, index);
        EXPECT_FALSE(combo->DroppedDown());
        EXPECT_TRUE(TreeShows(path));
        EXPECT_TRUE(Shows(path));
    }
}

} // namespace
} // namespace cvtest
