// Notifications of controls that sit on a panel: each is reflected to its
// control once, and the panel still hands it on to the window above.
#include "tests/support/wine_ui.h"
#include "ui/listview.h"
#include "ui/panel.h"
#include "ui/toolbar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kButton = 4321;

// The main window's part: what reaches it of its children's messages.
class TopWindow : public ui::Window {
public:
    bool Create()
    {
        return CreateWindowOf(ClassInfo{L"TarimokuReflectionTop"}, 0, L"reflection", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              0, 0, 700, 500, nullptr, nullptr);
    }
    std::vector<UINT> commands;
    int itemChanges = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_COMMAND && lp)
            commands.push_back(LOWORD(wp));
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_ITEMCHANGED)
            ++itemChanges;
        return DefaultHandling(msg, wp, lp);
    }
};

class CountingToolBar : public ui::ToolBar {
public:
    std::vector<UINT> reflectedCommands;

protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg == WM_COMMAND)
            reflectedCommands.push_back(LOWORD(wp));
        return ToolBar::Reflected(msg, wp, lp, result);
    }
};

class Reflection : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.Create());
        // A control straight on the top window: the top window reflects too.
        ASSERT_TRUE(sibling.Create(top.Handle(), LVS_REPORT));
        sibling.SetBounds(0, 300, 700, 150);
        ASSERT_TRUE(panel.Create(top.Handle(), RGB(0xC0, 0xC0, 0xC0), true));
        panel.SetBounds(0, 0, 700, 300);
        ASSERT_TRUE(bar.Create(panel.Handle(), 24));
        bar.SetBounds(0, 0, 700, 30);
        bar.AddButton(kButton, 0, L"hint");
        ASSERT_TRUE(list.Create(panel.Handle(), LVS_REPORT));
        list.SetBounds(0, 30, 700, 270);
        list.AddColumn(L"名前", 200);
        list.AddItem(L"one", -1, 1);
        list.AddItem(L"two", -1, 2);
        testsupport::PumpUntilIdle();
    }

    TopWindow top;
    ui::ListView sibling;
    ui::Panel panel;
    CountingToolBar bar;
    ui::ListView list;
};

TEST_F(Reflection, ANotificationUnderAPanelIsReflectedOnceAndStillReachesTheTopWindow)
{
    // A real click on the button: the bar sends its command to the panel.
    top.commands.clear();
    RECT r = bar.ButtonRect(kButton);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(bar.Handle(), WM_LBUTTONUP, 0, at);
    testsupport::PumpUntilIdle();
    EXPECT_EQ(bar.reflectedCommands, std::vector<UINT>{kButton});
    EXPECT_EQ(top.commands, std::vector<UINT>{kButton});

    int changes = 0;
    list.OnChange = [&](ui::Component*, int) { ++changes; };
    top.itemChanges = 0;
    ListView_SetItemState(list.Handle(), 1, LVIS_SELECTED, LVIS_SELECTED);
    testsupport::PumpUntilIdle();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(top.itemChanges, 1);
}

} // namespace
