#include "shell/menu_messages.h"

#include "ui/handles.h"

namespace shell {

bool IsMenuMessage(UINT msg, WPARAM, LPARAM lp) noexcept
{
    switch (msg) {
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        return true;
    case WM_DRAWITEM:
        return lp && reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->CtlType == ODT_MENU;
    case WM_MEASUREITEM:
        return lp && reinterpret_cast<const MEASUREITEMSTRUCT*>(lp)->CtlType == ODT_MENU;
    default:
        return false;
    }
}

ui::MessageFilter ShellMenuMessages(IContextMenu* handler)
{
    if (!handler)
        return {};
    ui::ComPtr<IContextMenu3> third;
    if (SUCCEEDED(handler->QueryInterface(IID_IContextMenu3, third.put_void())) && third) {
        return [third](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
            if (!IsMenuMessage(msg, wp, lp))
                return false;
            LRESULT answer = 0;
            if (FAILED(third->HandleMenuMsg2(msg, wp, lp, &answer)))
                return false;
            result = answer;
            return true;
        };
    }
    ui::ComPtr<IContextMenu2> second;
    if (SUCCEEDED(handler->QueryInterface(IID_IContextMenu2, second.put_void())) && second) {
        return [second](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
            // HandleMenuMsg has no answer to give for WM_MENUCHAR.
            if (msg == WM_MENUCHAR || !IsMenuMessage(msg, wp, lp))
                return false;
            if (FAILED(second->HandleMenuMsg(msg, wp, lp)))
                return false;
            // A handled item is drawn or measured; WM_INITMENUPOPUP answers 0.
            result = msg == WM_INITMENUPOPUP ? 0 : TRUE;
            return true;
        };
    }
    return {};
}

} // namespace shell
