// The identifier operations that ask the shell: ordering, names, icons,
// parsing paths, binding parents and packing several paths into one list.
#include "idlist/idlist.h"

#include <cstring>

#include "idlist/idlist_bytes.h"
#include "ui/text.h"

namespace idlist {
namespace {

// A kind no folder answers, so a folder that reports success without filling
// the answer in reads as a failure rather than as an empty name.
constexpr UINT NoAnswer = 0xFFFFFFFF;

std::wstring FromSystemCodePage(const char* text, std::size_t length)
{
    return ui::FromCodePage(std::string_view(text, length), CP_ACP);
}

// A string the folder allocated for its answer, freed through the shell allocator.
struct ShellString {
    wchar_t* text;
    ~ShellString()
    {
        if (text)
            if (IMalloc* malloc = ShellMalloc())
                malloc->Free(text);
    }
};

bool TextOfAnswer(STRRET& answer, const ITEMIDLIST* item, std::wstring& text)
{
    switch (answer.uType) {
    case STRRET_WSTR: {
        ShellString owned{answer.pOleStr};
        if (owned.text)
            text = owned.text;
        return true;
    }
    case STRRET_OFFSET: {
        // The string lies inside the identifier we were given; it can end no
        // later than that identifier's terminator.
        std::size_t size = IDListSize(item);
        if (answer.uOffset >= size)
            return false;
        const char* start = reinterpret_cast<const char*>(item) + answer.uOffset;
        text = FromSystemCodePage(start, strnlen(start, size - answer.uOffset));
        return true;
    }
    case STRRET_CSTR:
        text = FromSystemCodePage(answer.cStr, strnlen(answer.cStr, sizeof answer.cStr));
        return true;
    default:
        return false;
    }
}

} // namespace

int IDListCompare(IShellFolder* folder, PCUIDLIST_RELATIVE p, PCUIDLIST_RELATIVE q) noexcept
{
    if (!folder || !p || !q)
        return -1;
    HRESULT hr = folder->CompareIDs(0, p, q);
    if (FAILED(hr))
        return -1;
    return short(USHORT(hr & 0xFFFF));
}

bool IDListDisplayName(IShellFolder* folder, PCUITEMID_CHILD item, DWORD flags, std::wstring& text)
{
    text.clear();
    if (!folder || !item)
        return false;
    STRRET answer{};
    answer.uType = NoAnswer;
    if (folder->GetDisplayNameOf(item, flags, &answer) != S_OK)
        return false;
    if (!TextOfAnswer(answer, item, text)) {
        text.clear();
        return false;
    }
    return true;
}

std::wstring IDListDisplayName(IShellFolder* folder, PCUITEMID_CHILD item, DWORD flags)
{
    std::wstring text;
    IDListDisplayName(folder, item, flags, text);
    return text;
}

bool IDListDisplayName(PCIDLIST_ABSOLUTE absolute, DWORD flags, std::wstring& text)
{
    // GetDisplayNameOf is declared for children, but the desktop names every
    // list below it, however deep.
    return IDListDisplayName(DesktopFolder(), static_cast<PCUITEMID_CHILD>(static_cast<PCUIDLIST_RELATIVE>(absolute)),
                             flags, text);
}

std::wstring IDListDisplayName(PCIDLIST_ABSOLUTE absolute, DWORD flags)
{
    std::wstring text;
    IDListDisplayName(absolute, flags, text);
    return text;
}

int IDListIconIndex(PCIDLIST_ABSOLUTE absolute, UINT flags) noexcept
{
    if (!absolute)
        return 0;
    SHFILEINFOW info{};
    DWORD_PTR result = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof info,
                                      flags | SHGFI_PIDL);
    if (info.hIcon)
        DestroyIcon(info.hIcon);
    if (!result || info.iIcon < 0)
        return 0;
    return info.iIcon;
}

AbsoluteIDList IDListFromPath(const std::wstring& path)
{
    if (!path.empty() && path.front() == L'/')
        return {};
    IShellFolder* desktop = DesktopFolder();
    if (!desktop)
        return {};
    std::wstring text = path; // ParseDisplayName wants a writable string.
    ULONG eaten = 0;
    RelativeIDList list;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, text.data(), &eaten, list.put(), nullptr)))
        list.reset();
    // What the desktop parses is relative to the desktop: absolute.
    return IDListAsAbsolute(std::move(list));
}

ChildIDList IDListParseChild(IShellFolder* folder, HWND owner, const std::vector<std::wstring>& names)
{
    if (!folder)
        return {};
    for (std::wstring name : names) {
        ULONG eaten = 0;
        RelativeIDList id;
        HRESULT hr = folder->ParseDisplayName(owner, nullptr, name.data(), &eaten, id.put(), nullptr);
        // One item of this folder, nothing deeper.
        if (SUCCEEDED(hr) && id && IDListCount(id.get()) == 1)
            return IDListAsChild(std::move(id));
    }
    return {};
}

bool IDListBindParent(PCIDLIST_ABSOLUTE absolute, ui::ComPtr<IShellFolder>& parent, ChildIDList& last) noexcept
{
    parent.reset();
    last.reset();
    IShellFolder* desktop = DesktopFolder();
    if (!absolute || !desktop)
        return false;
    ui::ComPtr<IShellFolder> current = ui::ComPtr<IShellFolder>::Share(desktop);
    PCUIDLIST_RELATIVE item = absolute;
    UINT count = IDListCount(absolute);
    for (UINT i = 0; i + 1 < count; ++i) {
        ChildIDList step = IDListFirst(item);
        if (!step)
            return false;
        ui::ComPtr<IShellFolder> next;
        HRESULT hr = current->BindToObject(step.get(), nullptr, IID_IShellFolder, next.put_void());
        if (FAILED(hr) || !next)
            return false;
        current = std::move(next);
        item = IDListRest(item);
    }
    if (count > 0) {
        last = IDListFirst(item);
        if (!last)
            return false;
    }
    parent = std::move(current);
    return true;
}

bool IDListPackPaths(const std::vector<std::wstring>& paths, ui::ComPtr<IShellFolder>& parent,
                     RelativeIDList& packed)
{
    parent.reset();
    packed.reset();
    ui::ComPtr<IShellFolder> folder;
    RelativeIDList result;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        AbsoluteIDList absolute = IDListFromPath(paths[i]);
        if (!absolute)
            return false;
        ChildIDList item;
        if (i == 0) {
            if (!IDListBindParent(absolute.get(), folder, item))
                return false;
        } else {
            item = IDListLast(absolute.get());
        }
        // The desktop's empty identifier is no item of any folder: packing it
        // would leave fewer items in the list than paths counted.
        if (!item || IDListCount(item.get()) == 0)
            return false;
        result = IDListCombineRelativeFree(std::move(result), std::move(item));
        if (!result)
            return false;
    }
    if (!result)
        return false;
    parent = std::move(folder);
    packed = std::move(result);
    return true;
}

} // namespace idlist
