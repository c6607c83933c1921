// A desktop folder that passes every question to the real one except where a
// test wants a folder that cannot be read, a rename that runs a hook, or
// icons from IShellIcon (which Wine does not offer).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "tests/support/forwarding_folder.h"

namespace testsupport {

// The real desktop with the changes a test can ask for. Lives on the test's
// stack.
class ProxyDesktop final : public ForwardingFolder {
public:
    explicit ProxyDesktop(IShellFolder* real) : ForwardingFolder(real) {}
    ~ProxyDesktop() override = default;
    // Folders bound at this parsing path cannot be enumerated (E_ACCESSDENIED).
    std::wstring unreadablePath;
    // The indexes IShellIcon (offerIcons) answers.
    int normalIcon = 0, openIcon = 0;
    int enumFailures = 0;
    // Folders bound through this desktop run `duringRename` inside their
    // SetNameOf, after the rename (as the shell's dialogs let a rebuild
    // run), and hand back no new identifier when `withholdNewID`.
    std::function<void()> duringRename;
    bool withholdNewID = false;

    // IShellFolder: all but BindToObject as the real one
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out) override;
    // IShellIcon
    HRESULT STDMETHODCALLTYPE GetIconOf(PCUITEMID_CHILD, UINT flags, int* index) override;

protected:
    void Destroy() noexcept override {}
};

} // namespace testsupport
