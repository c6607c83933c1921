// Counts the GDI and USER objects of the process it is loaded into, for the
// soak driver (bench/soak_driver.cpp), which loads it into the program with a
// thread of its own. The counts go into the driver's shared memory; the
// library then refuses to stay (its entry answers FALSE), so it is unloaded
// at once and every load counts afresh.
//
// Where GetGuiResources counts (Windows) its answers are taken. Wine answers
// 0: there the GDI objects are counted by asking GetObjectType of every
// handle value of the process's GDI table, and the USER objects are the
// process's windows (top-level, child and message-only), menus and icons and
// cursors, the last two asked of every value of the USER handle table.
#include "bench/soak_probe.h"

#include <windows.h>

namespace {

// The GDI table holds 65,536 entries; a handle's low word is its index.
DWORD CountGdi()
{
    DWORD count = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}

struct WindowCount {
    DWORD process = 0;
    DWORD windows = 0;
};

BOOL CALLBACK CountChild(HWND window, LPARAM data)
{
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == count->process)
        ++count->windows;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data)
{
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == count->process) {
        ++count->windows;
        EnumChildWindows(window, CountChild, data); // every descendant
    }
    return TRUE;
}

DWORD CountWindows()
{
    WindowCount count{GetCurrentProcessId()};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        CountTopLevel(window, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// USER handles are even values from 0x20 to 0xFFEE.
void CountMenusAndIcons(DWORD& menus, DWORD& icons)
{
    using FrameInfoFn = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    auto frameInfo = reinterpret_cast<FrameInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetCursorFrameInfo")));
    for (UINT_PTR value = 0x20; value <= 0xFFEE; value += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(value))) {
            ++menus;
            continue;
        }
        DWORD rate = 0, steps = 0;
        if (frameInfo && frameInfo(reinterpret_cast<HCURSOR>(value), 0, 0, &rate, &steps))
            ++icons;
    }
}

void Count()
{
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, soak::kCountsName);
    if (!mapping)
        return;
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(soak::GuiCounts));
    if (view) {
        auto* shared = static_cast<soak::GuiCounts*>(view);
        soak::GuiCounts counts{};
        counts.taken = shared->taken + 1;
        HANDLE self = GetCurrentProcess();
        counts.gdi = GetGuiResources(self, GR_GDIOBJECTS);
        counts.user = GetGuiResources(self, GR_USEROBJECTS);
        counts.walked = counts.gdi == 0 && counts.user == 0;
        if (counts.walked) {
            counts.gdi = CountGdi();
            counts.windows = CountWindows();
            CountMenusAndIcons(counts.menus, counts.icons);
            counts.user = counts.windows + counts.menus + counts.icons;
        }
        *shared = counts;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    Count();
    return FALSE; // unloaded again at once
}
