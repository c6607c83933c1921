// The main window as the program creates it, in process.
#include "res/resource.h"
#include "res/texts.h"
#include "tests/support/main_form.h"
#include "tests/support/menu_items.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/windows_profile.h"
#include "tests/support/wine_ui.h"
#include "ui/image_list.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// The texts and figures the design fixes for the window, its menu bar, its
// keys and its tool bar, in one place. The figures are 96-DPI pixels: the
// window shows them scaled (Px) to the DPI it runs at.
struct MenuItemText {
    int menu;
    UINT pos;
    const wchar_t* caption;
    UINT id;
};
struct Accelerator {
    WORD key;
    BYTE virt;
    WORD cmd;
};
struct Button {
    UINT id;
    const wchar_t* hint;
    int x; // in the tool bar's panel, at 96 DPI
};
const struct {
    int width, height;
    std::vector<std::wstring> menus;
    std::vector<int> menuCounts;
    std::vector<MenuItemText> items;
    std::vector<Accelerator> accelerators;
    std::vector<Button> buttons;
    int buttonTop, buttonSize, toolBarHeight, treeWidth, splitterWidth;
} kDesign{
    491,
    409,
    {L"ﾌｧｲﾙ(&F)", L"編集(&E)", L"表示(&V)", L"ツール(&T)", L"スキーム(&S)", L"ヘルプ(&H)"},
    {4, 2, 2, 1, 1, 1},
    {
        {0, 0, L"フォルダの新規作成(&W)", IDM_NEWFOLDER},
        {0, 1, L"削除(&D)", IDM_DELETE},
        {0, 2, L"名前の変更(&M)\tF2", IDM_RENAME},
        {0, 3, L"終了(&X)", IDM_EXIT},
        {1, 0, L"全て選択(&A)\tCtrl+A", IDM_SELALL},
        {1, 1, L"選択の反転(&I)", IDM_REVERSE},
        {2, 0, L"コントロールパネル(マウス)起動", IDM_DISPCTRLPNLMOUSE},
        {2, 1, L"最新の情報に更新(&R)\tF5", IDM_REFRESH},
        {3, 0, L"移動(&G)...\tCtrl+G", IDM_GOTO},
        {4, 0, L"現在のポインタをスキームとして保存(&S)...", IDM_SCHEME_SAVE},
        {5, 0, L"バージョン情報(&A)", IDM_ABOUT},
    },
    {{VK_F2, 0, IDM_RENAME}, {'A', FCONTROL, IDM_SELALL}, {VK_F5, 0, IDM_REFRESH}, {'G', FCONTROL, IDM_GOTO}},
    {
        {IDM_NEWFOLDER, L"新しいﾌｫﾙﾀﾞの作成", 2},
        {IDM_RENAME, L"名前の変更（F2)", 26},
        {IDM_DELETE, L"削除(Del)", 50},
        {IDM_FOLDERUP, L"一つ上のﾌｫﾙﾀﾞへ(BackSpace)", 82},
    },
    4,
    24,
    30,
    173,
    3,
};

std::wstring WindowText(HWND w)
{
    wchar_t buf[512] = {};
    GetWindowTextW(w, buf, 512);
    return buf;
}

using testsupport::Px;

RECT ChildRect(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form.Created()); }
    testsupport::MainForm form;
};

TEST_F(MainWindow, StartsWithTheStoredSizeAndTitle)
{
    EXPECT_EQ(WindowText(form->Handle()).rfind(texts::AppTitle, 0), 0u);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, Px(kDesign.width));
    EXPECT_EQ(r.bottom - r.top, Px(kDesign.height));
}

TEST_F(MainWindow, MenuBarHoldsTheCommandsWithTheirShortcuts)
{
    HMENU bar = form->MainMenu();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(testsupport::MenuTexts(bar), kDesign.menus);
    for (const auto& it : kDesign.items) {
        HMENU sub = GetSubMenu(bar, it.menu);
        EXPECT_EQ(testsupport::MenuText(sub, int(it.pos)), it.caption);
        EXPECT_EQ(GetMenuItemID(sub, int(it.pos)), it.id);
        // New folder, delete and rename follow the panes; every other item is always enabled.
        if (it.id != IDM_NEWFOLDER && it.id != IDM_DELETE && it.id != IDM_RENAME) {
            EXPECT_EQ(GetMenuState(sub, it.pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u) << it.id;
        }
    }
    for (std::size_t m = 0; m < kDesign.menuCounts.size(); ++m)
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, int(m))), kDesign.menuCounts[m]) << m;
}

TEST_F(MainWindow, AcceleratorsAreF2CtrlAF5AndCtrlG)
{
    ACCEL table[8];
    int n = CopyAcceleratorTableW(form->Accelerators(), table, 8);
    ASSERT_EQ(n, int(kDesign.accelerators.size()));
    auto has = [&](WORD key, BYTE virt, WORD cmd) {
        for (int i = 0; i < n; ++i)
            if (table[i].key == key && (table[i].fVirt & ~FNOINVERT) == (virt | FVIRTKEY) && table[i].cmd == cmd)
                return true;
        return false;
    };
    for (const Accelerator& a : kDesign.accelerators)
        EXPECT_TRUE(has(a.key, a.virt, a.cmd)) << a.cmd;
}

