#include "ui/toolbar.h"

namespace ui {

bool ToolBar::Create(HWND parent, int buttonSize)
{
    buttonSize_ = buttonSize;
    if (!CreateControl(TOOLBARCLASSNAMEW,
                       WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                           CCS_NOPARENTALIGN,
                       0, parent))
        return false;
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_.reset(ImageList_Create(buttonSize, buttonSize, ILC_COLOR24 | ILC_MASK, 4, 4));
    SendMessageW(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(buttonSize, buttonSize));
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonSize, buttonSize));
    SendMessageW(Handle(), TB_SETPADDING, 0, MAKELPARAM(0, 0));
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    SendMessageW(Handle(), TB_SETINDENT, 2, 0);
    // The tool tip asks the bar's parent for each hint on the bar's behalf.
    AdoptNotifications(reinterpret_cast<HWND>(SendMessageW(Handle(), TB_GETTOOLTIPS, 0, 0)));
    return true;
}

void ToolBar::AddButton(UINT commandId, int bitmapResource, const wchar_t* hint)
{
    UniqueBitmap bmp(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapResource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    // The bitmaps' silver background shows the bar through.
    int image = bmp ? ImageList_AddMasked(images_.get(), bmp.get(), RGB(0xC0, 0xC0, 0xC0)) : I_IMAGENONE;
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = int(commandId);
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    b.iString = -1;
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonSize_, buttonSize_));
    buttons_.push_back({commandId, hint});
}

void ToolBar::AddGap(int width)
{
    TBBUTTON b{};
    b.iBitmap = width;
    b.fsStyle = BTNS_SEP;
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
}

void ToolBar::SetEnabled(UINT commandId, bool enabled) noexcept
{
    SendMessageW(Handle(), TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBar::IsEnabled(UINT commandId) const noexcept
{
    return SendMessageW(Handle(), TB_ISBUTTONENABLED, commandId, 0) != 0;
}

RECT ToolBar::ButtonRect(UINT commandId) const noexcept
{
    RECT r{};
    SendMessageW(Handle(), TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&r));
    return r;
}

const wchar_t* ToolBar::Hint(UINT commandId) const noexcept
{
    for (const auto& b : buttons_)
        if (b.id == commandId)
            return b.hint;
    return nullptr;
}

bool ToolBar::Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    Control::Reflected(msg, wp, lp, result);
    if (msg != WM_NOTIFY)
        return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        if (const wchar_t* hint = Hint(UINT(hdr->idFrom))) {
            info->lpszText = const_cast<wchar_t*>(hint);
            info->hinst = nullptr;
            result = 0;
            return true;
        }
    }
    return false;
}

} // namespace ui
