// A folder of made-up items, for the paths Wine's shell cannot show: its
// context menus record every command they are asked to run (a Send To
// sub-menu, a paste item, a failing command), and its other answers (names,
// parsing, binding, comparing) are what a test sets, with every question
// recorded. Lives on the test's stack.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "idlist/idlist.h"
#include "ui/com_object.h"

namespace testsupport {

// One entry a fake menu handler puts into the menu it is given.
struct MenuEntry {
    enum Kind { String,
                Submenu,
                Separator } kind = String;
    std::wstring caption;
    UINT offset = 0;   // command id = first id + offset (String only)
    UINT state = 0;    // MFS_ flags
    std::wstring verb; // what GetCommandString answers for it (String only)
};

// What a fake menu handler was asked to run.
struct Invocation {
    std::vector<int> items; // indexes of the items the handler was made for
    UINT verb = 0;
    bool integerVerb = false;
    DWORD cbSize = 0;
    DWORD fMask = ~0u;
    HWND hwnd = nullptr;
    int nShow = 0;
};

// Items are numbered 0, 1, ...; each identifier carries its number.
class FakeFolder final : public ui::ComObject<IShellFolder> {
public:
    explicit FakeFolder(int itemCount = 0) : itemCount(itemCount) {}
    ~FakeFolder() override = default;

    int itemCount;                  // what EnumObjects yields
    std::vector<MenuEntry> menu;    // what each menu handler adds
    HRESULT queryResult = S_OK;     // QueryContextMenu's answer
    HRESULT invokeResult = S_OK;    // InvokeCommand's answer
    SFGAOF attributes = 0x40400177; // a plain file's, as Wine gives them
    HRESULT attributesResult = S_OK;
    HRESULT enumResult = S_OK;
    // The menu handlers answer for IContextMenu up to IContextMenu<menuLevel>
    // and record each menu message they are handed (with the level of the
    // method that took it).
    int menuLevel = 1;
    HRESULT menuMessageResult = S_OK;
    LRESULT menuMessageAnswer = 0;
    struct MenuMessage {
        UINT msg;
        int level;
        bool operator==(const MenuMessage&) const = default;
    };
    std::vector<MenuMessage> menuMessages;
    // Takes every pop-up it is told opens for one of its own and appends
    // FilledCaption to it, as the shell fills its Send To and New sub-menus.
    bool fillsPopups = false;
    static constexpr const wchar_t* FilledCaption = L"(シェルの項目)";
    // Recorded.
    std::vector<Invocation> invoked;
    std::vector<std::vector<int>> menusMade;
    int queries = 0;
    UINT lastQueryFirst = 0, lastQueryLast = 0, lastQueryFlags = 0;
    // CompareIDs
    HRESULT compareResult = E_FAIL;
    int compareCalls = 0;
    LPARAM lastCompareParam = -1;
    // GetDisplayNameOf: when set, fills the answer and returns the result
    // (else items are named by NameOf).
    std::function<HRESULT(PCUITEMID_CHILD, SHGDNF, STRRET*)> displayName;
    PCUITEMID_CHILD lastNamed = nullptr;
    // ParseDisplayName: answers with a one-item list through ShellMalloc.
    HRESULT parseResult = S_OK;
    std::vector<std::wstring> parsed;
    // BindToObject: answers this folder itself.
    HRESULT bindResult = E_FAIL;
    std::vector<std::vector<BYTE>> bound; // the identifiers it was given

    static idlist::ChildIDList Item(int number);
    // A packed list of the items numbered `numbers`, in order.
    static idlist::RelativeIDList Packed(const std::vector<int>& numbers);
    static int NumberOf(PCUITEMID_CHILD item);
    static std::wstring NameOf(int number);

    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten,
                                               PIDLIST_RELATIVE* pidl, ULONG* attributes) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF flags, IEnumIDList** out) override;
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx*, REFIID, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override
    {
        ++compareCalls;
        lastCompareParam = lParam;
        return compareResult;
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY, SFGAOF* inOut) override;
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID iid, UINT*,
                                            void** out) override;
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF, STRRET* name) override;
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override
    {
        return E_NOTIMPL;
    }

protected:
    void Destroy() noexcept override {}
};

// Menu entries as a Japanese shell writes them.
MenuEntry Command(std::wstring caption, UINT offset, UINT state = 0);
MenuEntry SendToSubmenu(std::wstring caption = L"送る(&N)");
MenuEntry Separator(std::wstring caption = L"");
// A command with a verb, as the shell's own commands have.
MenuEntry VerbCommand(std::wstring caption, UINT offset, std::wstring verb);

// Builds a menu of entries (a sub-menu gets one placeholder item).
HMENU BuildMenu(const std::vector<MenuEntry>& entries, UINT firstId = 1);

// Bytes a list of items with the given counts takes, with its terminator.
std::size_t ListBytes(const std::vector<USHORT>& counts);
// Writes items with the given counts into `list` (ListBytes(counts) zero
// bytes); item i's payload bytes are all `i + 1 + seed`.
void WriteItems(ITEMIDLIST* list, const std::vector<USHORT>& counts, BYTE seed);

// A list made through IDListAlloc of items with the given counts, of the
// kind asked (relative unless said); item i's payload bytes are all
// `i + 1 + seed`.
template <class Item = ITEMIDLIST_RELATIVE>
idlist::BasicIDList<Item> MakeList(const std::vector<USHORT>& counts, BYTE seed = 0)
{
    idlist::BasicIDList<Item> list = idlist::IDListAlloc<Item>(ListBytes(counts));
    if (list)
        WriteItems(list.get(), counts, seed);
    return list;
}
// The bytes of a list up to and including its terminator.
std::vector<BYTE> BytesOf(const ITEMIDLIST* list);

} // namespace testsupport
