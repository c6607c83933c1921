#include "dialogs/pixel_layout.h"

#include <cwchar>

namespace dialogs {

void ApplyPixelLayout(HWND dialog, int clientWidth, int clientHeight, std::initializer_list<ControlPlace> places)
{
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongPtrW(dialog, GWL_STYLE)), GetMenu(dialog) != nullptr,
                       DWORD(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlPlace& p : places)
        if (HWND c = GetDlgItem(dialog, p.id))
            SetWindowPos(c, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

ui::UniqueFont MakeDialogFont(const wchar_t* face, int pixels)
{
    LOGFONTW lf{};
    lf.lfHeight = -pixels;
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

} // namespace dialogs
