#include "tests/support/test_folder.h"

#include "idlist/idlist.h"

namespace testsupport {
namespace {

// Hands out the inner enumerator's items, running a hook before each.
class WatchedEnum final : public ui::ComObject<IEnumIDList> {
public:
    WatchedEnum(ui::ComPtr<IEnumIDList> inner, std::function<void()> hook)
        : inner_(std::move(inner)), hook_(std::move(hook))
    {
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) override
    {
        if (hook_)
            hook_();
        return inner_->Next(count, items, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return inner_->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return inner_->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** out) override { return inner_->Clone(out); }

private:
    ui::ComPtr<IEnumIDList> inner_;
    std::function<void()> hook_;
};

} // namespace

HRESULT TestFolder::SetNameOf(HWND w, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags, PITEMID_CHILD* out)
{
    TestFolder& owner = Owner();
    if (out)
        *out = nullptr;
    // Keep the item alive: the hook may free the caller's records.
    idlist::ChildIDList old = idlist::IDListCopy(item);
    std::wstring given = owner.renameAs ? owner.renameAs(name) : std::wstring(name);
    if (owner.duringRename && owner.hookBeforeRename)
        owner.duringRename();
    PITEMID_CHILD fresh = nullptr;
    HRESULT hr = inner_->SetNameOf(w, old.get(), given.c_str(), flags, &fresh);
    idlist::ChildIDList renamed = idlist::ChildIDList::Adopt(fresh);
    if (owner.duringRename && !owner.hookBeforeRename)
        owner.duringRename();
    if (out && !owner.withholdNewID)
        *out = renamed.release();
    return hr;
}

std::wstring TestFolder::NameOf(PCUITEMID_CHILD item) const
{
    return idlist::IDListDisplayName(inner_.get(), item, SHGDN_INFOLDER);
}

HRESULT TestFolder::EnumObjects(HWND w, SHCONTF flags, IEnumIDList** out)
{
    *out = nullptr;
    if (FAILED(enumResult)) {
        ++Owner().enumFailures;
        return enumResult;
    }
    ui::ComPtr<IEnumIDList> inner;
    HRESULT hr = inner_->EnumObjects(w, flags, inner.put());
    if (hr != S_OK || !inner)
        return hr;
    *out = new WatchedEnum(std::move(inner), onNext);
    return S_OK;
}

bool TestFolder::Unreadable(PCUIDLIST_RELATIVE pidl) const
{
    if (unreadable.empty())
        return false;
    // Only a desktop is given unreadable paths: what it binds starts at it.
    const std::wstring path = idlist::IDListDisplayName(idlist::IDListAsAbsolute(pidl), SHGDN_FORPARSING);
    for (const std::wstring& p : unreadable)
        if (CompareStringOrdinal(path.c_str(), int(path.size()), p.c_str(), int(p.size()), TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

HRESULT TestFolder::BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out)
{
    if (answerBinds) {
        *out = nullptr;
        if (FAILED(bindResult))
            return bindResult;
        return bindAnswer ? bindAnswer->QueryInterface(iid, out) : E_FAIL;
    }
    const bool failing = Unreadable(pidl);
    const bool watched = (duringRename || withholdNewID || renameAs) && iid == IID_IShellFolder;
    if (!failing && !watched)
        return inner_->BindToObject(pidl, b, iid, out);
    *out = nullptr;
    ui::ComPtr<IShellFolder> bound;
    HRESULT hr = inner_->BindToObject(pidl, b, IID_IShellFolder, bound.put_void());
    if (FAILED(hr))
        return hr;
    auto wrapped = Over(bound.get());
    wrapped->owner_ = ui::ComPtr<TestFolder>::Share(&Owner());
    if (failing)
        wrapped->enumResult = HRESULT_FROM_WIN32(ERROR_NOT_READY);
    return wrapped->QueryInterface(iid, out);
}

HRESULT TestFolder::GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes)
{
    SFGAOF asked = *attributes;
    HRESULT hr = inner_->GetAttributesOf(count, items, attributes);
    if (SUCCEEDED(hr) && count == 1 && (asked & SFGAO_LINK) && links.count(NameOf(items[0])))
        *attributes |= SFGAO_LINK;
    return hr;
}

HRESULT TestFolder::GetIconOf(PCUITEMID_CHILD item, UINT flags, int* index)
{
    ++iconCalls;
    return iconOf ? iconOf(NameOf(item), flags, index) : S_FALSE;
}

} // namespace testsupport
