#include "dialogs/pixel_layout.h"

#include "ui/dpi.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace dialogs {

namespace {

void SetClientSize(HWND dialog, int width, int height)
{
    RECT outer{0, 0, width, height};
    ui::AdjustWindowRectForDpi(outer, DWORD(GetWindowLongPtrW(dialog, GWL_STYLE)), GetMenu(dialog) != nullptr,
                               DWORD(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), ui::DpiOf(dialog));
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TextExtent(HWND control)
{
    SIZE size{};
    int length = GetWindowTextLengthW(control);
    std::vector<wchar_t> text(std::size_t(length) + 1);
    length = GetWindowTextW(control, text.data(), length + 1);
    HDC dc = GetDC(control);
    if (!dc)
        return size;
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    {
        ui::SelectedObject selected(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        if (length > 0)
            GetTextExtentPoint32W(dc, text.data(), length, &size);
        size.cy = std::max(size.cy, metrics.tmHeight);
    }
    ReleaseDC(control, dc);
    return size;
}

} // namespace

void ApplyPixelLayout(HWND dialog, int dpi, int clientWidth, int clientHeight,
                      std::initializer_list<ControlPlace> places)
{
    using ui::Scale;
    SetClientSize(dialog, Scale(clientWidth, dpi), Scale(clientHeight, dpi));
    for (const ControlPlace& p : places)
        if (HWND c = GetDlgItem(dialog, p.id))
            SetWindowPos(c, nullptr, Scale(p.x, dpi), Scale(p.y, dpi), Scale(p.width, dpi), Scale(p.height, dpi),
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

ui::UniqueFont MakeDialogFont(const wchar_t* face, int pixels, int dpi)
{
    LOGFONTW lf{};
    lf.lfHeight = -ui::Scale(pixels, dpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return ui::UniqueFont(CreateFontIndirectW(&lf));
}

void SetFontOnChildren(HWND dialog, HFONT font)
{
    if (!font)
        return;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

RECT ClientRectOf(HWND dialog, int id)
{
    RECT r{};
    if (HWND c = GetDlgItem(dialog, id)) {
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

void FitLabelsToText(HWND dialog, std::initializer_list<int> labels)
{
    for (int id : labels) {
        HWND label = GetDlgItem(dialog, id);
        if (!label)
            continue;
        RECT r = ClientRectOf(dialog, id);
        SIZE text = TextExtent(label);
        int width = r.right - r.left, height = r.bottom - r.top;
        if (text.cx <= width && text.cy <= height)
            continue;
        SetWindowPos(label, nullptr, 0, 0, std::max(width, int(text.cx)), std::max(height, int(text.cy)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void GrowClient(HWND dialog, int width, int height)
{
    if (width <= 0 && height <= 0)
        return;
    RECT client{};
    GetClientRect(dialog, &client);
    SetClientSize(dialog, client.right + std::max(0, width), client.bottom + std::max(0, height));
}

} // namespace dialogs
