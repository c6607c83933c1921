// A folder object for file list tests: passes every question to a real shell
// folder, and can add what Wine's folders lack (IShellIcon), fail the
// enumeration, mark items as shortcuts, watch each step of a fill, or answer
// BindToObject with another folder (as a stand-in desktop).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <string>

#include "ui/handles.h"

namespace fvtest {

class TestFolder : public IShellFolder, public IShellIcon {
public:
    // A new folder with one reference, which the caller owns: the list keeps
    // references of its own beyond the test's scope.
    static ui::ComPtr<TestFolder> Over(IShellFolder* inner)
    {
        return ui::ComPtr<TestFolder>::Attach(new TestFolder(inner));
    }

    // IShellIcon is offered only when set; it answers by the item's name.
    bool offerIcons = false;
    std::function<HRESULT(const std::wstring& name, int* index)> iconOf;
    int iconCalls = 0;
    // EnumObjects answers this when it is a failure code.
    HRESULT enumResult = S_OK;
    // Runs before each item the enumerator hands out.
    std::function<void()> onNext;
    // Items (by name in the folder) that GetAttributesOf reports as shortcuts.
    std::set<std::wstring> links;
    // Folders (by parsing name) whose bound folder cannot be enumerated.
    std::set<std::wstring> unreadable;
    int enumFailures = 0;
    // When set, BindToObject answers this folder (or this failure).
    ui::ComPtr<IShellFolder> bindAnswer;
    HRESULT bindResult = S_OK;
    bool answerBinds = false;

    IShellFolder* Inner() const { return inner_.get(); }
    std::wstring NameOf(PCUITEMID_CHILD item) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --refs_;
        if (n == 0)
            delete this;
        return n;
    }

    // IShellFolder
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND w, IBindCtx* b, LPWSTR name, ULONG* eaten, PIDLIST_RELATIVE* pidl,
                                               ULONG* attributes) override
    {
        return inner_->ParseDisplayName(w, b, name, eaten, pidl, attributes);
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND w, SHCONTF flags, IEnumIDList** out) override;
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out) override
    {
        return inner_->BindToStorage(pidl, b, iid, out);
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lp, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override
    {
        return inner_->CompareIDs(lp, a, b);
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND w, REFIID iid, void** out) override
    {
        return inner_->CreateViewObject(w, iid, out);
    }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes) override;
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND w, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID iid, UINT* r,
                                            void** out) override
    {
        return inner_->GetUIObjectOf(w, count, items, iid, r, out);
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name) override
    {
        return inner_->GetDisplayNameOf(item, flags, name);
    }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND w, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags,
                                        PITEMID_CHILD* out) override
    {
        return inner_->SetNameOf(w, item, name, flags, out);
    }

    // IShellIcon
    HRESULT STDMETHODCALLTYPE GetIconOf(PCUITEMID_CHILD item, UINT flags, int* index) override;

private:
    explicit TestFolder(IShellFolder* inner) : inner_(ui::ComPtr<IShellFolder>::Share(inner)) {}
    virtual ~TestFolder() = default;
    ui::ComPtr<IShellFolder> inner_;
    ULONG refs_ = 1;
    TestFolder* counter_ = nullptr; // counts this folder's failed walks
};

} // namespace fvtest
