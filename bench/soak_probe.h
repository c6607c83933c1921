// What the soak's probe (soak_probe.dll) leaves in the driver's shared
// memory: the program's GDI and USER object counts.
#pragma once
#include <windows.h>

namespace soak {

inline constexpr wchar_t kCountsName[] = L"Local\\TarimokuSoakCounts";

struct GuiCounts {
    DWORD taken; // counts made so far
    DWORD gdi;
    DWORD user;
    // Counted by walking the handle tables (GetGuiResources answered 0), and
    // what the USER count is made of then.
    BOOL walked;
    DWORD windows;
    DWORD menus;
    DWORD icons;
};

} // namespace soak
