#include "shell/seams.h"

#include "shview/idlist/idlist.h"

namespace shell {
namespace {

ui::ComPtr<IShellFolder> SystemSendToFolder(HWND owner)
{
    shview::IDList location;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_SENDTO, location.put())) || !location)
        return nullptr;
    return BindFolder(location.get());
}

Seams MakeSystemSeams()
{
    Seams s;
    s.messageBox = [](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
        return MessageBoxW(owner, text, caption, type);
    };
    s.trackMenu = [](HMENU menu, UINT flags, POINT at, HWND owner) {
        return static_cast<UINT>(TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr));
    };
    s.sendToFolder = &SystemSendToFolder;
    s.doDragDrop = [](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
        return DoDragDrop(data, source, allowed, effect);
    };
    return s;
}

} // namespace

Seams& CurrentSeams()
{
    static Seams seams = MakeSystemSeams();
    return seams;
}

ui::ComPtr<IShellFolder> BindFolder(const ITEMIDLIST* absolute) noexcept
{
    IShellFolder* desktop = shview::DesktopFolder();
    if (!desktop || !absolute)
        return nullptr;
    if (absolute->mkid.cb == 0)
        return ui::ComPtr<IShellFolder>::Share(desktop);
    ui::ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void())))
        return nullptr;
    return folder;
}

} // namespace shell
