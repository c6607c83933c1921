// Modal dialogs from the resource script's templates.
#pragma once
#include "ui/component.h"

#include <windows.h>

namespace ui {

class Dialog : public Component {
public:
    // Shows the dialog and returns the code it ended with (-1 if it could not be shown).
    INT_PTR ShowModal(HWND owner, int templateId);
    HWND Handle() const noexcept { return hwnd_; }
    void End(INT_PTR code) noexcept { EndDialog(hwnd_, code); }

protected:
    // Answer false to keep the focus where the handler put it.
    virtual bool OnInitDialog() { return true; }
    // A command from a control; the default ends the dialog on IDOK and IDCANCEL.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

} // namespace ui
