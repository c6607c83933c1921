// Drives the program as a user would, by real input, while a second process
// (this program again, with --change) changes files and folders in the
// folder in view; not part of the test suite (bench/soak.sh runs it).
// Afterwards: the program is still running, no error box is open, the list
// shows the folder's contents, and its GDI and USER object counts are within
// 5 % of where they were at the start (counted inside the program by
// soak_probe.dll, which this program loads there).
//   soak_driver <program.exe> <folder> <seconds>
//   soak_driver --change <folder> <seconds>
#include "bench/soak_probe.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::mt19937 rng;
int Random(int n) { return int(rng() % unsigned(n)); }

// --- the changing process ---------------------------------------------------

void MakeFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
}

int Change(const std::wstring& folder, double seconds)
{
    DWORD end = GetTickCount() + DWORD(seconds * 1000);
    rng.seed(GetCurrentProcessId());
    int operations = 0;
    while (GetTickCount() < end) {
        std::wstring name = folder + L"\\chg" + std::to_wstring(Random(40));
        std::wstring other = folder + L"\\chg" + std::to_wstring(Random(40));
        switch (Random(6)) {
        case 0: MakeFile(name + L".txt"); break;
        case 1: DeleteFileW((name + L".txt").c_str()); break;
        case 2: MoveFileW((name + L".txt").c_str(), (other + L".txt").c_str()); break;
        case 3: // a folder made, or removed with what it holds
            if (!CreateDirectoryW((name + L"d").c_str(), nullptr)) {
                DeleteFileW((name + L"d\\inner.txt").c_str());
                RemoveDirectoryW((name + L"d").c_str());
            }
            break;
        case 4: MoveFileW((name + L"d").c_str(), (other + L"d").c_str()); break;
        case 5: MakeFile(name + L"d\\inner.txt"); break;
        }
        ++operations;
        Sleep(50);
    }
    std::printf("changer: %d operations\n", operations);
    return 0;
}

// --- input ------------------------------------------------------------------

void Key(WORD vk, bool down)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
}

void Press(WORD vk, WORD modifier = 0)
{
    if (modifier)
        Key(modifier, true);
    Key(vk, true);
    Key(vk, false);
    if (modifier)
        Key(modifier, false);
}

void Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
}

void Click(HWND window, POINT at, bool right)
{
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// --- the program ------------------------------------------------------------

struct Program {
    PROCESS_INFORMATION process{};
    HWND main = nullptr, tree = nullptr, list = nullptr;

    bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }

    // The program's GDI and USER object counts, made inside it by the probe
    // library (`probe`, its full path) that a thread of ours loads there;
    // `taken` is 0 when it could not count.
    soak::GuiCounts Counts(const std::wstring& probe) const
    {
        soak::GuiCounts counts{};
        HANDLE mapping =
            CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(counts), soak::kCountsName);
        if (!mapping)
            return counts;
        void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(counts));
        const std::size_t bytes = (probe.size() + 1) * sizeof(wchar_t);
        void* remote = VirtualAllocEx(process.hProcess, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
        if (view && remote && WriteProcessMemory(process.hProcess, remote, probe.c_str(), bytes, nullptr)) {
            std::memset(view, 0, sizeof(counts));
            auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
                reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
            if (HANDLE thread = CreateRemoteThread(process.hProcess, nullptr, 0, load, remote, 0, nullptr)) {
                WaitForSingleObject(thread, 30000);
                CloseHandle(thread);
            }
            std::memcpy(&counts, view, sizeof(counts));
        }
        if (remote)
            VirtualFreeEx(process.hProcess, remote, 0, MEM_RELEASE);
        if (view)
            UnmapViewOfFile(view);
        CloseHandle(mapping);
        return counts;
    }

    // Text of list item i, read through memory in the program's process.
    std::wstring ItemText(int i) const
    {
        void* remote = VirtualAllocEx(process.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
        if (!remote)
            return {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
        item.cchTextMax = 1000;
        WriteProcessMemory(process.hProcess, remote, &item, sizeof(item), nullptr);
        SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(i), reinterpret_cast<LPARAM>(remote));
        wchar_t text[1001] = L"";
        ReadProcessMemory(process.hProcess, item.pszText, text, 1000 * sizeof(wchar_t), nullptr);
        VirtualFreeEx(process.hProcess, remote, 0, MEM_RELEASE);
        return text;
    }
    bool ItemCenter(int i, POINT& at) const
    {
        void* remote = VirtualAllocEx(process.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
        if (!remote)
            return false;
        RECT rc{LVIR_ICON, 0, 0, 0};
        WriteProcessMemory(process.hProcess, remote, &rc, sizeof(rc), nullptr);
        bool ok = SendMessageW(list, LVM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(remote)) != 0;
        ReadProcessMemory(process.hProcess, remote, &rc, sizeof(rc), nullptr);
        VirtualFreeEx(process.hProcess, remote, 0, MEM_RELEASE);
        at = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        return ok;
    }
    int Items() const { return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
};

struct FindData {
    DWORD pid;
    std::vector<HWND> boxes;
    HWND main = nullptr;
};

BOOL CALLBACK FindWindows(HWND wnd, LPARAM lp)
{
    auto* data = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != data->pid || !IsWindowVisible(wnd))
        return TRUE;
    wchar_t cls[64] = L"";
    GetClassNameW(wnd, cls, 64);
    if (lstrcmpW(cls, L"#32770") == 0)
        data->boxes.push_back(wnd);
    if (lstrcmpW(cls, L"TarimokuMainWindow") == 0)
        data->main = wnd;
    return TRUE;
}

FindData Windows(DWORD pid)
{
    FindData data{pid};
    EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&data));
    return data;
}

