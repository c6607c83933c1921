#include "shell/DropSourceEx.h"

#include "shell/DropSourceObject.h"
#include "shell/item_copies.h"
#include "ui/seams.h"
#include "idlist/idlist.h"
#include "ui/handles.h"

void TDropSourceEx::DragFile(HWND window, const std::wstring& path)
{
    if (!window)
        return;
    DSFileName.assign(1, path);
    DragFileNames(window);
}

void TDropSourceEx::DragFileNames(HWND window)
{
    if (!window || !idlist::ShellMalloc())
        return;
    if (DSFileName.empty() || DSFileName.size() > static_cast<std::size_t>(shell::kMaxItems))
        return;
    ui::ComPtr<IShellFolder> parent;
    idlist::RelativeIDList packed;
    if (!idlist::IDListPackPaths(DSFileName, parent, packed))
        return;
    DragItems(window, parent.get(), static_cast<int>(DSFileName.size()), packed.get());
}

void TDropSourceEx::DragItems(HWND window, IShellFolder* folder, int count, PCUIDLIST_RELATIVE items)
{
    if (!window || !folder || !items || !idlist::ShellMalloc())
        return;
    shell::ItemCopies copies;
    if (!copies.Split(items, count))
        return;
    ui::ComPtr<IDataObject> data;
    if (FAILED(folder->GetUIObjectOf(window, copies.Count(), copies.Array(), IID_IDataObject, nullptr,
                                     data.put_void())) ||
        !data)
        return;
    auto source = ui::ComPtr<IDropSource>::Attach(new TDropSourceObject);
    DWORD effect = DROPEFFECT_NONE;
    if (auto& drag = ui::CurrentSeams().doDragDrop)
        drag(data.get(), source.get(), DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
}
