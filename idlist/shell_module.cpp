#include "idlist/idlist.h"

namespace idlist {
namespace {

// Plain pointers with no destructor of their own: nothing is released by the
// C++ run-time's exit sequence, only by the end of the last ShellModule.
struct ShellObjects {
    IMalloc* malloc = nullptr;
    IShellFolder* desktop = nullptr;
    bool obtained = false;
};

ShellObjects g_shell;
int g_modules = 0;
IMalloc* g_mallocOverride = nullptr;
IShellFolder* g_desktopOverride = nullptr;

void Obtain() noexcept
{
    if (g_shell.obtained)
        return;
    g_shell.obtained = true;
    // The desktop is only worth having with an allocator to free its lists.
    if (FAILED(SHGetMalloc(&g_shell.malloc)) || !g_shell.malloc) {
        g_shell.malloc = nullptr;
        return;
    }
    if (FAILED(SHGetDesktopFolder(&g_shell.desktop)))
        g_shell.desktop = nullptr;
}

void Release() noexcept
{
    if (g_shell.desktop)
        g_shell.desktop->Release();
    if (g_shell.malloc)
        g_shell.malloc->Release();
    g_shell = {};
}

} // namespace

ShellModule::ShellModule() noexcept
{
    ++g_modules;
    Obtain();
}

ShellModule::~ShellModule()
{
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
    return g_shell.malloc;
}

IShellFolder* DesktopFolder() noexcept
{
    if (g_desktopOverride)
        return g_desktopOverride;
    Obtain();
    return g_shell.desktop;
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
