// Filling the file list from a folder of 10,000 files against a bare walk of
// the same folder through the shell (EnumObjects, then GetDisplayNameOf for
// each item), in the same run. Prints the time of each per round and the
// ratio fill / bare walk; the goal is at most 3.
#include "bench/bench_clock.h"
#include "bench/bench_shell.h"
#include "shview/fileview/FileView.h"
#include "idlist/idlist.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 10000;
constexpr int kRounds = 7;

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string ReadAll(const std::wstring& path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got)
        bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

void Write(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

// A folder of files with a few extensions, a tenth of them real cursors.
std::wstring MakeFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"tarimoku-bench-fileview-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring corpus = L"" TARIMOKU_CORPUS;
    std::replace(corpus.begin(), corpus.end(), L'/', L'\\');
    std::string cursor = ReadAll(corpus + L"\\capitaine\\master\\link-select.cur");
    const wchar_t* extensions[] = {L".txt", L".dat", L".log", L".ini", L".bin", L".cfg", L".csv", L".xml", L".md"};
    for (int i = 0; i < kFiles; ++i) {
        wchar_t name[64];
        if (i % 10 == 0)
            swprintf(name, 64, L"\\cursor%05d.cur", i);
        else
            swprintf(name, 64, L"\\file%05d%ls", i, extensions[i % 9]);
        Write(folder + name, i % 10 == 0 ? cursor : std::string(size_t(i % 3000), 'x'));
    }
    return folder;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    ui::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        } while (FindNextFileW(find.get(), &data));
    }
    RemoveDirectoryW(folder.c_str());
}

// The reference: the shell's own walk of the folder, names only.
int BareWalk(PCIDLIST_ABSOLUTE absolute)
{
    ui::ComPtr<IShellFolder> folder;
    if (FAILED(idlist::DesktopFolder()->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void())))
        return -1;
    ui::ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, items.put()) !=
        S_OK)
        return -1;
    int n = 0;
    idlist::ChildIDList id;
    ULONG fetched = 0;
    while (items->Next(1, id.put(), &fetched) == S_OK) {
        if (!idlist::IDListDisplayName(folder.get(), id.get(), SHGDN_INFOLDER).empty())
            ++n;
    }
    return n;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int Run()
{
    int status = 0;
    std::printf("making %d files...\n", kFiles);
    std::fflush(stdout);
    std::wstring folder = MakeFolder();
    idlist::AbsoluteIDList id = idlist::IDListFromPath(folder);

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarimokuBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800,
                                600, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(host, SW_SHOW);
    {
        TFileView view;
        view.Create(host);
        view.SetBounds(0, 0, 780, 560);
        Pump();
        // One of each first, so that both see a warm shell.
        BareWalk(id.get());
        view.SetFolder(id.get());
        Pump();

        std::vector<double> bare, fill;
        for (int round = 0; round < kRounds; ++round) {
            double t0 = Now();
            int walked = BareWalk(id.get());
            double t1 = Now();
            view.SetFolder(id.get());
            double t2 = Now();
            Pump();
            bare.push_back(t1 - t0);
            fill.push_back(t2 - t1);
            std::printf("round %d: bare walk %.3f s (%d items), fill %.3f s (%d items), ratio %.2f\n", round,
                        t1 - t0, walked, t2 - t1, view.Count(), (t2 - t1) / (t1 - t0));
            std::fflush(stdout);
            if (walked != kFiles || view.Count() != kFiles)
                status = 1;
        }
        double ratio = Median(fill) / Median(bare);
        std::printf("median: bare walk %.3f s, fill %.3f s; fill / bare walk = %.2f (goal <= 3)\n", Median(bare),
                    Median(fill), ratio);
    }
    DestroyWindow(host);
    RemoveFolder(folder);
    return status;
}

} // namespace

int main() { return RunWithShell(Run); }
