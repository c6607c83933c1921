#include "shview/fileview/shell_info_cache.h"

#include "idlist/idlist.h"

#include <cwchar>

namespace shview {
namespace {

struct IconPlace {
    std::wstring key;    // empty: the place does not identify the icon
    bool ofType = false; // the icon is the item's type's, not its own
};

// Where the folder says the item's icon is.
IconPlace IconPlaceOf(IShellFolder* folder, PCUITEMID_CHILD item)
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
    IconPlace place;
    place.key = location;
    place.key += L'|';
    place.key += std::to_wstring(index);
    place.key += L'|';
    place.key += std::to_wstring(flags);
    // An icon kept in the file itself (an icon or a program) is the file's own.
    place.ofType = !(flags & GIL_PERINSTANCE) &&
                   lstrcmpiW(location, idlist::IDListDisplayName(folder, item, SHGDN_FORPARSING).c_str()) != 0;
    return place;
}

} // namespace

int ShellInfoCache::IconIndex(IShellFolder* folder, PCUITEMID_CHILD item, PCIDLIST_ABSOLUTE absolute,
                              const std::wstring* extension)
{
    if (extension) {
        auto it = extensionIcons_.find(*extension);
        if (it != extensionIcons_.end())
            return it->second;
    }
    IconPlace place = folder && item ? IconPlaceOf(folder, item) : IconPlace{};
    int index = -1;
    if (auto it = icons_.find(place.key); !place.key.empty() && it != icons_.end()) {
        index = it->second;
    } else {
        index = idlist::IDListIconIndex(absolute, SHGFI_SYSICONINDEX);
        if (!place.key.empty())
            icons_.emplace(place.key, index);
    }
    if (extension && place.ofType)
        extensionIcons_.emplace(*extension, index);
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