TEST_F(MainWindow, ToolButtonsCarryTheirHints)
{
    HWND bar = form->ToolButtons.Handle();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 5); // four buttons and the gap
    for (const Button& b : kDesign.buttons)
        EXPECT_STREQ(form->ToolButtons.Hint(b.id), b.hint) << b.id;
    // The tool tip asks the bar's parent for the hint of the button under the pointer.
    HWND tip = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr) << "the hints need the bar's tool tip";
    for (const Button& b : kDesign.buttons) {
        const UINT id = b.id;
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
    HWND bar = form->ToolButtons.Handle();
    for (const Button& b : kDesign.buttons) {
        RECT r = form->ToolButtons.ButtonRect(b.id);
        MapWindowPoints(bar, form->pnlToolBar.Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, Px(b.x)) << b.id;
        EXPECT_EQ(r.top, Px(kDesign.buttonTop)) << b.id;
        EXPECT_EQ(r.right - r.left, Px(kDesign.buttonSize)) << b.id;
        EXPECT_EQ(r.bottom - r.top, Px(kDesign.buttonSize)) << b.id;
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
    const int top = Px(kDesign.toolBarHeight), treeWidth = Px(kDesign.treeWidth), gap = Px(kDesign.splitterWidth);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom, top);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(tree.left, 0);
    EXPECT_EQ(tree.top, top);
    EXPECT_EQ(tree.right, treeWidth);
    EXPECT_EQ(split.left, treeWidth);
    EXPECT_EQ(split.right - split.left, gap);
    EXPECT_EQ(list.left, treeWidth + gap);
    EXPECT_EQ(list.top, top);
    EXPECT_EQ(list.right, client.right);
    EXPECT_EQ(list.bottom, client.bottom);

    // Dragging the splitter resizes the tree and the list follows.
    HWND s = form->Splitter1.Handle();
    SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + 50, 10));
    SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(1 + 50, 10));
    tree = ChildRect(w, form->FolderView.Handle());
    list = ChildRect(w, form->FileView.Handle());
    EXPECT_EQ(tree.right, treeWidth + 50);
    EXPECT_EQ(list.left, tree.right + gap);
}

// Every tool button lies wholly inside the bar and every menu bar item inside
// the window, whatever the DPI.
void ExpectNothingClipped(TfrmTarimoku& form)
{
    HWND panel = form.pnlToolBar.Handle(), bar = form.ToolButtons.Handle();
    RECT panelRect{};
    GetClientRect(panel, &panelRect);
    for (const Button& b : kDesign.buttons) {
        RECT r = form.ToolButtons.ButtonRect(b.id);
        MapWindowPoints(bar, panel, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(r.left, panelRect.left) << b.id;
        EXPECT_GE(r.top, panelRect.top) << b.id;
        EXPECT_LE(r.right, panelRect.right) << b.id;
        EXPECT_LE(r.bottom, panelRect.bottom) << b.id;
    }
    HWND w = form.Handle();
    RECT window{};
    GetWindowRect(w, &window);
    HMENU menu = form.MainMenu();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        RECT item{};
        ASSERT_TRUE(GetMenuItemRect(w, menu, UINT(i), &item)) << i;
        EXPECT_GE(item.left, window.left) << i;
        EXPECT_LE(item.right, window.right) << i;
        EXPECT_LE(item.bottom, window.bottom) << i;
    }
}

TEST_F(MainWindow, NothingIsClippedAtItsSize) { ExpectNothingClipped(*form.get()); }

