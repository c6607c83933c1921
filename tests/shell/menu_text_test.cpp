// Finding the shell's menu items by the byte position of their access key in
// the Shift-JIS caption.
#include <gtest/gtest.h>

#include "shell/ContextMenuEx.h"
#include "tests/support/fake_folder.h"
#include "ui/handles.h"

using namespace testsupport;

namespace {

ui::UniqueMenu Menu(const std::vector<MenuEntry>& entries)
{
    return ui::UniqueMenu(BuildMenu(entries));
}

} // namespace

TEST(FindMenuItemByText, CountsBytesOfTheShiftJisCaption)
{
    auto menu = Menu({Command(L"開く(&O)", 0), Command(L"コピー(&C)", 25), SendToSubmenu(),
                      Command(L"貼り付け(&P)", 26), Command(L"Paste(&P)", 27)});
    EXPECT_EQ(3, FindMenuItemByText(menu.get(), L"(&N)", 5));
    EXPECT_EQ(4, FindMenuItemByText(menu.get(), L"(&P)", 9));
    EXPECT_EQ(2, FindMenuItemByText(menu.get(), L"(&C)", 7));
    // Counted in characters "(&N)" would sit at 3 and "(&P)" at 5.
    EXPECT_EQ(-1, FindMenuItemByText(menu.get(), L"(&N)", 3));
    EXPECT_EQ(-1, FindMenuItemByText(menu.get(), L"(&P)", 5));
    // An English caption puts the key elsewhere.
    EXPECT_EQ(5, FindMenuItemByText(menu.get(), L"(&P)", 6));
}

TEST(FindMenuItemByText, OnlyTheFirstOccurrenceInACaptionCounts)
{
    auto menu = Menu({Command(L"(&P)貼り付(&P)", 1), Command(L"貼り付け(&P)", 2)});
    EXPECT_EQ(2, FindMenuItemByText(menu.get(), L"(&P)", 9));
    EXPECT_EQ(1, FindMenuItemByText(menu.get(), L"(&P)", 1));
}

TEST(FindMenuItemByText, GreyedDisabledAndSeparatorItemsNeverMatch)
{
    auto greyed = Menu({Command(L"貼り付け(&P)", 26, MFS_GRAYED)});
    EXPECT_EQ(-1, FindMenuItemByText(greyed.get(), L"(&P)", 9));

    auto disabled = Menu({Command(L"貼り付け(&P)", 26)});
    EnableMenuItem(disabled.get(), 0, MF_BYPOSITION | MF_DISABLED);
    EXPECT_EQ(-1, FindMenuItemByText(disabled.get(), L"(&P)", 9));

    auto separator = Menu({Separator(L"貼り付け(&P)")});
    EXPECT_EQ(-1, FindMenuItemByText(separator.get(), L"(&P)", 9));

    // The first usable one behind them is found, by its own position.
    auto mixed = Menu({Command(L"送る(&N)", 1, MFS_GRAYED), Separator(L"送る(&N)"), SendToSubmenu()});
    EXPECT_EQ(3, FindMenuItemByText(mixed.get(), L"(&N)", 5));
}

TEST(FindMenuItemByText, ASubmenuOfEightItemsIsNotTakenForASeparator)
{
    auto menu = Menu({SendToSubmenu()});
    HMENU sub = GetSubMenu(menu.get(), 0);
    for (UINT i = 0; i < 7; ++i)
        AppendMenuW(sub, MF_STRING, 100 + i, L"entry");
    ASSERT_EQ(8, GetMenuItemCount(sub));
    // GetMenuState packs the count 8 into its high byte, which reads as MF_SEPARATOR.
    ASSERT_NE(0u, GetMenuState(menu.get(), 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(1, FindMenuItemByText(menu.get(), L"(&N)", 5));
}

TEST(FindMenuItemByText, NothingToSearch)
{
    EXPECT_EQ(-1, FindMenuItemByText(nullptr, L"(&N)", 5));
    auto empty = Menu({});
    EXPECT_EQ(-1, FindMenuItemByText(empty.get(), L"(&N)", 5));
    auto menu = Menu({SendToSubmenu()});
    EXPECT_EQ(-1, FindMenuItemByText(menu.get(), L"", 1));
}
