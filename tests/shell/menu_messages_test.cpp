// While the shell's menu is open its handler gets the messages that fill and
// draw its sub-menus, through the newest interface it has; before and after,
// the owner window gets them as usual.
#include "tests/support/fake_folder.h"
#include "tests/shell/shell_fixture.h"

#include "shell/ContextMenuEx.h"
#include "shell/menu_messages.h"

#include <vector>

using namespace shelltest;
using namespace testsupport;

namespace {

using Seen = std::vector<FakeFolder::MenuMessage>;

class MenuMessages : public ShellFixture {
protected:
    MenuMessages() { items.menu = {Command(L"開く(&O)", 0), Command(L"新規作成(&W)", 5)}; }

    bool Show()
    {
        idlist::RelativeIDList packed = FakeFolder::Packed({0});
        return menu.ShowItemMenu(window, &items, POINT{120, 80}, 1, packed.get());
    }

    // What the owner answers to each menu message (and to a control's
    // WM_DRAWITEM, which stays the window's own).
    std::vector<LRESULT> SendMenuMessages() const
    {
        MEASUREITEMSTRUCT measure{ODT_MENU};
        DRAWITEMSTRUCT drawMenu{ODT_MENU};
        DRAWITEMSTRUCT drawButton{ODT_BUTTON};
        HMENU popup = GetSubMenu(GetMenu(window), 0);
        return {SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0),
                SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)),
                SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&drawMenu)),
                SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(L'w', MF_POPUP), 0),
                SendMessageW(window, WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&drawButton))};
    }

    FakeFolder items{1};
    TContextMenuEx menu;
};

TEST_F(MenuMessages, TheHandlerGetsThemWhileTheMenuIsTrackedThroughItsNewestInterface)
{
    constexpr LRESULT kMenuChar = MAKELRESULT(1, MNC_EXECUTE);
    // Stands for what the window answers by itself.
    constexpr LRESULT kDefault = LRESULT(-12345);
    const std::vector<LRESULT> plain = SendMenuMessages();
    struct Row {
        int level;
        Seen seen;
        std::vector<LRESULT> answers;
    };
    const Row rows[] = {
        {1, {}, {kDefault, kDefault, kDefault, kDefault, kDefault}},
        {2,
         {{WM_INITMENUPOPUP, 2}, {WM_MEASUREITEM, 2}, {WM_DRAWITEM, 2}},
         {0, TRUE, TRUE, kDefault, kDefault}},
        {3,
         {{WM_INITMENUPOPUP, 3}, {WM_MEASUREITEM, 3}, {WM_DRAWITEM, 3}, {WM_MENUCHAR, 3}},
         {kMenuChar, kMenuChar, kMenuChar, kMenuChar, kDefault}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.level);
        items.menuLevel = row.level;
        items.menuMessages.clear();
        items.menuMessageAnswer = kMenuChar;
        std::vector<LRESULT> answers;
        ui::ScopedSeam<ui::TrackMenuFn> tracker(ui::CurrentSeams().trackMenu, [&](HMENU, UINT, POINT, HWND) {
            answers = SendMenuMessages();
            return 0u;
        });
        EXPECT_FALSE(Show());
        EXPECT_EQ(items.menuMessages, row.seen);
        std::vector<LRESULT> expected = row.answers;
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (expected[i] == kDefault)
                expected[i] = plain[i];
        EXPECT_EQ(answers, expected);
        // The menu has closed: the window has its messages to itself again.
        items.menuMessages.clear();
        SendMenuMessages();
        EXPECT_TRUE(items.menuMessages.empty());
    }
}

TEST_F(MenuMessages, AHandlerThatDeclinesLeavesTheMessageToTheWindow)
{
    items.menuMessageResult = E_FAIL;
    const std::vector<LRESULT> plain = SendMenuMessages();
    for (int level : {2, 3}) {
        items.menuLevel = level;
        items.menuMessageAnswer = 99;
        std::vector<LRESULT> answers;
        ui::ScopedSeam<ui::TrackMenuFn> tracker(ui::CurrentSeams().trackMenu, [&](HMENU, UINT, POINT, HWND) {
            answers = SendMenuMessages();
            return 0u;
        });
        Show();
        EXPECT_EQ(answers, plain) << level;
    }
}

