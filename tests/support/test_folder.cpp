#include "tests/support/test_folder.h"

#include "shview/idlist/idlist.h"

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
    if (out)
        *out = nullptr;
    // Keep the item alive: the hook may free the caller's records.
    shview::ChildIDList old = shview::IDListCopy(item);
    std::wstring given = renameAs ? renameAs(name) : std::wstring(name);
    if (duringRename && hookBeforeRename)
        duringRename();
    PITEMID_CHILD fresh = nullptr;
    HRESULT hr = inner_->SetNameOf(w, old.get(), given.c_str(), flags, &fresh);
    shview::ChildIDList renamed = shview::ChildIDList::Adopt(fresh);
    if (duringRename && !hookBeforeRename)
        duringRename();
    if (out && !withholdNewID)
        *out = renamed.release();
    return hr;
}

std::wstring TestFolder::NameOf(PCUITEMID_CHILD item) const
{
    return shview::IDListDisplayName(inner_.get(), item, SHGDN_INFOLDER);
}

HRESULT TestFolder::EnumObjects(HWND w, SHCONTF flags, IEnumIDList** out)
{
    *out = nullptr;
    if (FAILED(enumResult)) {
        ++(counter_ ? counter_ : this)->enumFailures;
        return enumResult;
    }
    ui::ComPtr<IEnumIDList> inner;
    HRESULT hr = inner_->EnumObjects(w, flags, inner.put());
    if (hr != S_OK || !inner)
        return hr;
    *out = new WatchedEnum(std::move(inner), onNext);
    return S_OK;
}

HRESULT TestFolder::BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out)
{
    if (!answerBinds && !unreadable.empty() &&
        // Only a desktop is given unreadable paths: what it binds starts at it.
        unreadable.count(shview::IDListDisplayName(shview::IDListAsAbsolute(pidl), SHGDN_FORPARSING))) {
        *out = nullptr;
        ui::ComPtr<IShellFolder> bound;
        HRESULT hr = inner_->BindToObject(pidl, b, IID_IShellFolder, bound.put_void());
        if (FAILED(hr))
            return hr;
        // The bound folder fails its walks and counts them here.
        auto failing = Over(bound.get());
        failing->enumResult = HRESULT_FROM_WIN32(ERROR_NOT_READY);
        failing->counter_ = this;
        return failing->QueryInterface(iid, out);
    }
    if (!answerBinds)
        return inner_->BindToObject(pidl, b, iid, out);
    *out = nullptr;
    if (FAILED(bindResult))
        return bindResult;
    return bindAnswer ? bindAnswer->QueryInterface(iid, out) : E_FAIL;
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
    if (!iconOf || flags != GIL_FORSHELL)
        return S_FALSE;
    return iconOf(NameOf(item), index);
}

} // namespace testsupport