void Settle(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(20);
    }
}

// The go-to dialog: a box of the program with an edit field.
HWND GoToDialog(DWORD pid)
{
    for (HWND box : Windows(pid).boxes)
        if (FindWindowExW(box, nullptr, L"Edit", nullptr))
            return box;
    return nullptr;
}

// Goes to `folder` with the go-to dialog (Ctrl+G); the path is put into its
// field directly (typed text would pass the keyboard layout), the rest is keys.
void GoTo(const Program& program, const std::wstring& folder)
{
    SetForegroundWindow(program.main);
    Press('G', VK_CONTROL);
    HWND dialog = nullptr;
    for (int i = 0; i < 20 && !dialog; ++i) {
        Settle(100);
        dialog = GoToDialog(program.process.dwProcessId);
    }
    if (!dialog)
        return;
    SendMessageW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(folder.c_str()));
    SetForegroundWindow(dialog);
    Press(VK_RETURN);
    Settle(800);
}

std::set<std::wstring> FolderContents(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            names.insert(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

int Soak(const std::wstring& exe, const std::wstring& folder, double seconds)
{
    unsigned seed = GetTickCount();
    rng.seed(seed);
    std::printf("seed %u, %.0f s\n", seed, seconds);
    Program program;
    STARTUPINFOW si{sizeof(si)};
    std::wstring command = L"\"" + exe + L"\" \"" + folder + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &program.process)) {
        std::printf("FAIL: the program did not start\n");
        return 1;
    }
    for (int i = 0; i < 150 && !program.main; ++i) {
        Settle(100);
        program.main = Windows(program.process.dwProcessId).main;
    }
    if (!program.main) {
        std::printf("FAIL: no main window\n");
        return 1;
    }
    program.tree = FindWindowExW(program.main, nullptr, WC_TREEVIEWW, nullptr);
    program.list = FindWindowExW(program.main, nullptr, WC_LISTVIEWW, nullptr);
    SetForegroundWindow(program.main);
    Settle(3000);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring probe = self;
    probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + L"soak_probe.dll";
    const soak::GuiCounts atStart = program.Counts(probe);

    PROCESS_INFORMATION changer{};
    STARTUPINFOW si2{sizeof(si2)};
    std::wstring changeCommand =
        L"\"" + std::wstring(self) + L"\" --change \"" + folder + L"\" " + std::to_wstring(int(seconds));
    CreateProcessW(nullptr, changeCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si2, &changer);

    const char* names[] = {"navigate", "expand/collapse", "select", "rename+cancel", "role menu", "F5", "back"};
    int done[7] = {};
    DWORD end = GetTickCount() + DWORD(seconds * 1000);
    int boxesSeen = 0;
    while (GetTickCount() < end && program.Running()) {
        SetForegroundWindow(program.main);
        int action = Random(7);
        ++done[action];
        RECT rc;
        switch (action) {
        case 0: // navigate: the tree's keys, or a folder of the list opened and left
            if (Random(2)) {
                GetClientRect(program.tree, &rc);
                Click(program.tree, {rc.right / 2, 5 + Random(std::max(1L, rc.bottom - 10))}, false);
                Press(Random(2) ? VK_UP : VK_DOWN);
            } else {
                Click(program.list, {5, 5}, false);
                Press(VK_HOME);
                Press(VK_RETURN);
                Settle(300);
                Press(VK_BACK);
            }
            break;
        case 1: // expand and collapse in the tree
            GetClientRect(program.tree, &rc);
            Click(program.tree, {rc.right / 2, 5 + Random(std::max(1L, rc.bottom - 10))}, false);
            Press(Random(2) ? VK_RIGHT : VK_LEFT);
            break;
        case 2: { // select in the list
            int count = program.Items();
            POINT at;
            if (count > 0 && program.ItemCenter(Random(count), at))
                Click(program.list, at, false);
            if (Random(2))
                Press(VK_DOWN, VK_SHIFT);
            break;
        }
        case 3: { // rename, cancelled
            int count = program.Items();
            POINT at;
            if (count > 0 && program.ItemCenter(Random(count), at)) {
                Click(program.list, at, false);
                Settle(200);
                Press(VK_F2);
                Settle(300);
                Type(L"xyz");
                Press(VK_ESCAPE);
            }
            break;
        }
        case 4: { // the role menu on a cursor file, closed again
            int count = program.Items();
            for (int i = 0; i < count; ++i) {
                std::wstring text = program.ItemText(i);
                POINT at;
                if (text.size() > 4 && (text.ends_with(L".cur") || text.ends_with(L".ani")) &&
                    program.ItemCenter(i, at)) {
                    Click(program.list, at, false);
                    Settle(150);
                    Click(program.list, at, true);
                    Settle(400);
                    Press(VK_ESCAPE);
                    Press(VK_ESCAPE);
                    break;
                }
            }
            break;
        }
        case 5: // refresh
            Press(VK_F5);
            break;
        case 6: // back to the folder
            GoTo(program, folder);
            break;
        }
        Settle(100 + Random(300));
        FindData now = Windows(program.process.dwProcessId);
        for (HWND box : now.boxes) {
            // The go-to dialog the soak opened is closed; any other box is an error box.
            if (FindWindowExW(box, nullptr, L"Edit", nullptr)) {
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                continue;
            }
            wchar_t title[128] = L"", text[512] = L"";
            GetWindowTextW(box, title, 128);
            if (HWND label = FindWindowExW(box, nullptr, L"Static", nullptr))
                GetWindowTextW(label, text, 512);
            std::printf("box open: \"%ls\": %ls\n", title, text);
            ++boxesSeen;
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        }
    }
    if (changer.hProcess) {
        WaitForSingleObject(changer.hProcess, 30000);
        CloseHandle(changer.hProcess);
        CloseHandle(changer.hThread);
    }
    int status = 0;
    if (!program.Running()) {
        DWORD code = 0;
        GetExitCodeProcess(program.process.hProcess, &code);
        std::printf("FAIL: the program ended (exit code 0x%lx)\n", code);
        return 1;
    }
    for (int i = 0; i < 7; ++i)
        std::printf("%s: %d\n", names[i], done[i]);
    GoTo(program, folder);
    Press(VK_F5);
    Settle(4000);
    std::set<std::wstring> listed;
    for (int i = 0, n = program.Items(); i < n; ++i)
        listed.insert(program.ItemText(i));
    std::set<std::wstring> there = FolderContents(folder);
    std::printf("list %zu items, folder %zu entries: %s\n", listed.size(), there.size(),
                listed == there ? "equal" : "DIFFERENT");
    if (listed != there) {
        status = 1;
        for (const std::wstring& name : there)
            if (!listed.count(name))
                std::printf("  missing from the list: %ls\n", name.c_str());
        for (const std::wstring& name : listed)
            if (!there.count(name))
                std::printf("  listed but not there: %ls\n", name.c_str());
    }
    std::printf("boxes seen: %d\n", boxesSeen);
    if (boxesSeen)
        status = 1;
    const soak::GuiCounts atEnd = program.Counts(probe);
    auto ratio = [](DWORD a, DWORD b) { return a ? double(b) / double(a) : 1.0; };
    if (!atStart.taken || !atEnd.taken) {
        std::printf("FAIL: the program's GDI and USER objects could not be counted\n");
        status = 1;
    } else {
        std::printf("GDI objects %lu -> %lu (%.3f), USER objects %lu -> %lu (%.3f) (goal within 5 %%)\n",
                    atStart.gdi, atEnd.gdi, ratio(atStart.gdi, atEnd.gdi), atStart.user, atEnd.user,
                    ratio(atStart.user, atEnd.user));
        if (atStart.walked)
            std::printf("  counted through the handle tables: windows %lu -> %lu, menus %lu -> %lu, icons and "
                        "cursors %lu -> %lu\n",
                        atStart.windows, atEnd.windows, atStart.menus, atEnd.menus, atStart.icons, atEnd.icons);
        if (ratio(atStart.gdi, atEnd.gdi) > 1.05 || ratio(atStart.user, atEnd.user) > 1.05)
            status = 1;
    }
    PostMessageW(program.main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(program.process.hProcess, 15000) != WAIT_OBJECT_0) {
        std::printf("FAIL: the program did not close\n");
        TerminateProcess(program.process.hProcess, 1);
        status = 1;
    }
    CloseHandle(program.process.hProcess);
    CloseHandle(program.process.hThread);
    std::printf("%s\n", status ? "FAIL" : "PASS");
    return status;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wstring(argv[1]) == L"--change")
        return Change(argv[2], _wtof(argv[3]));
    if (argc != 4) {
        std::printf("usage: soak_driver <program.exe> <folder> <seconds>\n");
        return 2;
    }
    return Soak(argv[1], argv[2], _wtof(argv[3]));
}
