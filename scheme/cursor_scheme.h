// Assigning a cursor file to a system cursor role: the per-user scheme is
// written and the cursor takes effect at once.
#pragma once
#include "ui/handles.h"

#include <windows.h>
#include <functional>
#include <string>

namespace scheme {

// The system calls that put an assignment into effect. Tests install their
// own to see which calls are made (the real ones change nothing under Wine).
struct CursorApplier {
    // VER_PLATFORM_WIN32_NT replaces one system cursor; any other family
    // reloads every cursor from the scheme.
    std::function<DWORD()> platformId;
    // Loads a cursor file; empty when the system cannot read it.
    std::function<ui::UniqueCursor(const std::wstring& path)> loadCursor;
    // Makes `cursor` the system cursor `id`; the system takes it over.
    std::function<void(ui::UniqueCursor cursor, DWORD id)> setSystemCursor;
    // SystemParametersInfoW; called with SPI_SETCURSORS to have the system
    // reload all system cursors from the per-user scheme.
    std::function<BOOL(UINT action, UINT param, void* data, UINT winIni)> systemParametersInfo;
};

// The real calls; the platform family is asked once per process.
CursorApplier SystemCursorApplier();

// Installs `applier` for SetMouseCursor and returns the one it replaces.
CursorApplier SetCursorApplier(CursorApplier applier);

class ScopedCursorApplier {
public:
    explicit ScopedCursorApplier(CursorApplier applier) : previous_(SetCursorApplier(std::move(applier))) {}
    ~ScopedCursorApplier() { SetCursorApplier(std::move(previous_)); }
    ScopedCursorApplier(const ScopedCursorApplier&) = delete;
    ScopedCursorApplier& operator=(const ScopedCursorApplier&) = delete;

private:
    CursorApplier previous_;
};

// Makes `fileName` the cursor of role `role` (0..13, a row of MouseRegistry):
// stores the path in the scheme and applies it. A path that is no existing
// file is ignored. On the NT family a file the system cannot load is
// reported in an error box owned by `owner`, and nothing is stored.
// Throws ERegistryError when the scheme cannot be written (nothing applied),
// std::out_of_range for a role outside the table.
void SetMouseCursor(int role, const std::wstring& fileName, HWND owner = nullptr);

} // namespace scheme
