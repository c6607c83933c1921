#include "tests/support/wine_ui.h"
#include "ui/menu.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(PopupMenu, TheChosenItemRunsItsClickWithItselfAsSender)
{
    HWND host = testsupport::CreateHostWindow();
    ui::PopupMenu menu(100);
    std::vector<int> clicked;
    for (int i = 0; i < 3; ++i)
        menu.Add(L"項目" + std::to_wstring(i), i * 10)->OnClick = [&](ui::MenuItem* item) {
            clicked.push_back(item->Tag());
        };
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 3);
    UINT answer = 102;
    POINT at{};
    std::optional<ui::ScopedSeam<ui::TrackMenuFn>> tracker(std::in_place, ui::CurrentSeams().trackMenu,
                                                           [&](HMENU, UINT, POINT p, HWND) {
                                                               at = p;
                                                               return answer;
                                                           });
    EXPECT_EQ(menu.Popup(host, 10, 10), menu.Item(2));
    answer = 0; // dismissed
    EXPECT_EQ(menu.Popup(host, 10, 10), nullptr);
    answer = 99; // not one of ours
    EXPECT_EQ(menu.Popup(host, 10, 10), nullptr);
    tracker.reset();
    EXPECT_EQ(at.x, 10);
    EXPECT_EQ(clicked, std::vector<int>{20});
    DestroyWindow(host);
}

TEST(PopupMenu, ARealMenuClosedWithoutAChoiceClicksNothing)
{
    HWND host = testsupport::CreateHostWindow();
    ui::PopupMenu menu;
    int clicks = 0;
    menu.Add(L"一", 0)->OnClick = [&](ui::MenuItem*) { ++clicks; };
    testsupport::MenuCloser closer(200);
    EXPECT_EQ(menu.Popup(host, 50, 50), nullptr);
    EXPECT_EQ(closer.Fired(), 1);
    EXPECT_EQ(clicks, 0);
    DestroyWindow(host);
}

TEST(PopupMenu, ARealMenuChosenWithTheKeyboardClicksThatItem)
{
    HWND host = testsupport::CreateHostWindow();
    ui::PopupMenu menu;
    std::vector<int> clicked;
    for (int i = 0; i < 3; ++i)
        menu.Add(L"x" + std::to_wstring(i), i)->OnClick = [&](ui::MenuItem* item) { clicked.push_back(item->Tag()); };
    testsupport::MenuCloser chooser(200, [] {
        HWND m = testsupport::FindMenuWindow();
        for (int i = 0; i < 2; ++i)
            PostMessageW(m, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(m, WM_KEYDOWN, VK_RETURN, 0);
    });
    menu.Popup(host, 50, 50);
    EXPECT_EQ(clicked, std::vector<int>{1});
    DestroyWindow(host);
}

} // namespace
