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

bool IsAboutOwnSubmenu(UINT msg, WPARAM wp, LPARAM lp, const OwnSubmenu& own) noexcept
{
    auto ownId = [&own](UINT id) { return own.firstId <= id && id <= own.lastId; };
    switch (msg) {
    case WM_INITMENUPOPUP:
        return own.menu && reinterpret_cast<HMENU>(wp) == own.menu;
    case WM_MENUCHAR:
        return own.menu && reinterpret_cast<HMENU>(lp) == own.menu;
    case WM_DRAWITEM: {
        // A menu's item names its menu where a control's names its window.
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        return draw && draw->CtlType == ODT_MENU &&
               ((own.menu && reinterpret_cast<HMENU>(draw->hwndItem) == own.menu) || ownId(draw->itemID));
    }
    case WM_MEASUREITEM: {
        const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
        return measure && measure->CtlType == ODT_MENU && ownId(measure->itemID);
    }
    default:
        return false;
    }
}

ui::MessageFilter ShellMenuMessages(IContextMenu* handler, OwnSubmenu own)
{
    if (!handler)
        return {};
    ui::ComPtr<IContextMenu3> third;
    if (SUCCEEDED(handler->QueryInterface(IID_IContextMenu3, third.put_void())) && third) {
        return [third, own](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
            if (!IsMenuMessage(msg, wp, lp) || IsAboutOwnSubmenu(msg, wp, lp, own))
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
        return [second, own](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
            // HandleMenuMsg has no answer to give for WM_MENUCHAR.
            if (msg == WM_MENUCHAR || !IsMenuMessage(msg, wp, lp) || IsAboutOwnSubmenu(msg, wp, lp, own))
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
