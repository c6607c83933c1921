#include "ui/dialog.h"

#include "ui/exception.h"

namespace ui {

INT_PTR Dialog::ShowModal(HWND owner, int templateId)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &Dialog::Proc,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::OnCommand(WORD id, WORD, HWND)
{
    if (id == IDOK || id == IDCANCEL) {
        End(id);
        return true;
    }
    return false;
}

INT_PTR Dialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    INT_PTR result = Guarded(hwnd, INT_PTR(FALSE), [&] { return self->HandleMessage(msg, wp, lp); });
    if (msg == WM_NCDESTROY)
        self->hwnd_ = nullptr;
    return result;
}

} // namespace ui