// The Send To sub-menu is the program's once it is filled: a handler that
// fills every pop-up it hears of must never hear of that one, nor draw,
// measure or search its entries, while the shell's other sub-menus stay its.
TEST_F(MenuMessages, NothingAboutTheProgramsSendToSubmenuReachesTheHandler)
{
    items.menu = {Command(L"開く(&O)", 0), SendToSubmenu(), SendToSubmenu(L"新規作成(&W)")};
    items.fillsPopups = true;
    FakeFolder targets{2};
    ui::ScopedSeam<ui::SendToFolderFn> sendTo(ui::CurrentSeams().sendToFolder,
                                              [&](HWND) { return ui::ComPtr<IShellFolder>::Share(&targets); });
    constexpr UINT ownId = TContextMenuEx::kFirstSendToId + 1, shellId = 3;
    for (int level : {2, 3}) {
        SCOPED_TRACE(level);
        items.menuLevel = level;
        std::vector<std::wstring> ownCaptions, shellCaptions;
        ui::ScopedSeam<ui::TrackMenuFn> tracker(ui::CurrentSeams().trackMenu, [&](HMENU m, UINT, POINT, HWND) {
            HMENU own = GetSubMenu(m, 1), other = GetSubMenu(m, 2);
            MEASUREITEMSTRUCT ownMeasure{ODT_MENU, 0, ownId}, shellMeasure{ODT_MENU, 0, shellId};
            DRAWITEMSTRUCT ownDraw{ODT_MENU, 0, ownId}, shellDraw{ODT_MENU, 0, shellId};
            DRAWITEMSTRUCT drawnInOwn{ODT_MENU, 0, shellId};
            drawnInOwn.hwndItem = reinterpret_cast<HWND>(own);
            shellDraw.hwndItem = reinterpret_cast<HWND>(other);
            struct Row {
                const char* name;
                UINT msg;
                WPARAM wp;
                LPARAM lp;
                bool reaches;
            };
            const Row rows[] = {
                {"own opens", WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(own), 1, false},
                {"shell's opens", WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(other), 2, true},
                {"own measured", WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ownMeasure), false},
                {"shell's measured", WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&shellMeasure), true},
                {"own drawn", WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&ownDraw), false},
                {"drawn in own", WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&drawnInOwn), false},
                {"shell's drawn", WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&shellDraw), true},
                {"own key", WM_MENUCHAR, MAKEWPARAM(L'a', MF_POPUP), reinterpret_cast<LPARAM>(own), false},
                {"shell's key", WM_MENUCHAR, MAKEWPARAM(L'a', MF_POPUP), reinterpret_cast<LPARAM>(other), level == 3},
            };
            for (const Row& row : rows) {
                const std::size_t before = items.menuMessages.size();
                SendMessageW(window, row.msg, row.wp, row.lp);
                EXPECT_EQ(items.menuMessages.size() - before, row.reaches ? 1u : 0u) << row.name;
            }
            ownCaptions = Captions(own);
            shellCaptions = Captions(other);
            return 0u;
        });
        EXPECT_FALSE(Show());
        EXPECT_EQ(ownCaptions, (std::vector<std::wstring>{FakeFolder::NameOf(0), FakeFolder::NameOf(1)}));
        EXPECT_EQ(shellCaptions, (std::vector<std::wstring>{L"(なし)", FakeFolder::FilledCaption}));
    }
}

TEST_F(MenuMessages, ARealMenuOpeningReachesTheHandler)
{
    items.menuLevel = 3;
    testsupport::MenuCloser closer(200);
    EXPECT_FALSE(Show());
    EXPECT_EQ(closer.Fired(), 1);
    ASSERT_FALSE(items.menuMessages.empty());
    EXPECT_EQ(items.menuMessages.front(), (FakeFolder::MenuMessage{WM_INITMENUPOPUP, 3}));
}

} // namespace
