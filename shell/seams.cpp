#include "shell/seams.h"

#include "shview/idlist/idlist.h"

namespace shell {

ui::ComPtr<IShellFolder> BindFolder(PCIDLIST_ABSOLUTE absolute) noexcept
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
