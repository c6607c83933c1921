// Shell item identifier lists: the process-wide shell allocator and desktop
// folder, owners for lists of each kind, and the operations every view and shell
// component uses to measure, walk, copy, combine, name and resolve them.
//
// "None" is a null pointer (or an empty owner); the empty list (a zero
// count only) is the desktop. Every list an operation returns is new and
// allocated through ShellMalloc(); IDListRest and IDListSkip alone point into
// their argument. The operations on lists alone (no folder object) may run
// on any thread, as a folder's reader does; the rest is the user-interface
// thread's.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/handles.h"

namespace idlist {

// ---- Process-wide shell objects -------------------------------------------

// The shell allocator and the desktop folder live from the first ShellModule
// to the end of the last one: the program's entry point (and every test
// fixture that touches the shell) holds one, so both are obtained before any
// list is made and released at the end, in a known order with OLE. Neither
// accessor depends on a ShellModule existing: if something asks before the
// first module (or after the last one ended), the objects are obtained there
// and then and kept until the next module ends, or the process ends. Their
// first use is safe from any thread at once; a thread still using the
// allocator when the last module ends is not: the program waits for its
// threads before that.
class ShellModule {
public:
    ShellModule() noexcept;
    ~ShellModule();
    ShellModule(const ShellModule&) = delete;
    ShellModule& operator=(const ShellModule&) = delete;
    // Both objects were had (SHGetMalloc, then SHGetDesktopFolder).
    static bool Ready() noexcept;
};

// The shell allocator, or null if the shell gave none. Not AddRef'd.
IMalloc* ShellMalloc() noexcept;
// The desktop folder, or null if the shell gave none. Not AddRef'd.
IShellFolder* DesktopFolder() noexcept;

// Test seam: while it lives, ShellMalloc() and DesktopFolder() answer the
// objects given (a null argument leaves that one as it was). Lists made
// through one allocator must be freed before it is swapped out.
class ScopedShellObjects {
public:
    ScopedShellObjects(IMalloc* malloc, IShellFolder* desktop) noexcept;
    ~ScopedShellObjects();
    ScopedShellObjects(const ScopedShellObjects&) = delete;
    ScopedShellObjects& operator=(const ScopedShellObjects&) = delete;

private:
    IMalloc* oldMalloc_;
    IShellFolder* oldDesktop_;
};

// ---- Owners ---------------------------------------------------------------

// Frees a list through ShellMalloc(); none does nothing.
void IDListFree(ITEMIDLIST* list) noexcept;

template <class Item>
struct IDListTraits {
    static Item* Invalid() noexcept { return nullptr; }
    static bool Valid(Item* list) noexcept { return list != nullptr; }
    static void Close(Item* list) noexcept { IDListFree(list); }
};

// Owns one identifier list of one kind (absolute, relative or child) and
// frees it through ShellMalloc(); moves, never copies. A child or an absolute
// list moves into a relative owner, never the other way. Copy a list with
// IDListCopy.
template <class Item>
class BasicIDList : public ui::UniqueHandle<Item*, IDListTraits<Item>> {
    using Base = ui::UniqueHandle<Item*, IDListTraits<Item>>;

public:
    using Base::Base;
    BasicIDList() noexcept = default;
    BasicIDList(std::nullptr_t) noexcept {}
    template <class Other>
        requires(!std::is_same_v<Other, Item> && std::is_convertible_v<Other*, Item*>)
    BasicIDList(BasicIDList<Other>&& other) noexcept : Base(other.release())
    {
    }
    // Takes over a list the caller owns (from the shell or a raw API).
    static BasicIDList Adopt(Item* list) noexcept { return BasicIDList(list); }
    // put() serves as the out-parameter of a call that hands over a list
    // (ParseDisplayName, IEnumIDList::Next, SHGetSpecialFolderLocation).
};

// A list that starts at the desktop.
using AbsoluteIDList = BasicIDList<ITEMIDLIST_ABSOLUTE>;
// A list of items below some folder (a packed item list is one).
using RelativeIDList = BasicIDList<ITEMIDLIST_RELATIVE>;
// One item of a folder: what its enumerator yields and what the views keep.
using ChildIDList = BasicIDList<ITEMID_CHILD>;

// ---- Kinds ----------------------------------------------------------------

// Where the kind of a list is known to the caller but not to the compiler (a
// position inside a packed list, an item kept in a control's lParam, a list
// built up to the desktop), these say so, in one place.

// A relative list the caller knows to hold one item.
inline PCUITEMID_CHILD IDListAsChild(PCUIDLIST_RELATIVE list) noexcept
{
    return static_cast<PCUITEMID_CHILD>(list);
}
// A relative list the caller knows to start at the desktop.
inline PCIDLIST_ABSOLUTE IDListAsAbsolute(PCUIDLIST_RELATIVE list) noexcept
{
    return static_cast<PCIDLIST_ABSOLUTE>(list);
}
// The same for owners: the list moves over unchanged.
inline ChildIDList IDListAsChild(RelativeIDList list) noexcept
{
    return ChildIDList::Adopt(static_cast<ITEMID_CHILD*>(list.release()));
}
inline AbsoluteIDList IDListAsAbsolute(RelativeIDList list) noexcept
{
    return AbsoluteIDList::Adopt(static_cast<ITEMIDLIST_ABSOLUTE*>(list.release()));
}

// ---- Operations -----------------------------------------------------------

namespace detail {
// `bytes` zero bytes from ShellMalloc(), or null; the caller owns them.
ITEMIDLIST* AllocZeroed(SIZE_T bytes) noexcept;
} // namespace detail

// `list` + the count of its first item, without any test of it. None: none.
PCUIDLIST_RELATIVE IDListSkip(PCUIDLIST_RELATIVE list) noexcept;
// Bytes of the list with its terminator: none 0, empty 2.
UINT IDListSize(const ITEMIDLIST* list) noexcept;
// Items before the terminator: none and empty 0.
UINT IDListCount(const ITEMIDLIST* list) noexcept;
// A block of `bytes` zero bytes from ShellMalloc(), owned as a list of the
// kind asked (relative unless said); none if it gives none.
template <class Item = ITEMIDLIST_RELATIVE>
BasicIDList<Item> IDListAlloc(SIZE_T bytes) noexcept
{
    return BasicIDList<Item>::Adopt(static_cast<Item*>(detail::AllocZeroed(bytes)));
}
// A copy of `list`, of the same kind; none gives none.
template <class Item>
BasicIDList<Item> IDListCopy(const Item* list) noexcept
{
    if (!list)
        return {};
    UINT size = IDListSize(list);
    BasicIDList<Item> copy = IDListAlloc<Item>(size);
    if (copy)
        std::memcpy(copy.get(), list, size);
    return copy;
}
// A one-item copy of the first item; empty gives empty, none gives none.
ChildIDList IDListFirst(PCUIDLIST_RELATIVE list) noexcept;
// p's items then q's items, either may be none (none and none: the empty
// list, the desktop). None only if the allocation fails.
AbsoluteIDList IDListCombine(PCIDLIST_ABSOLUTE p, PCUIDLIST_RELATIVE q) noexcept;
// The same for lists below one folder (packing items, joining children).
RelativeIDList IDListCombineRelative(PCUIDLIST_RELATIVE p, PCUIDLIST_RELATIVE q) noexcept;
// IDListCombine that consumes both inputs: they are freed whatever happens.
AbsoluteIDList IDListCombineFree(AbsoluteIDList p, RelativeIDList q) noexcept;
// IDListCombineRelative that consumes both inputs.
RelativeIDList IDListCombineRelativeFree(RelativeIDList p, RelativeIDList q) noexcept;
// The list after its first item, pointing into `list`; none when there is no
// second item (one-item or empty list) or `list` is none. Never free it.
PCUIDLIST_RELATIVE IDListRest(PCUIDLIST_RELATIVE list) noexcept;
// All items but the last; none for none, an empty and a one-item list (whose
// parent is the desktop: callers then use DesktopFolder() itself).
AbsoluteIDList IDListParent(PCIDLIST_ABSOLUTE list) noexcept;
// A one-item copy of the last item; empty gives empty, none gives none.
ChildIDList IDListLast(PCUIDLIST_RELATIVE list) noexcept;

// Order of two identifiers relative to `folder` by its first column: < 0 p
// first, 0 the same item, > 0 q first (the low 16 bits of CompareIDs' result
// as a signed number). -1 when the folder fails or anything is none.
int IDListCompare(IShellFolder* folder, PCUIDLIST_RELATIVE p, PCUIDLIST_RELATIVE q) noexcept;

// Name of `item` (a child of `folder`) for SHGDN_ `flags`. On failure `text`
// is empty and the result false.
bool IDListDisplayName(IShellFolder* folder, PCUITEMID_CHILD item, DWORD flags, std::wstring& text);
// The same, giving an empty text on failure.
std::wstring IDListDisplayName(IShellFolder* folder, PCUITEMID_CHILD item, DWORD flags);
// Name of an absolute identifier, asked of DesktopFolder() (the desktop names
// any list that starts at it).
bool IDListDisplayName(PCIDLIST_ABSOLUTE absolute, DWORD flags, std::wstring& text);
std::wstring IDListDisplayName(PCIDLIST_ABSOLUTE absolute, DWORD flags);

// System image list index of an absolute identifier for SHGFI_ `flags`
// (SHGFI_PIDL is added). 0 when the shell cannot say: -1 would read as
// I_IMAGECALLBACK to the tree and list views.
int IDListIconIndex(PCIDLIST_ABSOLUTE absolute, UINT flags) noexcept;

// The absolute identifier the desktop parses `path` into, or none. A text
// that starts with '/' gives none without reaching the shell (Wine's shell
// crashes on Unix paths).
AbsoluteIDList IDListFromPath(const std::wstring& path);

// The first of `names` that `folder` parses into one item of its own, as a
// one-item identifier; none if none does. `owner` owns any shell dialog.
ChildIDList IDListParseChild(IShellFolder* folder, HWND owner, const std::vector<std::wstring>& names);

// Binds the folder that holds the last item of `absolute`: on success `parent`
// is that folder and `last` a copy of the last item. A one-item identifier
// gives the desktop; the empty identifier gives the desktop and no item. None
// fails. On failure both results are none.
bool IDListBindParent(PCIDLIST_ABSOLUTE absolute, ui::ComPtr<IShellFolder>& parent, ChildIDList& last) noexcept;

// Resolves `paths` and packs their items into one list in order: `parent` is
// the first path's folder, taken for every path; later paths contribute only
// their last item. The item count is paths.size(). Fails, with both results
// none, if there is no path, a path does not resolve, the first cannot be
// bound, or a path names the desktop itself (it has no item to pack).
bool IDListPackPaths(const std::vector<std::wstring>& paths, ui::ComPtr<IShellFolder>& parent,
                     RelativeIDList& packed);

// Binds the folder named by an absolute identifier list (the empty list is
// the desktop itself); none on failure.
ui::ComPtr<IShellFolder> BindFolder(PCIDLIST_ABSOLUTE absolute) noexcept;

} // namespace idlist