TEST_F(MainWindow, MovingToAnotherDpiLaysEverythingOutAgain)
{
    // What the system sends when the window is dragged onto a monitor of
    // another DPI: the new DPI and the rectangle it suggests there.
    HWND w = form->Handle();
    const int from = form->Dpi(), to = from == 96 ? 144 : 96;
    const int treeBefore = ChildRect(w, form->FolderView.Handle()).right;
    const RECT suggested{40, 30, 40 + ui::Scale(kDesign.width, to), 30 + ui::Scale(kDesign.height, to)};
    form->ToolButtons.SetEnabled(IDM_RENAME, false);
    std::vector<bool> enabled;
    for (const Button& b : kDesign.buttons)
        enabled.push_back(form->ToolButtons.IsEnabled(b.id));
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    testsupport::PumpUntilIdle();

    EXPECT_EQ(form->Dpi(), to);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{suggested.left, suggested.top, suggested.right, suggested.bottom}));
    EXPECT_EQ(ChildRect(w, form->pnlToolBar.Handle()).bottom, ui::Scale(kDesign.toolBarHeight, to));
    EXPECT_EQ(ChildRect(w, form->FolderView.Handle()).right, MulDiv(treeBefore, to, from));
    RECT split = ChildRect(w, form->Splitter1.Handle());
    EXPECT_EQ(split.right - split.left, ui::Scale(kDesign.splitterWidth, to));
    for (const Button& b : kDesign.buttons) {
        RECT button = form->ToolButtons.ButtonRect(b.id);
        EXPECT_EQ(button.left, ui::Scale(b.x, to)) << b.id;
        EXPECT_EQ(button.right - button.left, ui::Scale(kDesign.buttonSize, to)) << b.id;
    }
    // The commands keep their states through the rebuilt bar.
    for (std::size_t i = 0; i < kDesign.buttons.size(); ++i)
        EXPECT_EQ(form->ToolButtons.IsEnabled(kDesign.buttons[i].id), enabled[i]) << kDesign.buttons[i].id;
    // The panes' text follows: the list's font is scaled with the window.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->FileView.Handle(), WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    LOGFONTW title{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(title), &title, 0);
    EXPECT_NEAR(font.lfHeight, MulDiv(title.lfHeight, to, from), 1);
}

TEST_F(MainWindow, PanesShowTheShellsIconsAtTheSizesOfTheDpi)
{
    // The shell's image lists follow the system's icon sizes, which follow the DPI.
    auto side = [](HIMAGELIST list) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        return cx;
    };
    HWND list = form->FileView.Handle(), tree = form->FolderView.Handle();
    EXPECT_EQ(side(ListView_GetImageList(list, LVSIL_NORMAL)), Px(32));
    EXPECT_EQ(side(ListView_GetImageList(list, LVSIL_SMALL)), Px(16));
    EXPECT_EQ(side(TreeView_GetImageList(tree, TVSIL_NORMAL)), Px(16));
}

TEST_F(MainWindow, PanesShowTheShellsIconsAtTheSizesOfAnotherMonitorsDpi)
{
    HWND list = form->FileView.Handle(), tree = form->FolderView.Handle();
    auto lists = [&] {
        return std::vector<HIMAGELIST>{ListView_GetImageList(list, LVSIL_NORMAL),
                                       ListView_GetImageList(list, LVSIL_SMALL),
                                       TreeView_GetImageList(tree, TVSIL_NORMAL)};
    };
    auto moveTo = [&](int dpi) {
        const RECT suggested{0, 0, ui::Scale(kDesign.width, dpi), ui::Scale(kDesign.height, dpi)};
        SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        testsupport::PumpUntilIdle();
    };
    const std::vector<HIMAGELIST> system = lists();
    const int from = form->Dpi(), to = 2 * from;
    moveTo(to);
    // The index the shell gave the list's first item still draws a picture
    // in each list, at the icon sizes of the new DPI.
    ASSERT_GT(ListView_GetItemCount(list), 0);
    LVITEMW item{LVIF_IMAGE};
    ListView_GetItem(list, &item);
    const int large = ui::ShellIconSide(SHIL_LARGE, to), small = ui::ShellIconSide(SHIL_SMALL, to);
    const int sides[] = {large, small, small};
    const std::vector<HIMAGELIST> scaled = lists();
    for (std::size_t i = 0; i < scaled.size(); ++i) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(scaled[i], &cx, &cy);
        EXPECT_EQ(cx, sides[i]) << i;
        int side = 0;
        const std::vector<uint32_t> pixels = testsupport::ImageOverWhite(scaled[i], item.iImage, ILD_NORMAL, side);
        EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0xFFFFFF; }), cx) << i;
    }
    EXPECT_GE(TreeView_GetItemHeight(tree), small);
    moveTo(from);
    EXPECT_EQ(lists(), system);
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

// Whatever state the window first shows in, the previews start with it: an
// animated cursor of the folder in view is loaded and steps on.
TEST(MainWindowShow, ThePreviewsStartInEveryFirstShowState)
{
    struct Row {
        const char* what;
        std::vector<int> shows;
    } rows[] = {
        {"normal", {SW_SHOWNORMAL}},
        {"maximised", {SW_SHOWMAXIMIZED}},
        {"minimised, then restored", {SW_SHOWMINIMIZED, SW_RESTORE}},
    };
    testsupport::TempDir dir;
    dir.File(L"wait.ani", testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/wait.ani")));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::MainForm::Options options;
        options.show = false;
        testsupport::MainForm form(options);
        ASSERT_TRUE(form.Created());
        for (int show : row.shows)
            form->Show(show);
        form.Open(dir.Path());
        Previews& previews = form->ListPreviews;
        int firstStep = -1;
        EXPECT_TRUE(testsupport::PumpUntil([&] {
            ui::Application::Instance().DoIdle();
            if (previews.FPreviewCount == 0)
                return false;
            if (firstStep < 0)
                firstStep = previews.FPreviews[0].Step;
            return previews.FPreviews[0].Step != firstStep;
        }, 3000));
    }
}
