// A folder object for the views' tests: passes every question to a real
// shell folder, and can add what Wine's folders lack (IShellIcon), fail the
// enumeration, mark items as shortcuts, watch each step of a fill, run a hook
// inside a rename, or, as a stand-in desktop, answer BindToObject with
// another folder or with folders that cannot be read or that watch their
// renames.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <string>

#include "tests/support/forwarding_folder.h"
#include "ui/handles.h"

namespace testsupport {

class TestFolder final : public ForwardingFolder {
public:
    // A new folder with one reference, which the caller owns: the list keeps
    // references of its own beyond the test's scope.
    static ui::ComPtr<TestFolder> Over(IShellFolder* inner)
    {
        return ui::ComPtr<TestFolder>::Attach(new TestFolder(inner));
    }

    // IShellIcon (offerIcons) answers by the item's name; none: S_FALSE.
    std::function<HRESULT(const std::wstring& name, UINT flags, int* index)> iconOf;
    int iconCalls = 0;
    // EnumObjects answers this when it is a failure code.
    HRESULT enumResult = S_OK;
    // Runs before each item the enumerator hands out.
    std::function<void()> onNext;
    // Items (by name in the folder) that GetAttributesOf reports as shortcuts.
    std::set<std::wstring> links;
    // Folders (by parsing name, in any letter case) whose bound folder cannot
    // be enumerated; their failed walks are counted here.
    std::set<std::wstring> unreadable;
    int enumFailures = 0;
    // When set, BindToObject answers this folder (or this failure).
    ui::ComPtr<IShellFolder> bindAnswer;
    HRESULT bindResult = S_OK;
    bool answerBinds = false;

    // SetNameOf runs this inside the call, as the shell's own dialogs let
    // any message (a refill, a rebuild) run while they are up. The rename
    // settings below hold for this folder and every folder bound through it.
    std::function<void()> duringRename;
    bool hookBeforeRename = false; // else after the inner folder renamed it
    // The name the inner folder is given instead of the typed one (a shell
    // that keeps a hidden extension: "b" becomes "b.cur").
    std::function<std::wstring(const std::wstring& typed)> renameAs;
    // Renames but hands back no new identifier.
    bool withholdNewID = false;

    std::wstring NameOf(PCUITEMID_CHILD item) const;

    // IShellFolder: the rest as the inner folder
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND w, SHCONTF flags, IEnumIDList** out) override;
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes) override;
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND w, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags,
                                        PITEMID_CHILD* out) override;

    // IShellIcon
    HRESULT STDMETHODCALLTYPE GetIconOf(PCUITEMID_CHILD item, UINT flags, int* index) override;

private:
    explicit TestFolder(IShellFolder* inner) : ForwardingFolder(inner) {}
    ~TestFolder() override = default;
    // The folder whose rename settings and failure count a bound folder uses.
    TestFolder& Owner() { return owner_ ? *owner_.get() : *this; }
    bool Unreadable(PCUIDLIST_RELATIVE pidl) const;

    ui::ComPtr<TestFolder> owner_;
};

} // namespace testsupport
