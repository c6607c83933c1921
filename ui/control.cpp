#include "ui/control.h"

#include "ui/exception.h"
#include "ui/screen_cursor.h"

#include <windowsx.h>

#include <utility>

namespace ui {
namespace {
constexpr UINT_PTR kControlSubclass = 0x54524B31; // one id for every control
constexpr UINT_PTR kParentSubclass = 0x54524B32;  // one id for every parent
// The object behind a control's window, for the parent's reflection.
constexpr wchar_t kControlProp[] = L"TarimokuControl";

ShiftState FromMouseFlags(WPARAM wp) noexcept
{
    ShiftState s;
    s.shift = (wp & MK_SHIFT) != 0;
    s.ctrl = (wp & MK_CONTROL) != 0;
    s.alt = GetKeyState(VK_MENU) < 0;
    return s;
}
} // namespace

bool IsEditBox(HWND window) noexcept
{
    wchar_t name[16] = L"";
    return window && GetClassNameW(window, name, 16) > 0 && lstrcmpiW(name, L"Edit") == 0;
}

ShiftState ShiftState::Now() noexcept
{
    ShiftState s;
    s.shift = GetKeyState(VK_SHIFT) < 0;
    s.ctrl = GetKeyState(VK_CONTROL) < 0;
    s.alt = GetKeyState(VK_MENU) < 0;
    return s;
}

Control::~Control()
{
    if (hwnd_) {
        HWND h = hwnd_;
        RemoveWindowSubclass(h, &Control::SubclassProc, kControlSubclass);
        RemovePropW(h, kControlProp);
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

Control* Control::FromHandle(HWND hwnd) noexcept
{
    return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProp)) : nullptr;
}

bool Control::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id)
{
    HWND h = CreateWindowExW(exStyle, className, L"", style | WS_CHILD, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!h)
        return false;
    hwnd_ = h;
    notifyParent_ = parent;
    SetPropW(h, kControlProp, this);
    SetWindowSubclass(h, &Control::SubclassProc, kControlSubclass, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(parent, &Control::ParentProc, kParentSubclass, 0);
    return true;
}

void Control::AdoptNotifications(HWND helper) noexcept
{
    if (helper)
        SetPropW(helper, kControlProp, this);
}

void Control::SetBounds(int x, int y, int width, int height) noexcept
{
    if (hwnd_)
        MoveWindow(hwnd_, x, y, width, height, TRUE);
}

void Control::SetFont(HFONT font) noexcept
{
    if (hwnd_)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT Control::Font() const noexcept
{
    return hwnd_ ? reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
}

void Control::SetVisible(bool visible) noexcept
{
    if (hwnd_)
        ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void Control::SetFocus() noexcept
{
    if (hwnd_)
        ::SetFocus(hwnd_);
}

void Control::BeginUpdate() noexcept
{
    if (updateCount_++ == 0 && hwnd_)
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void Control::EndUpdate() noexcept
{
    if (updateCount_ > 0 && --updateCount_ == 0 && hwnd_) {
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void Control::PauseReflection() noexcept
{
    if (notifyParent_)
        RemoveWindowSubclass(notifyParent_, &Control::ParentProc, kParentSubclass);
}

void Control::ResumeReflection() noexcept
{
    if (notifyParent_ && IsWindow(notifyParent_))
        SetWindowSubclass(notifyParent_, &Control::ParentProc, kParentSubclass, 0);
}

LRESULT Control::CallOriginal(UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(hwnd_, msg, wp, lp); }

bool Control::Reflected(UINT msg, WPARAM, LPARAM lp, LRESULT&)
{
    // A click the control reports while it is still handling the press is
    // the button-up it swallowed. Only WM_NOTIFY carries an NMHDR: the
    // lParam of a WM_COMMAND (a combo box's, say) is the control's handle.
    if (pressing_ && msg == WM_NOTIFY && lp) {
        auto* h = reinterpret_cast<NMHDR*>(lp);
        if ((h->code == NM_CLICK && pressButton_ == MouseButton::Left) ||
            (h->code == NM_RCLICK && pressButton_ == MouseButton::Right))
            clickDuringPress_ = true;
    }
    return false;
}

void Control::MouseDown(MouseButton button, ShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }

void Control::MouseUp(MouseButton button, ShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }

void Control::DblClick() { OnDblClick(this); }

void Control::ButtonDown(MouseButton button, WPARAM wp, LPARAM lp, UINT msg)
{
    pressing_ = true;
    pressButton_ = button;
    clickDuringPress_ = false;
    CallOriginal(msg, wp, lp);
    pressing_ = false;
    if (!hwnd_)
        return;
    ShiftState shift = FromMouseFlags(wp);
    int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    MouseDown(button, shift, x, y);
    if (clickDuringPress_ && hwnd_) {
        clickDuringPress_ = false;
        swallowUp_ = true;
        MouseUp(button, shift, x, y);
    }
}

LRESULT Control::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETCURSOR:
        if (ScreenCursor::Apply())
            return TRUE;
        break;
    case WM_LBUTTONDOWN:
        swallowUp_ = false;
        ButtonDown(MouseButton::Left, wp, lp, msg);
        return 0;
    case WM_RBUTTONDOWN:
        swallowUp_ = false;
        ButtonDown(MouseButton::Right, wp, lp, msg);
        return 0;
    case WM_MBUTTONDOWN:
        swallowUp_ = false;
        ButtonDown(MouseButton::Middle, wp, lp, msg);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        LRESULT r = CallOriginal(msg, wp, lp);
        // The click was already reported for this press.
        if (std::exchange(swallowUp_, false))
            return r;
        MouseButton b = msg == WM_LBUTTONUP ? MouseButton::Left
                        : msg == WM_RBUTTONUP ? MouseButton::Right
                                              : MouseButton::Middle;
        if (hwnd_)
            MouseUp(b, FromMouseFlags(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return r;
    }
    case WM_LBUTTONDBLCLK: {
        LRESULT r = CallOriginal(msg, wp, lp);
        if (hwnd_)
            DblClick();
        return r;
    }
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wp);
        OnKeyDown(this, key, ShiftState::Now());
        if (key == 0)
            return 0;
        return CallOriginal(msg, key, lp);
    }
    case WM_CHAR: {
        wchar_t ch = static_cast<wchar_t>(wp);
        OnKeyPress(this, ch);
        if (ch == 0)
            return 0;
        return CallOriginal(msg, ch, lp);
    }
    case WM_SETFOCUS: {
        LRESULT r = CallOriginal(msg, wp, lp);
        OnEnter(this);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallOriginal(msg, wp, lp);
        OnExit(this);
        return r;
    }
    default:
        break;
    }
    return CallOriginal(msg, wp, lp);
}

LRESULT Control::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    try {
        result = WndProc(msg, wp, lp);
    } catch (...) {
        ShowCurrentException(GetAncestor(hwnd_, GA_ROOT));
    }
    return result;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<Control*>(ref);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &Control::SubclassProc, kControlSubclass);
        RemovePropW(hwnd, kControlProp);
        self->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Control::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    Control* source = nullptr;
    if (msg == WM_NOTIFY && lp) {
        HWND from = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
        source = FromHandle(from);
    } else if (msg == WM_COMMAND && lp) {
        source = FromHandle(reinterpret_cast<HWND>(lp));
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &Control::ParentProc, kParentSubclass);
    }
    // A parent that passes its children's notifications on (a panel) sends
    // them through here again; only the control's own parent reflects them.
    if (source && source->notifyParent_ == hwnd) {
        LRESULT result = 0;
        bool handled = false;
        try {
            handled = source->Reflected(msg, wp, lp, result);
        } catch (...) {
            ShowCurrentException(GetAncestor(hwnd, GA_ROOT));
            handled = false;
        }
        if (handled)
            return result;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace ui
