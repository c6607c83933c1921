// The main window's automatic refresh, each against a reference in the same run:
// (a) rebuilding the folder tree with 30 expanded folders through the scratch
//     copy against building the tree and expanding the same folders directly
//     from their known text paths (goal: at most 1.5 times);
// (b) refilling a list of 10,000 files keeping a selection of 100 items against
//     a plain refill of the same folder (goal: at most 1.1 times).
#include "app/ufrmMain.h"
#include "bench/bench_clock.h"
#include "bench/bench_shell.h"
#include "shview/fileview/list_marks.h"
#include "shview/folderview/TreeState.h"
#include "idlist/idlist.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kExpanded = 30;
constexpr int kFiles = 10000;
constexpr int kSelected = 100;
constexpr int kRounds = 7;

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring TempFolder(const wchar_t* what)
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"tarimoku-bench-" + what + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    ui::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + L"\\" + name);
            else
                DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(find.get(), &data));
    }
    RemoveDirectoryW(folder.c_str());
}

// The text paths of every expanded node whose ancestors are all expanded, parents first.
void ExpandedPaths(const ui::TreeView& tree, ui::TreeNode node, std::vector<std::vector<std::wstring>>& paths,
                   std::vector<std::wstring>& at)
{
    for (ui::TreeNode child = tree.FirstChild(node); child; child = tree.NextSibling(child)) {
        if (!tree.IsExpanded(child))
            continue;
        at.push_back(tree.Text(child));
        paths.push_back(at);
        ExpandedPaths(tree, child, paths, at);
        at.pop_back();
    }
}

// The reference: the tree built again and the same folders expanded from
// their known paths, the same folder selected.
void BuildDirectly(TfrmTarimoku& form, const std::vector<std::vector<std::wstring>>& paths,
                   const std::wstring& selected)
{
    TFolderView& tree = form.FolderView;
    ui::RedrawOff redraw(tree);
    tree.BuildTree();
    for (const auto& path : paths) {
        ui::TreeNode node = tree.Root();
        for (const std::wstring& text : path)
            if (node)
                node = shview::FindChildByText(tree, node, text);
        if (node)
            tree.Expand(node);
    }
    if (ui::TreeNode node = shview::FindNodeByTextPath(tree, selected))
        tree.Select(node);
}

int TreeRebuild()
{
    std::wstring root = TempFolder(L"tree");
    for (int i = 0; i < kExpanded; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\folder%02d", i);
        CreateDirectoryW((root + name).c_str(), nullptr);
        CreateDirectoryW((root + name + L"\\inner").c_str(), nullptr);
    }
    int status = 0;
    {
        TfrmTarimoku form;
        form.Create();
        form.Show(SW_SHOWNORMAL);
        Pump();
        for (int i = 0; i < kExpanded; ++i) {
            wchar_t name[32];
            swprintf(name, 32, L"\\folder%02d", i);
            form.FolderView.SelectPath(root + name);
            form.FolderView.Expand(form.FolderView.Selected());
        }
        Pump();
        std::vector<std::vector<std::wstring>> paths;
        std::vector<std::wstring> at;
        ExpandedPaths(form.FolderView, form.FolderView.Root(), paths, at);
        std::wstring selected = shview::NodeTextPath(form.FolderView, form.FolderView.Selected());
        std::printf("(a) %zu expanded folders below the root (%d of them made here)\n", paths.size(), kExpanded);

        std::vector<double> direct, rebuild;
        for (int round = 0; round < kRounds; ++round) {
            double t0 = Now();
            BuildDirectly(form, paths, selected);
            double t1 = Now();
            Pump();
            double t2 = Now();
            form.refresh.RebuildFolderTree();
            double t3 = Now();
            Pump();
            direct.push_back(t1 - t0);
            rebuild.push_back(t3 - t2);
            std::vector<std::vector<std::wstring>> kept;
            ExpandedPaths(form.FolderView, form.FolderView.Root(), kept, at);
            bool same = kept == paths &&
                        shview::NodeTextPath(form.FolderView, form.FolderView.Selected()) == selected;
            if (!same)
                status = 1;
            std::printf("round %d: direct %.3f s, rebuild %.3f s, ratio %.2f%s\n", round, t1 - t0, t3 - t2,
                        (t3 - t2) / (t1 - t0), same ? "" : " (expansion or selection lost)");
            std::fflush(stdout);
        }
        std::printf("(a) median: direct %.3f s, rebuild %.3f s; rebuild / direct = %.2f (goal <= 1.5)\n",
                    Median(direct), Median(rebuild), Median(rebuild) / Median(direct));
    }
    Pump();
    RemoveTree(root);
    return status;
}

void SelectSpread(TFileView& view)
{
    int step = view.Count() / kSelected;
    for (int i = 0; i < kSelected; ++i)
        view.SetSelected(i * step + 7, true);
    view.SetFocused(kSelected / 2 * step + 7);
    view.EnsureVisible(view.Count() / 2);
}

int KeepingRefill()
{
    std::wstring folder = TempFolder(L"refill");
    std::printf("making %d files...\n", kFiles);
    std::fflush(stdout);
    for (int i = 0; i < kFiles; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\file%05d.txt", i);
        HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    idlist::AbsoluteIDList id = idlist::IDListFromPath(folder);
    int status = 0;

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarimokuRefreshBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(host, SW_SHOW);
    {
        TFileView view;
        view.Create(host);
        view.SetBounds(0, 0, 780, 560);
        view.SetFolder(id.get());
        Pump();
        std::vector<double> plain, keeping;
        for (int round = 0; round < kRounds; ++round) {
            SelectSpread(view);
            double t0 = Now();
            {
                ui::RedrawOff redraw(view);
                view.FillList();
            }
            double t1 = Now();
            Pump();
            SelectSpread(view);
            Pump();
            double t2 = Now();
            {
                shview::ListMarks marks = shview::TakeListMarks(view);
                ui::RedrawOff redraw(view);
                view.FillList();
                shview::RestoreListMarks(view, marks);
            }
            double t3 = Now();
            Pump();
            plain.push_back(t1 - t0);
            keeping.push_back(t3 - t2);
            bool kept = view.SelectedCount() == kSelected && view.Count() == kFiles;
            if (!kept)
                status = 1;
            std::printf("round %d: plain %.3f s, keeping %.3f s, ratio %.3f%s\n", round, t1 - t0, t3 - t2,
                        (t3 - t2) / (t1 - t0), kept ? "" : " (selection lost)");
            std::fflush(stdout);
        }
        std::printf("(b) median: plain %.3f s, keeping %.3f s; keeping / plain = %.3f (goal <= 1.1)\n",
                    Median(plain), Median(keeping), Median(keeping) / Median(plain));
    }
    DestroyWindow(host);
    RemoveTree(folder);
    return status;
}

} // namespace

int main()
{
    return RunWithShell([] {
        int status = TreeRebuild();
        status |= KeepingRefill();
        return status;
    });
}
