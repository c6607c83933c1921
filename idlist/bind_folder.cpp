#include "idlist/idlist.h"

namespace idlist {

ui::ComPtr<IShellFolder> BindFolder(PCIDLIST_ABSOLUTE absolute) noexcept
{
    IShellFolder* desktop = idlist::DesktopFolder();
    if (!desktop || !absolute)
        return nullptr;
    if (absolute->mkid.cb == 0)
        return ui::ComPtr<IShellFolder>::Share(desktop);
    ui::ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void())))
        return nullptr;
    return folder;
}

} // namespace idlist
