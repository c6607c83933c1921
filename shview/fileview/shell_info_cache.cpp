#include "shview/fileview/shell_info_cache.h"

#include "idlist/idlist.h"

#include <cwchar>

namespace shview {
namespace {

// Where the folder says the item's icon is; empty when it cannot say or the
// place is not one that identifies the icon.
std::wstring IconKey(IShellFolder* folder, PCUITEMID_CHILD item)
{
    PCUITEMID_CHILD items[] = {item};
    ui::ComPtr<IExtractIconW> extract;
    if (FAILED(folder->GetUIObjectOf(nullptr, 1, items, IID_IExtractIconW, nullptr, extract.put_void())) ||
        !extract)
        return {};
    wchar_t location[MAX_PATH] = L"";
    int index = 0;
    UINT flags = 0;
    if (extract->GetIconLocation(GIL_FORSHELL, location, MAX_PATH, &index, &flags) != S_OK || !location[0] ||
        (flags & (GIL_NOTFILENAME | GIL_DONTCACHE)))
        return {};
    // A location that fills the buffer may have been cut short: two files of
    // one deep folder would share a key, and the second the first's icon.
    if (wcsnlen(location, MAX_PATH) >= MAX_PATH - 1)
        return {};
    std::wstring key = location;
    key += L'|';
    key += std::to_wstring(index);
    key += L'|';
    key += std::to_wstring(flags);
    return key;
}

} // namespace

int ShellInfoCache::IconIndex(IShellFolder* folder, PCUITEMID_CHILD item, PCIDLIST_ABSOLUTE absolute)
{
    std::wstring key = folder && item ? IconKey(folder, item) : std::wstring{};
    if (!key.empty()) {
        auto it = icons_.find(key);
        if (it != icons_.end())
            return it->second;
    }
    int index = idlist::IDListIconIndex(absolute, SHGFI_SYSICONINDEX);
    if (!key.empty())
        icons_.emplace(std::move(key), index);
    return index;
}

std::wstring ShellInfoCache::TypeName(PCIDLIST_ABSOLUTE absolute, const std::wstring* extension)
{
    if (extension) {
        auto it = types_.find(*extension);
        if (it != types_.end())
            return it->second;
    }
    SHFILEINFOW info{};
    std::wstring type;
    if (absolute &&
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof info, SHGFI_TYPENAME | SHGFI_PIDL))
        type = info.szTypeName;
    if (extension)
        types_.emplace(*extension, type);
    return type;
}

} // namespace shview
