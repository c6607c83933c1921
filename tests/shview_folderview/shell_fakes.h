// Stand-ins for the shell where Wine cannot show a path: an allocator that
// counts what is freed through it, and a desktop folder that passes every
// question to the real one except where a test wants a folder that cannot be
// read, or icons from IShellIcon (which Wine does not offer).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "tests/support/forwarding_folder.h"

namespace fvtest {

// The task allocator, counting the blocks freed through it.
class CountingMalloc : public IMalloc {
public:
    int frees = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return CoTaskMemAlloc(cb); }
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override { return CoTaskMemRealloc(pv, cb); }
    void STDMETHODCALLTYPE Free(void* pv) override;
    SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return SIZE_T(-1); }
    int STDMETHODCALLTYPE DidAlloc(void*) override { return -1; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

// The real desktop with two changes a test can ask for. Lives on the test's
// stack; its reference count is only pretended.
class ProxyDesktop : public testsupport::ForwardingFolder, public IShellIcon {
public:
    explicit ProxyDesktop(IShellFolder* real) : ForwardingFolder(real) {}
    // Folders bound at this parsing path cannot be enumerated (E_ACCESSDENIED).
    std::wstring unreadablePath;
    // When set, the desktop offers IShellIcon with these indexes.
    bool offerIcons = false;
    int normalIcon = 0, openIcon = 0;
    int enumFailures = 0;
    // Folders bound through this desktop run `duringRename` inside their
    // SetNameOf, after the rename (as the shell's dialogs let a rebuild
    // run), and hand back no new identifier when `withholdNewID`.
    std::function<void()> duringRename;
    bool withholdNewID = false;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // IShellFolder: all but BindToObject as the real one
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* b, REFIID iid, void** out) override;
    // IShellIcon
    HRESULT STDMETHODCALLTYPE GetIconOf(PCUITEMID_CHILD, UINT flags, int* index) override;
};

} // namespace fvtest
