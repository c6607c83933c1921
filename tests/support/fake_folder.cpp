#include "tests/support/fake_folder.h"

#include <cstring>

namespace testsupport {
namespace {

constexpr USHORT ItemBytes = 2 + sizeof(int) + 2; // count, number, tag
constexpr USHORT Tag = 0x5A17;
constexpr UINT PlaceholderOffset = 0x7000;

void AddEntries(HMENU menu, const std::vector<MenuEntry>& entries, UINT firstId)
{
    for (const auto& e : entries) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_ID;
        info.fState = e.state;
        info.dwTypeData = const_cast<wchar_t*>(e.caption.c_str());
        switch (e.kind) {
        case MenuEntry::String:
            info.fType = MFT_STRING;
            info.wID = firstId + e.offset;
            break;
        case MenuEntry::Separator:
            // A separator with text: only its type keeps it from matching.
            info.fType = MFT_SEPARATOR;
            info.wID = 0;
            break;
        case MenuEntry::Submenu: {
            HMENU sub = CreatePopupMenu();
            AppendMenuW(sub, MF_STRING, firstId + PlaceholderOffset, L"(なし)");
            info.fMask |= MIIM_SUBMENU;
            info.fType = MFT_STRING;
            info.hSubMenu = sub;
            info.wID = 0;
            break;
        }
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
}

class FakeEnum final : public ui::ComObject<IEnumIDList> {
public:
    explicit FakeEnum(int count) : count_(count) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, PITEMID_CHILD* out, ULONG* fetched) override
    {
        ULONG n = 0;
        while (n < wanted && next_ < count_)
            out[n++] = FakeFolder::Item(next_++).release();
        if (fetched)
            *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override
    {
        next_ += static_cast<int>(n);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList**) override { return E_NOTIMPL; }

private:
    int count_;
    int next_ = 0;
};

class RecordingMenu final : public ui::ComObject<IContextMenu3> {
public:
    RecordingMenu(FakeFolder& folder, std::vector<int> items) : folder_(folder), items_(std::move(items)) {}

protected:
    // IContextMenu3 answers for its bases up to the folder's menu level.
    void* Find(REFIID iid) noexcept override
    {
        if (IsEqualIID(iid, IID_IContextMenu) || (IsEqualIID(iid, IID_IContextMenu2) && folder_.menuLevel >= 2) ||
            (IsEqualIID(iid, IID_IContextMenu3) && folder_.menuLevel >= 3) || IsEqualIID(iid, IID_IUnknown))
            return static_cast<IContextMenu3*>(this);
        return nullptr;
    }

public:
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT, UINT first, UINT last, UINT flags) override
    {
        ++folder_.queries;
        folder_.lastQueryFirst = first;
        folder_.lastQueryLast = last;
        folder_.lastQueryFlags = flags;
        if (FAILED(folder_.queryResult))
            return folder_.queryResult;
        AddEntries(menu, folder_.menu, first);
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, PlaceholderOffset + 1);
    }
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        Invocation call;
        call.items = items_;
        call.cbSize = info->cbSize;
        call.fMask = info->fMask;
        call.hwnd = info->hwnd;
        call.nShow = info->nShow;
        call.integerVerb = IS_INTRESOURCE(info->lpVerb);
        call.verb = call.integerVerb ? LOWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb)) : ~0u;
        folder_.invoked.push_back(call);
        return folder_.invokeResult;
    }
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT*, LPSTR out, UINT size) override
    {
        for (const MenuEntry& e : folder_.menu) {
            if (e.kind != MenuEntry::String || e.offset != offset || e.verb.empty())
                continue;
            if (type != GCS_VERBW || !out || size <= e.verb.size())
                return E_INVALIDARG;
            std::memcpy(out, e.verb.c_str(), (e.verb.size() + 1) * sizeof(wchar_t));
            return S_OK;
        }
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT msg, WPARAM wp, LPARAM) override
    {
        folder_.menuMessages.push_back({msg, 2});
        Fill(msg, wp);
        return folder_.menuMessageResult;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT msg, WPARAM wp, LPARAM, LRESULT* answer) override
    {
        folder_.menuMessages.push_back({msg, 3});
        Fill(msg, wp);
        if (answer)
            *answer = folder_.menuMessageAnswer;
        return folder_.menuMessageResult;
    }

private:
    void Fill(UINT msg, WPARAM wp)
    {
        if (folder_.fillsPopups && msg == WM_INITMENUPOPUP)
            AppendMenuW(reinterpret_cast<HMENU>(wp), MF_STRING, PlaceholderOffset + 1, FakeFolder::FilledCaption);
    }

    FakeFolder& folder_;
    std::vector<int> items_;
};

} // namespace

