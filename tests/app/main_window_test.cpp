// The main window as the program creates it, in process.
#include "app/ufrmMain.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring WindowText(HWND w)
{
    wchar_t buf[512] = {};
    GetWindowTextW(w, buf, 512);
    return buf;
}

std::wstring MenuText(HMENU menu, UINT pos)
{
    wchar_t buf[256] = {};
    GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
    return buf;
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TfrmTarimoku>();
        ASSERT_TRUE(form->Create());
        form->Show();
        testsupport::PumpUntilIdle();
    }
    void TearDown() override
    {
        form.reset();
        testsupport::PumpUntilIdle();
    }
    std::unique_ptr<TfrmTarimoku> form;
};

TEST_F(MainWindow, StartsWithTheStoredSizeTitleAndTheGlobalSet)
{
    EXPECT_EQ(frmTarimoku, form.get());
    EXPECT_EQ(WindowText(form->Handle()).rfind(texts::AppTitle, 0), 0u);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 491);
    EXPECT_EQ(r.bottom - r.top, 409);
}

TEST_F(MainWindow, MenuBarHoldsTheCommandsWithTheirShortcuts)
{
    HMENU bar = form->MainMenu();
    ASSERT_NE(bar, nullptr);
    std::vector<std::wstring> tops;
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
        tops.push_back(MenuText(bar, i));
    EXPECT_EQ(tops, (std::vector<std::wstring>{L"ﾌｧｲﾙ(&F)", L"編集(&E)", L"表示(&V)", L"ツール(&T)", L"ヘルプ(&H)"}));

    struct Item {
        int menu;
        UINT pos;
        const wchar_t* caption;
        UINT id;
    };
    const Item items[] = {
        {0, 0, L"フォルダの新規作成(&W)", IDM_NEWFOLDER}, {0, 1, L"削除(&D)", IDM_DELETE},
        {0, 2, L"名前の変更(&M)\tF2", IDM_RENAME},       {0, 3, L"終了(&X)", IDM_EXIT},
        {1, 0, L"全て選択(&A)\tCtrl+A", IDM_SELALL},      {1, 1, L"選択の反転(&I)", IDM_REVERSE},
        {2, 0, L"コントロールパネル(マウス)起動", IDM_DISPCTRLPNLMOUSE},
        {2, 1, L"最新の情報に更新(&R)\tF5", IDM_REFRESH}, {3, 0, L"移動(&G)...\tCtrl+G", IDM_GOTO},
        {4, 0, L"バージョン情報(&A)", IDM_ABOUT},
    };
    for (const auto& it : items) {
        HMENU sub = GetSubMenu(bar, it.menu);
        EXPECT_EQ(MenuText(sub, it.pos), it.caption);
        EXPECT_EQ(GetMenuItemID(sub, int(it.pos)), it.id);
        // New folder, delete and rename follow the panes; every other item is always enabled.
        if (it.id != IDM_NEWFOLDER && it.id != IDM_DELETE && it.id != IDM_RENAME) {
            EXPECT_EQ(GetMenuState(sub, it.pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u) << it.id;
        }
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 4);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 2)), 2);
}

TEST_F(MainWindow, AcceleratorsAreF2CtrlAF5AndCtrlG)
{
    ACCEL table[8];
    int n = CopyAcceleratorTableW(form->Accelerators(), table, 8);
    ASSERT_EQ(n, 4);
    auto has = [&](WORD key, BYTE virt, WORD cmd) {
        for (int i = 0; i < n; ++i)
            if (table[i].key == key && (table[i].fVirt & ~FNOINVERT) == (virt | FVIRTKEY) && table[i].cmd == cmd)
                return true;
        return false;
    };
    EXPECT_TRUE(has(VK_F2, 0, IDM_RENAME));
    EXPECT_TRUE(has('A', FCONTROL, IDM_SELALL));
    EXPECT_TRUE(has(VK_F5, 0, IDM_REFRESH));
    EXPECT_TRUE(has('G', FCONTROL, IDM_GOTO));
}

TEST_F(MainWindow, ToolButtonsCarryTheirHints)
{
    HWND bar = form->ToolButtons.Handle();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 5); // four buttons and the gap
    EXPECT_STREQ(form->ToolButtons.Hint(IDM_NEWFOLDER), L"新しいﾌｫﾙﾀﾞの作成");
    EXPECT_STREQ(form->ToolButtons.Hint(IDM_RENAME), L"名前の変更（F2)");
    EXPECT_STREQ(form->ToolButtons.Hint(IDM_DELETE), L"削除(Del)");
    EXPECT_STREQ(form->ToolButtons.Hint(IDM_FOLDERUP), L"一つ上のﾌｫﾙﾀﾞへ(BackSpace)");
    // The tool tip asks the bar's parent for the hint of the button under the pointer.
    HWND tip = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr) << "the hints need the bar's tool tip";
    for (UINT id : {IDM_NEWFOLDER, IDM_RENAME, IDM_DELETE, IDM_FOLDERUP}) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tip;
        info.hdr.idFrom = id;
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(GetParent(bar), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr) << id;
        EXPECT_STREQ(info.lpszText, form->ToolButtons.Hint(id)) << id;
    }
}

TEST_F(MainWindow, ToolButtonsAreTwentyFourPixelsAtTheirStoredPlaces)
{
    struct Button {
        UINT id;
        int x;
    };
    const Button buttons[] = {{IDM_NEWFOLDER, 2}, {IDM_RENAME, 26}, {IDM_DELETE, 50}, {IDM_FOLDERUP, 82}};
    HWND bar = form->ToolButtons.Handle();
    for (const Button& b : buttons) {
        RECT r = form->ToolButtons.ButtonRect(b.id);
        MapWindowPoints(bar, form->pnlToolBar.Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, b.x) << b.id;
        EXPECT_EQ(r.top, 4) << b.id;
        EXPECT_EQ(r.right - r.left, 24) << b.id;
        EXPECT_EQ(r.bottom - r.top, 24) << b.id;
    }
}

TEST_F(MainWindow, PanesSplitTheClientAreaBelowTheToolBar)
{
    HWND w = form->Handle();
    RECT client;
    GetClientRect(w, &client);
    RECT bar = ChildRect(w, form->pnlToolBar.Handle());
    RECT tree = ChildRect(w, form->FolderView.Handle());
    RECT split = ChildRect(w, form->Splitter1.Handle());
    RECT list = ChildRect(w, form->FileView.Handle());
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom, 30);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(tree.left, 0);
    EXPECT_EQ(tree.top, 30);
    EXPECT_EQ(tree.right, 173);
    EXPECT_EQ(split.left, 173);
    EXPECT_EQ(split.right - split.left, 3);
    EXPECT_EQ(list.left, 173 + 3);
    EXPECT_EQ(list.top, 30);
    EXPECT_EQ(list.right, client.right);
    EXPECT_EQ(list.bottom, client.bottom);

    // Dragging the splitter resizes the tree and the list follows.
    HWND s = form->Splitter1.Handle();
    SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + 50, 10));
    SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(1 + 50, 10));
    tree = ChildRect(w, form->FolderView.Handle());
    list = ChildRect(w, form->FileView.Handle());
    EXPECT_EQ(tree.right, 173 + 50);
    EXPECT_EQ(list.left, tree.right + 3);
}

TEST_F(MainWindow, ExitClosesTheWindow)
{
    HWND w = form->Handle();
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
    testsupport::PumpUntilIdle();
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(form->Handle(), nullptr);
}

} // namespace
