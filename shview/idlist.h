// Shell item identifier lists: the process-wide shell allocator and desktop
// folder, an owner for lists, and the operations every view and shell
// component uses to measure, walk, copy, combine, name and resolve them.
//
// "None" is a null pointer (or an empty IDList); the empty list (a zero
// count only) is the desktop. Every list an operation returns is new and
// allocated through ShellMalloc(); IDListRest and IDListSkip alone point into
// their argument. User-interface thread only.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "ui/handles.h"

namespace shview {

// ---- Process-wide shell objects -------------------------------------------

// The shell allocator and the desktop folder live from the first ShellModule
// to the end of the last one: the program's entry point (and every test
// fixture that touches the shell) holds one, so both are obtained before any
// list is made and released at the end, in a known order with OLE. Neither
// accessor depends on a ShellModule existing: if something asks before the
// first module (or after the last one ended), the objects are obtained there
// and then and kept until the next module ends, or the process ends.
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

// ---- Owner ----------------------------------------------------------------

// Owns one identifier list and frees it through ShellMalloc(); moves, never
// copies. Copy a list with IDListCombine(list.get(), nullptr).
struct IDListTraits {
    static ITEMIDLIST* Invalid() noexcept { return nullptr; }
    static bool Valid(ITEMIDLIST* list) noexcept { return list != nullptr; }
    static void Close(ITEMIDLIST* list) noexcept; // IDListFree
};

class IDList : public ui::UniqueHandle<ITEMIDLIST*, IDListTraits> {
public:
    using UniqueHandle::UniqueHandle;
    IDList() noexcept = default;
    IDList(std::nullptr_t) noexcept {}
    // Takes over a list the caller owns (from the shell or a raw API).
    static IDList Adopt(ITEMIDLIST* list) noexcept { return IDList(list); }
    // put() serves as the out-parameter of a call that hands over a list
    // (ParseDisplayName, IEnumIDList::Next, SHGetSpecialFolderLocation).
};

// ---- Operations -----------------------------------------------------------

// `list` + the count of its first item, without any test of it. None: none.
const ITEMIDLIST* IDListSkip(const ITEMIDLIST* list) noexcept;
// Bytes of the list with its terminator: none 0, empty 2.
UINT IDListSize(const ITEMIDLIST* list) noexcept;
// Items before the terminator: none and empty 0.
UINT IDListCount(const ITEMIDLIST* list) noexcept;
// A block of `bytes` zero bytes from ShellMalloc(); none if it gives none.
IDList IDListAlloc(SIZE_T bytes) noexcept;
// A one-item copy of the first item; empty gives empty, none gives none.
IDList IDListFirst(const ITEMIDLIST* list) noexcept;
// p's items then q's items, either may be none (none and none: empty).
// None only if the allocation fails.
IDList IDListCombine(const ITEMIDLIST* p, const ITEMIDLIST* q) noexcept;
// IDListCombine that consumes both inputs: they are freed whatever happens.
IDList IDListCombineFree(IDList p, IDList q) noexcept;
// Frees a list through ShellMalloc(); none does nothing.
void IDListFree(ITEMIDLIST* list) noexcept;
// The list after its first item, pointing into `list`; none when there is no
// second item (one-item or empty list) or `list` is none. Never free it.
const ITEMIDLIST* IDListRest(const ITEMIDLIST* list) noexcept;
// All items but the last; none for none, an empty and a one-item list (whose
// parent is the desktop: callers then use DesktopFolder() itself).
IDList IDListParent(const ITEMIDLIST* list) noexcept;
// A one-item copy of the last item; empty gives empty, none gives none.
IDList IDListLast(const ITEMIDLIST* list) noexcept;

// Order of two identifiers relative to `folder` by its first column: < 0 p
// first, 0 the same item, > 0 q first (the low 16 bits of CompareIDs' result
// as a signed number). -1 when the folder fails or anything is none.
int IDListCompare(IShellFolder* folder, const ITEMIDLIST* p, const ITEMIDLIST* q) noexcept;

// Name of `item` (relative to `folder`) for SHGDN_ `flags`. On failure `text`
// is empty and the result false.
bool IDListDisplayName(IShellFolder* folder, const ITEMIDLIST* item, DWORD flags, std::wstring& text);
// The same, giving an empty text on failure.
std::wstring IDListDisplayName(IShellFolder* folder, const ITEMIDLIST* item, DWORD flags);

// System image list index of an absolute identifier for SHGFI_ `flags`
// (SHGFI_PIDL is added). 0 when the shell cannot say: -1 would read as
// I_IMAGECALLBACK to the tree and list views.
int IDListIconIndex(const ITEMIDLIST* absolute, UINT flags) noexcept;

// The absolute identifier the desktop parses `path` into, or none. A text
// that starts with '/' gives none without reaching the shell (Wine's shell
// crashes on Unix paths).
IDList IDListFromPath(const std::wstring& path);

// The first of `names` that `folder` parses into one item of its own, as a
// one-item identifier; none if none does. `owner` owns any shell dialog.
IDList IDListParseChild(IShellFolder* folder, HWND owner, const std::vector<std::wstring>& names);

// Binds the folder that holds the last item of `absolute`: on success `parent`
// is that folder and `last` a copy of the last item. A one-item identifier
// gives the desktop; the empty identifier gives the desktop and no item. None
// fails. On failure both results are none.
bool IDListBindParent(const ITEMIDLIST* absolute, ui::ComPtr<IShellFolder>& parent, IDList& last) noexcept;

// Resolves `paths` and packs their items into one list in order: `parent` is
// the first path's folder, taken for every path; later paths contribute only
// their last item. The item count is paths.size(). Fails, with both results
// none, if there is no path, a path does not resolve, the first cannot be
// bound, or a path names the desktop itself (it has no item to pack).
bool IDListPackPaths(const std::vector<std::wstring>& paths, ui::ComPtr<IShellFolder>& parent,
                     IDList& packed);

} // namespace shview