idlist::ChildIDList FakeFolder::Item(int number)
{
    idlist::ChildIDList item = idlist::IDListAlloc<ITEMID_CHILD>(ItemBytes + 2);
    if (!item)
        return item;
    auto* bytes = reinterpret_cast<BYTE*>(item.get());
    USHORT cb = ItemBytes;
    std::memcpy(bytes, &cb, 2);
    std::memcpy(bytes + 2, &number, sizeof(int));
    std::memcpy(bytes + 2 + sizeof(int), &Tag, 2);
    return item;
}

idlist::RelativeIDList FakeFolder::Packed(const std::vector<int>& numbers)
{
    idlist::RelativeIDList packed = idlist::IDListCombineRelative(nullptr, nullptr);
    for (int n : numbers)
        packed = idlist::IDListCombineRelativeFree(std::move(packed), Item(n));
    return packed;
}

int FakeFolder::NumberOf(PCUITEMID_CHILD item)
{
    if (!item || item->mkid.cb != ItemBytes)
        return -1;
    int number = 0;
    USHORT tag = 0;
    std::memcpy(&number, item->mkid.abID, sizeof(int));
    std::memcpy(&tag, item->mkid.abID + sizeof(int), 2);
    return tag == Tag ? number : -1;
}

std::wstring FakeFolder::NameOf(int number)
{
    return L"送り先 " + std::to_wstring(number);
}

HRESULT STDMETHODCALLTYPE FakeFolder::ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG* eaten,
                                                       PIDLIST_RELATIVE* pidl, ULONG*)
{
    parsed.emplace_back(name ? name : L"");
    *pidl = nullptr;
    if (FAILED(parseResult))
        return parseResult;
    *pidl = MakeList({6}).release();
    if (eaten)
        *eaten = ULONG(parsed.back().size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeFolder::BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx*, REFIID iid, void** out)
{
    bound.push_back(BytesOf(pidl));
    *out = nullptr;
    if (FAILED(bindResult))
        return bindResult;
    return QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE FakeFolder::EnumObjects(HWND, SHCONTF, IEnumIDList** out)
{
    *out = nullptr;
    if (FAILED(enumResult))
        return enumResult;
    *out = new FakeEnum(itemCount);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeFolder::GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF* inOut)
{
    if (FAILED(attributesResult))
        return attributesResult;
    *inOut &= attributes;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeFolder::GetUIObjectOf(HWND, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID iid,
                                                    UINT*, void** out)
{
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IContextMenu))
        return E_NOINTERFACE;
    std::vector<int> numbers;
    for (UINT i = 0; i < count; ++i)
        numbers.push_back(NumberOf(items[i]));
    menusMade.push_back(numbers);
    *out = static_cast<IContextMenu*>(new RecordingMenu(*this, std::move(numbers)));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeFolder::GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name)
{
    lastNamed = item;
    if (displayName)
        return displayName(item, flags, name);
    int number = NumberOf(item);
    if (number < 0)
        return E_INVALIDARG;
    std::wstring text = NameOf(number);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    name->uType = STRRET_WSTR;
    name->pOleStr = copy;
    return S_OK;
}

MenuEntry Command(std::wstring caption, UINT offset, UINT state)
{
    return {MenuEntry::String, std::move(caption), offset, state};
}

MenuEntry SendToSubmenu(std::wstring caption)
{
    return {MenuEntry::Submenu, std::move(caption), 0, 0};
}

MenuEntry Separator(std::wstring caption)
{
    return {MenuEntry::Separator, std::move(caption), 0, 0};
}

MenuEntry VerbCommand(std::wstring caption, UINT offset, std::wstring verb)
{
    MenuEntry entry = Command(std::move(caption), offset);
    entry.verb = std::move(verb);
    return entry;
}

HMENU BuildMenu(const std::vector<MenuEntry>& entries, UINT firstId)
{
    HMENU menu = CreatePopupMenu();
    AddEntries(menu, entries, firstId);
    return menu;
}

std::size_t ListBytes(const std::vector<USHORT>& counts)
{
    std::size_t size = 2;
    for (USHORT cb : counts)
        size += cb;
    return size;
}

void WriteItems(ITEMIDLIST* list, const std::vector<USHORT>& counts, BYTE seed)
{
    auto* at = reinterpret_cast<BYTE*>(list);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        std::memcpy(at, &counts[i], 2);
        std::memset(at + 2, int(i + 1 + seed), counts[i] - 2u);
        at += counts[i];
    }
}

std::vector<BYTE> BytesOf(const ITEMIDLIST* list)
{
    if (!list)
        return {};
    auto* at = reinterpret_cast<const BYTE*>(list);
    return std::vector<BYTE>(at, at + idlist::IDListSize(list));
}

} // namespace testsupport
