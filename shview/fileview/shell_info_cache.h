// Icons and type names of the items of one fill. SHGetFileInfo on an item's
// identifier binds the item's folder from the desktop on every call, which
// costs milliseconds an item (under Wine about 7 ms: 70 s for a folder of
// 10,000 files). Items that share an icon location or a file extension share
// the answer, so the shell is asked once per kind of item instead.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <unordered_map>

namespace shview {

class ShellInfoCache {
public:
    // System image index of `item` of `folder` (`absolute` names the same
    // item): SHGetFileInfo's answer for the first item whose icon the folder
    // places at the same location, reused for the others. `extension` is
    // given for plain files: once a file of that extension has an icon its
    // type gives (not one of its own, nor one per file), the other files of
    // the extension take it without asking.
    int IconIndex(IShellFolder* folder, PCUITEMID_CHILD item, PCIDLIST_ABSOLUTE absolute,
                  const std::wstring* extension = nullptr);

    // Type name of the item `absolute` names; `extension` is given for
    // file-system files (not folders), whose type follows their extension,
    // and null for every other item, which is always asked for.
    std::wstring TypeName(PCIDLIST_ABSOLUTE absolute, const std::wstring* extension);

private:
    std::unordered_map<std::wstring, int> icons_;
    std::unordered_map<std::wstring, int> extensionIcons_;
    std::unordered_map<std::wstring, std::wstring> types_;
};

} // namespace shview
