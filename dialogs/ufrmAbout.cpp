#include "dialogs/ufrmAbout.h"

#include "dialogs/pixel_layout.h"
#include "scheme/utilities.h"
#include "ui/dpi.h"

#include "res/resource.h"

#include <algorithm>
#include <vector>

namespace {

std::wstring RunningExecutable()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

scheme::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

std::optional<dialogs::Display> ActiveWindowDisplay()
{
    HWND active = GetActiveWindow();
    if (!active)
        active = GetForegroundWindow();
    if (!active)
        return std::nullopt;
    MONITORINFO info{sizeof(info)};
    HMONITOR monitor = MonitorFromWindow(active, MONITOR_DEFAULTTONULL);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return std::nullopt;
    return dialogs::Display{ToRect(info.rcMonitor), ToRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
}

INT_PTR TfrmAbout::ShowModal(HWND owner) { return ui::Dialog::ShowModal(owner, IDD_FRMABOUT); }

namespace {

RECT Scaled(const RECT& r, int dpi)
{
    return {ui::Scale(r.left, dpi), ui::Scale(r.top, dpi), ui::Scale(r.right, dpi), ui::Scale(r.bottom, dpi)};
}

} // namespace

void TfrmAbout::Layout(int dpi)
{
    // Client 299 x 167; the design's font, 15 pixels high. The labels sit
    // inside the panel (8, 8); the title spans the icon's area.
    ui::UniqueFont font = dialogs::MakeDialogFont(L"ＭＳ Ｐゴシック", 15, dpi);
    dialogs::SetFontOnChildren(Handle(), font.get());
    font_ = std::move(font);
    const int px = kPanel.left, py = kPanel.top;
    dialogs::ApplyPixelLayout(Handle(), dpi, 299, 167,
                              {{IDC_ABOUT_LABEL2, px + 4, py + 16, 272, 25},
                               {IDC_ABOUT_LBLVERSION, px + 4, py + 40, 272, 25},
                               {IDC_ABOUT_LABEL4, px + 4, py + 64, 272, 25},
                               {IDC_ABOUT_LABEL5, px + 4, py + 88, 272, 25},
                               {IDCANCEL, 216, 136, 75, 25}});
    // A text wider than its label (another font standing in) widens the
    // label, the panel around it and the box; the button keeps its corner.
    const std::initializer_list<int> labels{IDC_ABOUT_LABEL2, IDC_ABOUT_LBLVERSION, IDC_ABOUT_LABEL4,
                                            IDC_ABOUT_LABEL5};
    dialogs::FitLabelsToText(Handle(), labels);
    panel_ = Scaled(kPanel, dpi);
    icon_ = Scaled(kIcon, dpi);
    const int inset = ui::Scale(5, dpi);
    int right = panel_.right;
    for (int id : labels)
        right = std::max(right, int(dialogs::ClientRectOf(Handle(), id).right) + inset);
    if (const int grown = right - panel_.right; grown > 0) {
        panel_.right = right;
        RECT button = dialogs::ClientRectOf(Handle(), IDCANCEL);
        SetWindowPos(GetDlgItem(Handle(), IDCANCEL), nullptr, button.left + grown, button.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        dialogs::GrowClient(Handle(), grown, 0);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TfrmAbout::OnInitDialog()
{
    Layout(ui::DpiOf(Handle()));
    FormCreate();
    // The version line has its build number now: room for it too.
    Layout(ui::DpiOf(Handle()));
    PlaceOnScreen();
    return true;
}

void TfrmAbout::FormCreate()
{
    HICON shared = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    if (!shared)
        shared = LoadIconW(nullptr, IDI_APPLICATION);
    programIcon_.reset(shared ? CopyIcon(shared) : nullptr);

    int build = scheme::GetFileVersionBuild(executablePath.empty() ? RunningExecutable() : executablePath);
    if (build >= 0) {
        HWND label = GetDlgItem(Handle(), IDC_ABOUT_LBLVERSION);
        wchar_t text[128] = {};
        GetWindowTextW(label, text, 128);
        SetWindowTextW(label, (std::wstring(text) + L" (" + std::to_wstring(build) + L")").c_str());
    }
}

void TfrmAbout::PlaceOnScreen()
{
    RECT r{};
    GetWindowRect(Handle(), &r);
    scheme::Point at = dialogs::CenterOnScreen(r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXSCREEN),
                                               GetSystemMetrics(SM_CYSCREEN), ActiveWindowDisplay());
    SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmAbout::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (!dc)
        return;
    // Raised inner bevel inside a lowered outer one.
    RECT panel = panel_;
    DrawEdge(dc, &panel, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
    if (programIcon_) {
        const int size = icon_.right - icon_.left;
        DrawIconEx(dc, icon_.left, icon_.top, programIcon_.get(), size - 1, size - 1, 0, nullptr, DI_NORMAL);
    }
    EndPaint(Handle(), &ps);
}

INT_PTR TfrmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_DPICHANGED:
        if (lp) {
            const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
            SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            Layout(HIWORD(wp));
        }
        return TRUE;
    case WM_PAINT:
        Paint();
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        // The labels are transparent: the panel and the icon show through.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    default:
        return ui::Dialog::HandleMessage(msg, wp, lp);
    }
}
