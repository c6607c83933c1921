#include "app/ufrmMain.h"

#include "app/cursors/cursor_pack_menu.h"
#include "app/messages.h"
#include "shview/folderview/TreeState.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/exception.h"

#include "res/resource.h"
#include "res/texts.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {
constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
} // namespace

TfrmTarimoku::TfrmTarimoku() = default;

TfrmTarimoku::~TfrmTarimoku() { Destroy(); }

bool TfrmTarimoku::Create()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ClassInfo cls{L"TarimokuMainWindow"};
    cls.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    cls.background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    // The window opens on the primary monitor, at the system's DPI; should
    // the system put it on another, it takes that one's size.
    dpi_ = ui::SystemDpi();
    if (!CreateWindowOf(cls, WS_EX_CONTROLPARENT, texts::AppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, ui::Scale(kInitialWidth, dpi_),
                        ui::Scale(kInitialHeight, dpi_), nullptr, menu)) {
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    if (int actual = ui::DpiOf(Handle()); actual != dpi_) {
        dpi_ = actual;
        SetWindowPos(Handle(), nullptr, 0, 0, ui::Scale(kInitialWidth, dpi_), ui::Scale(kInitialHeight, dpi_),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    treeWidth_ = ui::Scale(kTreeWidth, dpi_);
    CreateComponents();
    if (!FolderView.Handle() || !FileView.Handle())
        return false;
    FormCreate();
    Layout();
    // The stored placement replaces the default one before the window is shown.
    RestorePos.Loaded(Handle());
    return true;
}

void TfrmTarimoku::CreateFolderTree() { FolderView.Create(Handle()); }

void TfrmTarimoku::CreateComponents()
{
    pnlToolBar.Create(Handle(), kSilver, true);
    ToolButtons.Create(pnlToolBar.Handle(), kButtonSize, kButtonIndent, dpi_);
    // Each picture at 24, 30, 36 and 48 pixels: 100, 125, 150 and 200 %.
    ToolButtons.AddButton(IDM_NEWFOLDER, {IDB_NEWFOLDER, IDB_NEWFOLDER_30, IDB_NEWFOLDER_36, IDB_NEWFOLDER_48},
                          texts::HintNewFolder);
    ToolButtons.AddButton(IDM_RENAME, {IDB_RENAME, IDB_RENAME_30, IDB_RENAME_36, IDB_RENAME_48}, texts::HintRename);
    ToolButtons.AddButton(IDM_DELETE, {IDB_DELETE, IDB_DELETE_30, IDB_DELETE_36, IDB_DELETE_48}, texts::HintDelete);
    ToolButtons.AddGap(kButtonGap);
    ToolButtons.AddButton(IDM_FOLDERUP, {IDB_FOLDERUP, IDB_FOLDERUP_30, IDB_FOLDERUP_36, IDB_FOLDERUP_48},
                          texts::HintFolderUp);

    // Fills and shell operations of the views and the context menu run nested
    // message loops: the animation holds still meanwhile.
    auto busy = [this](ui::Component*, bool raised) { FBusy.Follow(raised); };
    FileView.OnBusy = busy;
    FolderView.OnBusy = busy;
    ContextMenuEx.OnBusy = busy;
    ContextMenuEx.OnCommandFailed = ui::Bind(this, &TfrmTarimoku::ContextMenuCommandFailed);
    ContextMenuEx.offersInstall = OffersPackInstall;
    ContextMenuEx.OnInstall = ui::Bind(this, &TfrmTarimoku::ContextMenuInstall);

    // The previews follow every fill of the list, the first one included.
    FollowItems(FileView, ListPreviews);
    // The list first: the tree points it at the desktop while it builds itself.
    FileView.Create(Handle());
    FileView.ContextMenu = &ContextMenuEx;
    FileView.OnMouseUp = ui::Bind(this, &TfrmTarimoku::FileViewMouseUp);
    FileView.OnChange = ui::Bind(this, &TfrmTarimoku::FileViewChange);
    FileView.OnEnter = ui::Bind(this, &TfrmTarimoku::FileViewEnter);
    FileView.OnKeyDown = ui::Bind(this, &TfrmTarimoku::PaneKeyDown);
    FileView.OnKeyPress = ui::Bind(this, &TfrmTarimoku::PaneKeyPress);
    FolderView.SetFileView(&FileView);
    FolderView.ContextMenu = &ContextMenuEx;
    FolderView.OnChange = ui::Bind(this, &TfrmTarimoku::FolderViewChange);
    FolderView.OnEnter = ui::Bind(this, &TfrmTarimoku::FolderViewEnter);
    FolderView.OnKeyDown = ui::Bind(this, &TfrmTarimoku::PaneKeyDown);
    FolderView.OnKeyPress = ui::Bind(this, &TfrmTarimoku::PaneKeyPress);
    // A tree that fails while it builds is reported; the window still comes up.
    ui::Guarded(Handle(), [this] { CreateFolderTree(); });
    FolderView.SetIndent(ui::Scale(kTreeIndent, dpi_));
    Splitter1.Create(Handle(), kSilver);
    // The splitter leaves both panes usable.
    Splitter1.OnMoved = [this](ui::Splitter*, int x) {
        RECT rc;
        GetClientRect(Handle(), &rc);
        treeWidth_ = panes::TreeWidth(x, rc.right - rc.left, dpi_);
        Layout();
        // Both panes moved an edge: they draw their frames (scroll bars) and
        // contents afresh rather than keep bits copied from where they were.
        for (HWND pane : {FolderView.Handle(), FileView.Handle()})
            RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    };
    MakeFonts();

    AddCommands();
}

void TfrmTarimoku::AddCommands()
{
    commandTable_.Add(IDM_NEWFOLDER, [this] { mitemNewFolderClick(); });
    commandTable_.Add(IDM_DELETE, [this] { mitemDeleteClick(); });
    commandTable_.Add(IDM_RENAME, [this] { mitemRenameClick(); });
    commandTable_.Add(IDM_EXIT, [this] { mitemExitClick(); });
    commandTable_.Add(IDM_SELALL, [this] { mitemSelAllClick(); });
    commandTable_.Add(IDM_REVERSE, [this] { mitemReverseClick(); });
    commandTable_.Add(IDM_REFRESH, [this] { mitemRefreshClick(); });
    commandTable_.Add(IDM_FOLDERUP, [this] { sbtnFolderUpClick(); });
    commandTable_.Add(IDM_DISPCTRLPNLMOUSE, [this] { mitemDispCtrlPnlMouseClick(); });
    commandTable_.Add(IDM_GOTO, [this] { GoTo1Click(); });
    commandTable_.Add(IDM_ABOUT, [this] { mitemAboutClick(); });
}

void TfrmTarimoku::Show(int showCommand)
{
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    // The keyboard starts in a pane (the window may not have been activated,
    // so its own focus handling may not have run).
    if (!focusedPane_ || !IsChild(Handle(), focusedPane_))
        focusedPane_ = FolderView.Handle();
    if (focusedPane_ && showCommand != SW_HIDE && !IsIconic(Handle()))
        SetFocus(focusedPane_);
}

void TfrmTarimoku::Layout()
{
    if (!Handle())
        return;
    RECT rc;
    GetClientRect(Handle(), &rc);
    int width = rc.right - rc.left;
    panes::Arrangement at = panes::Arrange(width, rc.bottom - rc.top, treeWidth_, dpi_);
    pnlToolBar.SetBounds(at.toolBar.x, at.toolBar.y, at.toolBar.width, at.toolBar.height);
    ToolButtons.SetBounds(at.buttons.x, at.buttons.y, at.buttons.width, at.buttons.height);
    FolderView.SetBounds(at.tree.x, at.tree.y, at.tree.width, at.tree.height);
    MoveWindow(Splitter1.Handle(), at.splitter.x, at.splitter.y, at.splitter.width, at.splitter.height, TRUE);
    FileView.SetBounds(at.list.x, at.list.y, at.list.width, at.list.height);
}

void TfrmTarimoku::MinimumSize(MINMAXINFO& info)
{
    panes::Size client = panes::MinimumClient(dpi_);
    HWND h = Handle();
    HMENU menu = GetMenu(h);
    RECT want{0, 0, client.width, client.height};
    ui::AdjustWindowRectForDpi(want, DWORD(GetWindowLongPtrW(h, GWL_STYLE)), menu != nullptr,
                               DWORD(GetWindowLongPtrW(h, GWL_EXSTYLE)), dpi_);
    LONG height = want.bottom - want.top;
    // That narrow, the menu bar may wrap its items onto more lines, each of
    // which takes height from the panes.
    if (menu) {
        POINT origin{0, 0};
        ClientToScreen(h, &origin);
        std::vector<int> widths;
        int lineHeight = 0;
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            RECT item{};
            if (!GetMenuItemRect(h, menu, UINT(i), &item))
                break;
            // The first item's width counts from the bar's left edge.
            widths.push_back(int(item.right - (i == 0 ? origin.x : item.left)));
            lineHeight = std::max(lineHeight, int(item.bottom - item.top));
        }
        height += (panes::MenuRows(widths, client.width) - 1) * lineHeight;
    }
    info.ptMinTrackSize.x = std::max(info.ptMinTrackSize.x, want.right - want.left);
    info.ptMinTrackSize.y = std::max(info.ptMinTrackSize.y, height);
}

void TfrmTarimoku::PaneKeyDown(ui::Control* sender, WORD& key, ui::ShiftState shift)
{
    if ((key == VK_TAB || key == VK_F6) && !shift.ctrl && !shift.alt && sender) {
        FocusNextPane(sender->Handle(), shift.shift);
        key = 0;
        return;
    }
    FileViewKeyDown(sender, key, shift);
}

void TfrmTarimoku::PaneKeyPress(ui::Control* sender, wchar_t& key)
{
    if (key == L'\t') {
        key = 0;
        return;
    }
    if (sender == &FileView)
        FileViewKeyPress(sender, key);
}

void TfrmTarimoku::FocusNextPane(HWND from, bool back)
{
    const HWND order[] = {FolderView.Handle(), FileView.Handle()};
    constexpr int count = int(std::size(order));
    int at = 0;
    while (at < count && order[at] != from)
        ++at;
    // From anywhere else, forward starts at the tree and back at the list.
    int next = at == count ? (back ? count - 1 : 0) : (at + (back ? count - 1 : 1)) % count;
    if (order[next])
        SetFocus(order[next]);
}

void TfrmTarimoku::FormCreate()
{
    refresh.Attach(Handle(), refreshPanes_);
    BuildRoleMenu();
    drops.Register();
}

void TfrmTarimoku::MakeFonts()
{
    // The form's font: "ＭＳ Ｐゴシック", 15 pixels, Shift-JIS character set.
    LOGFONTW lf{};
    lf.lfHeight = -ui::Scale(15, dpi_);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy(lf.lfFaceName, L"ＭＳ Ｐゴシック");
    ui::UniqueFont form(CreateFontIndirectW(&lf));
    // Both panes use the system's icon-title font when it can be had.
    ui::UniqueFont list, tree;
    LOGFONTW title{};
    if (ui::IconTitleFontForDpi(title, dpi_)) {
        list = shview::FontFromLogFont(title);
        tree = shview::FontFromLogFont(title);
    }
    const bool iconTitle = list && tree;
    FileView.SetFont(iconTitle ? list.get() : form.get());
    FolderView.SetFont(iconTitle ? tree.get() : form.get());
    // The panes hold the new fonts now: the old ones may go.
    formFont_ = std::move(form);
    listFont_ = std::move(list);
    treeFont_ = std::move(tree);
}

void TfrmTarimoku::DpiChanged(int dpi, const RECT& suggested)
{
    if (dpi <= 0)
        return;
    const int old = dpi_;
    dpi_ = dpi;
    treeWidth_ = MulDiv(treeWidth_, dpi, old);
    MakeFonts();
    FileView.SetDpi(dpi_);
    FolderView.SetDpi(dpi_);
    FolderView.SetIndent(ui::Scale(kTreeIndent, dpi_));
    ToolButtons.SetDpi(dpi_);
    // The suggested rectangle keeps the window where the user moved it; its
    // size sends WM_SIZE, which lays the panes out again.
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void TfrmTarimoku::OpenCommandLineFolder(const std::vector<std::wstring>& arguments)
{
    // A Unix-style path would reach the shell's parser, which cannot take it.
    if (arguments.size() == 1 && !arguments[0].empty() && arguments[0][0] != L'/' && FolderExists(arguments[0])) {
        FolderView.SelectPath(arguments[0]);
        // The keyboard starts in the list of the folder asked for.
        if (FolderView.Selected())
            focusedPane_ = FileView.Handle();
    }
}

void TfrmTarimoku::FolderViewChange(ui::Component*, ui::TreeNode node)
{
    commandStates_.SetEnabled(IDM_NEWFOLDER, !IsVirtualNode(FolderView, node));
    UpdateCommandStates();
    // The list's fill has started the previews of the folder's items.
    ui::PostPrivate(Handle(), WM_WATCHFOLDERS);
    SetWindowTextW(Handle(), (std::wstring(texts::CaptionPrefix) + GetNodeCaption(FolderView, node)).c_str());
}

void TfrmTarimoku::FormShow()
{
    animateTimer_.Start(Handle(), kAnimateTimer, kAnimatePeriodMs, [this] { ListPreviews.AnimateTimerProc(); });
    // The idle handler is the window's while it lives (FormDestroy takes it away).
    ui::Application::Instance().SetIdleHandler([this](bool& done) { ListPreviews.PreviewIdle(done); });
}

void TfrmTarimoku::FirstShown()
{
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TfrmTarimoku::FormClose() { animateTimer_.Stop(); }

void TfrmTarimoku::FormDestroy()
{
    animateTimer_.Stop();
    if (shown_)
        ui::Application::Instance().SetIdleHandler(nullptr);
    refresh.Stop();
    ListPreviews.Stop();
    drops.Revoke();
}

void TfrmTarimoku::mitemExitClick() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

LRESULT TfrmTarimoku::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED:
        if (lp)
            DpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_GETMINMAXINFO:
        MinimumSize(*reinterpret_cast<MINMAXINFO*>(lp));
        return 0;
    case WM_SHOWWINDOW:
        if (wp)
            FirstShown();
        break;
    case WM_WINDOWPOSCHANGED:
        // Not every show sends WM_SHOWWINDOW (a hidden window shown
        // maximised may not); every one changes the window's position so.
        if (lp && (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW))
            FirstShown();
        break;
    case WM_COMMAND:
        // Menu items and accelerators (lParam 0), and the tool buttons.
        if (lp == 0 || reinterpret_cast<HWND>(lp) == ToolButtons.Handle()) {
            if (!schemeMenu_.Run(Handle(), LOWORD(wp)))
                commandTable_.Run(LOWORD(wp));
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        // The schemes as they are now: the system's settings change them too.
        if (SchemeMenu::Holds(reinterpret_cast<HMENU>(wp)))
            schemeMenu_.Rebuild(reinterpret_cast<HMENU>(wp));
        break;
    case WM_NOTIFY:
        if (lp && BeginDrag(*reinterpret_cast<const NMHDR*>(lp)))
            return 0;
        break;
    case WM_SETFOCUS:
        // The window's focused control gets the focus back with the window
        // (at first the tree).
        if (!focusedPane_ || !IsWindow(focusedPane_) || !IsChild(Handle(), focusedPane_))
            focusedPane_ = FolderView.Handle();
        if (focusedPane_)
            SetFocus(focusedPane_);
        return 0;
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear of new colours: the controls learn
        // them from here, then the previews compose their frames anew.
        for (HWND child : {ToolButtons.Handle(), FolderView.Handle(), FileView.Handle()})
            if (child)
                SendMessageW(child, msg, wp, lp);
        ListPreviews.ColoursChanged();
        break;
    case WM_THEMECHANGED:
        ListPreviews.ColoursChanged();
        break;
    case WM_WATCHFOLDERS:
        refresh.WatchFolders();
        return 0;
    case WM_REFRESHVIEWS:
        refresh.RefreshViews();
        return 0;
    case WM_DEVICECHANGE:
        return refresh.DeviceChange(wp, lp);
    case WM_RESTORECONTEXTMENU:
        FileView.ContextMenu = &ContextMenuEx;
        return 0;
    case WM_PREPAREROLEMENU:
        roleMenu.Prepare(std::wstring(), ui::DpiOf(Handle()));
        return 0;
    case WM_CLOSE:
        FormClose();
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        FormDestroy();
        SavePlacement();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wp, lp);
}
