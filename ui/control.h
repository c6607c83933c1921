// Base of the wrappers around the system's controls (tree view, list view,
// combo box, tool bar). The control's window is subclassed: its messages reach
// WndProc, and the notifications it sends to its parent (WM_NOTIFY,
// WM_COMMAND) are reflected back to Reflected, whatever the parent is, once:
// at the parent the control was made under, not again at any window that
// parent passes them on to (a panel hands them to its own parent).
//
// Mouse and key events follow one rule, the one the views rely on: the
// control's own handling runs first, then the event is raised, then the
// derived class does its own work (override MouseDown/MouseUp, call the base
// first). List and tree controls swallow the button-up of a click while they
// watch for a drag; the click notification they send instead is turned into
// the mouse-up event, so OnMouseUp is raised for every click.
#pragma once
#include "ui/component.h"

#include <windows.h>
#include <commctrl.h>

namespace ui {

enum class MouseButton { Left, Right, Middle };

// True for a system edit box (an in-place rename's, a dialog's field, a combo
// box's edit part): its keys are its own, not the window's accelerators.
bool IsEditBox(HWND window) noexcept;

// Modifier keys and buttons held, as the MK_ flags of a mouse message.
struct ShiftState {
    bool shift = false, ctrl = false, alt = false;
    static ShiftState Now() noexcept;
};

class Control : public Component {
public:
    ~Control() override;

    HWND Handle() const noexcept { return hwnd_; }
    static Control* FromHandle(HWND hwnd) noexcept;

    void SetBounds(int x, int y, int width, int height) noexcept;
    void SetFont(HFONT font) noexcept; // not owned
    HFONT Font() const noexcept;
    void SetVisible(bool visible) noexcept;
    void SetFocus() noexcept;

    // Redrawing is suspended from the first BeginUpdate to the last EndUpdate.
    void BeginUpdate() noexcept;
    void EndUpdate() noexcept;

    Event<Control*, MouseButton, ShiftState, int, int> OnMouseDown;
    Event<Control*, MouseButton, ShiftState, int, int> OnMouseUp;
    Event<Control*> OnDblClick;
    Event<Control*> OnEnter;
    Event<Control*> OnExit;
    // The handler may clear the key (set it to 0) to keep the control from seeing it.
    Event<Control*, WORD&, ShiftState> OnKeyDown;
    Event<Control*, wchar_t&> OnKeyPress;

protected:
    Control() = default;
    // Creates the control's window as a child of `parent` and subclasses it.
    bool CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id = 0);

    // Messages of the control's window; the default gives them their usual handling.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp);
    // Notifications the control sent to its parent. Answer true to consume one
    // (with `result` as the parent's answer); false lets the parent see it too.
    // Overrides call the base first: it notes the clicks that end a press.
    virtual bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // Notifications from `helper` (a window the control made, such as its tool
    // tip) reach this control's Reflected as if the control had sent them.
    void AdoptNotifications(HWND helper) noexcept;

    // While paused, nothing this control (or a sibling) sends its parent is
    // reflected: each reflected notification costs the parent's subclass
    // chain a round of window-property look-ups, which adds up over thousands
    // of inserted items. Pairs; no message loop may run in between.
    void PauseReflection() noexcept;
    void ResumeReflection() noexcept;

    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void DblClick();

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void ButtonDown(MouseButton button, WPARAM wp, LPARAM lp, UINT msg);

    HWND hwnd_ = nullptr;
    // The window whose subclass reflects this control's notifications.
    HWND notifyParent_ = nullptr;
    int updateCount_ = 0;
    // A press the control is still handling (it may swallow the button-up).
    bool pressing_ = false;
    MouseButton pressButton_ = MouseButton::Left;
    bool clickDuringPress_ = false;
    bool swallowUp_ = false;
};

// Suspends a control's redrawing for a scope, also when the scope throws.
class RedrawOff {
public:
    explicit RedrawOff(Control& control) noexcept : control_(control) { control_.BeginUpdate(); }
    ~RedrawOff() { control_.EndUpdate(); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    Control& control_;
};

} // namespace ui
