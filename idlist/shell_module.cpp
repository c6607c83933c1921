#include "idlist/idlist.h"

#include <atomic>
#include <mutex>

namespace idlist {
namespace {

// Plain pointers with no destructor of their own: nothing is released by the
// C++ run-time's exit sequence, only by the end of the last ShellModule.
// A folder's reader asks for the allocator on a thread of its own: the
// pointers are read without a lock, and obtained, counted and released
// under one.
struct ShellObjects {
    std::atomic<IMalloc*> malloc{nullptr};
    std::atomic<IShellFolder*> desktop{nullptr};
    std::atomic<bool> obtained{false};
};

ShellObjects g_shell;
std::mutex shellLock; // constant-initialised: usable before any constructor runs
int g_modules = 0;
IMalloc* g_mallocOverride = nullptr;
IShellFolder* g_desktopOverride = nullptr;

void Obtain() noexcept
{
    if (g_shell.obtained.load(std::memory_order_acquire))
        return;
    std::lock_guard<std::mutex> hold(shellLock);
    if (g_shell.obtained.load(std::memory_order_relaxed))
        return;
    // The desktop is only worth having with an allocator to free its lists.
    IMalloc* malloc = nullptr;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetMalloc(&malloc)))
        malloc = nullptr;
    if (malloc && FAILED(SHGetDesktopFolder(&desktop)))
        desktop = nullptr;
    g_shell.malloc.store(malloc, std::memory_order_relaxed);
    g_shell.desktop.store(desktop, std::memory_order_relaxed);
    g_shell.obtained.store(true, std::memory_order_release);
}

// With the lock held.
void Release() noexcept
{
    g_shell.obtained.store(false, std::memory_order_release);
    if (IShellFolder* desktop = g_shell.desktop.exchange(nullptr))
        desktop->Release();
    if (IMalloc* malloc = g_shell.malloc.exchange(nullptr))
        malloc->Release();
}

} // namespace

ShellModule::ShellModule() noexcept
{
    {
        std::lock_guard<std::mutex> hold(shellLock);
        ++g_modules;
    }
    Obtain();
}

ShellModule::~ShellModule()
{
    std::lock_guard<std::mutex> hold(shellLock);
    if (--g_modules == 0)
        Release();
}

bool ShellModule::Ready() noexcept
{
    return ShellMalloc() && DesktopFolder();
}

IMalloc* ShellMalloc() noexcept
{
    if (g_mallocOverride)
        return g_mallocOverride;
    Obtain();
    return g_shell.malloc.load(std::memory_order_acquire);
}

IShellFolder* DesktopFolder() noexcept
{
    if (g_desktopOverride)
        return g_desktopOverride;
    Obtain();
    return g_shell.desktop.load(std::memory_order_acquire);
}

ScopedShellObjects::ScopedShellObjects(IMalloc* malloc, IShellFolder* desktop) noexcept
    : oldMalloc_(g_mallocOverride), oldDesktop_(g_desktopOverride)
{
    if (malloc)
        g_mallocOverride = malloc;
    if (desktop)
        g_desktopOverride = desktop;
}

ScopedShellObjects::~ScopedShellObjects()
{
    g_mallocOverride = oldMalloc_;
    g_desktopOverride = oldDesktop_;
}

} // namespace idlist
