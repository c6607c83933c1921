// Thin wrapper of the system's combo box.
#pragma once
#include "ui/control.h"

#include <string>

namespace ui {

class ComboBox : public Control {
public:
    bool Create(HWND parent, DWORD style, int id = 0)
    {
        return CreateControl(WC_COMBOBOXW, style | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, 0, parent, id);
    }
    int Add(const std::wstring& text, LPARAM data = 0) noexcept
    {
        int i = int(SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
        if (i >= 0)
            SendMessageW(Handle(), CB_SETITEMDATA, i, data);
        return i;
    }
    int Count() const noexcept { return int(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }
    int Current() const noexcept { return int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }
    void SetCurrent(int i) noexcept { SendMessageW(Handle(), CB_SETCURSEL, i, 0); }
    LPARAM Data(int i) const noexcept { return SendMessageW(Handle(), CB_GETITEMDATA, i, 0); }
    void Clear() noexcept { SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }
};

} // namespace ui
