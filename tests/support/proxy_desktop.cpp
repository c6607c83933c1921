#include "tests/support/proxy_desktop.h"

#include "shview/idlist/idlist.h"

namespace testsupport {
namespace {

// A real folder whose contents cannot be listed.
class UnreadableFolder final : public ForwardingFolder {
public:
    UnreadableFolder(IShellFolder* real, int& failures) : ForwardingFolder(real), failures_(failures) {}

    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** e) override
    {
        ++failures_;
        *e = nullptr;
        return E_ACCESSDENIED;
    }

private:
    int& failures_;
};

// A real folder whose renames run a hook and may withhold the new identifier.
class RenameWatchFolder final : public ForwardingFolder {
public:
    RenameWatchFolder(IShellFolder* real, ProxyDesktop& desktop) : ForwardingFolder(real), desktop_(desktop) {}

    HRESULT STDMETHODCALLTYPE SetNameOf(HWND w, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags,
                                        PITEMID_CHILD* out) override
    {
        if (out)
            *out = nullptr;
        PITEMID_CHILD fresh = nullptr;
        HRESULT hr = inner_->SetNameOf(w, item, name, flags, &fresh);
        shview::ChildIDList renamed = shview::ChildIDList::Adopt(fresh);
        if (desktop_.duringRename)
            desktop_.duringRename();
        if (out && !desktop_.withholdNewID)
            *out = renamed.release();
        return hr;
    }

private:
    ProxyDesktop& desktop_;
};

} // namespace

HRESULT ProxyDesktop::BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out)
{
    HRESULT hr = inner_->BindToObject(pidl, b, iid, out);
    if (SUCCEEDED(hr) && iid == IID_IShellFolder && (duringRename || withholdNewID)) {
        auto* bound = static_cast<IShellFolder*>(*out);
        *out = static_cast<IShellFolder*>(new RenameWatchFolder(bound, *this));
        bound->Release();
        return hr;
    }
    if (FAILED(hr) || unreadablePath.empty() || iid != IID_IShellFolder)
        return hr;
    // What the desktop binds starts at the desktop.
    std::wstring path = shview::IDListDisplayName(shview::IDListAsAbsolute(pidl), SHGDN_FORPARSING);
    if (CompareStringOrdinal(path.c_str(), int(path.size()), unreadablePath.c_str(), int(unreadablePath.size()),
                             TRUE) != CSTR_EQUAL)
        return hr;
    auto* bound = static_cast<IShellFolder*>(*out);
    *out = static_cast<IShellFolder*>(new UnreadableFolder(bound, enumFailures));
    bound->Release();
    return hr;
}

HRESULT ProxyDesktop::GetIconOf(PCUITEMID_CHILD, UINT flags, int* index)
{
    *index = (flags & GIL_OPENICON) ? openIcon : normalIcon;
    return S_OK;
}

} // namespace testsupport
