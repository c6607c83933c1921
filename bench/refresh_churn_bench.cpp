// The automatic refresh under a stream of folder changes on a drive:
// (a) while another thread makes and removes 100 folders a second for 10 s
//     inside a folder the tree shows collapsed: how often the list is
//     filled, the previews restart and tree nodes are deleted (goal: 0 each),
//     and the share of the time the user-interface thread spends handling
//     messages, against the same 10 s without changes (goal: below 5 %);
// (b) a folder made inside an expanded folder: seconds until its node is
//     there (goal: within 2 s) and tree rebuilds meanwhile (goal: 0).
// Wine reports changes under a drive's subtree watch only in folders made
// after the watch began: the folders changed are made once the window's
// monitors are armed, directly in the drive's root.
#include "app/ufrmMain.h"
#include "bench/bench_clock.h"
#include "bench/bench_shell.h"
#include "idlist/idlist.h"
#include "ui/application.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <thread>

namespace {

constexpr double kChurnSeconds = 10;
constexpr int kPerSecond = 100;

// Counts messages sent to a few windows of this thread.
struct Counter {
    static inline std::map<std::pair<HWND, UINT>, int> counts;
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp)
    {
        if (code == HC_ACTION) {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
            ++counts[{call->hwnd, call->message}];
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static int Of(HWND wnd, UINT msg) { return counts[{wnd, msg}]; }
};

// Dispatches for `seconds`; answers the share of the time spent in handlers.
double PumpMeasured(double seconds)
{
    double start = Now(), busy = 0;
    while (Now() - start < seconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            double t = Now();
            ui::Application::DispatchNoted(msg);
            busy += Now() - t;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return busy / (Now() - start);
}

void RemoveFolders(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                RemoveFolders(folder + L"\\" + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

bool HasChild(TFolderView& tree, ui::TreeNode node, const std::wstring& text)
{
    for (ui::TreeNode n = tree.FirstChild(node); n; n = tree.NextSibling(n))
        if (tree.Text(n) == text)
            return true;
    return false;
}

int Run()
{
    int status = 0;
    std::wstring base = L"C:\\tarimoku-churn-" + std::to_wstring(GetCurrentProcessId());
    TfrmTarimoku form;
    form.Create();
    form.Show(SW_SHOWNORMAL);
    PumpMeasured(2.5); // the drive monitors armed
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW((base + L"\\churn").c_str(), nullptr);
    CreateDirectoryW((base + L"\\view").c_str(), nullptr);
    form.FolderView.SelectPath(base + L"\\view");
    PumpMeasured(3);
    TFolderView& tree = form.FolderView;
    ui::TreeNode baseNode = tree.Parent(tree.Selected());
    std::printf("folder in view %ls; churn node %s\n", tree.SelectedPath().c_str(),
                baseNode && HasChild(tree, baseNode, L"churn") ? "shown collapsed" : "missing");

    int previewStarts = 0;
    // The previews start again with every fill of the list.
    form.FileView.OnItemsReplaced = [&](ui::Component*) {
        ++previewStarts;
        form.ListPreviews.Start();
    };
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Counter::Proc, nullptr, GetCurrentThreadId());

    double quiet = PumpMeasured(kChurnSeconds);
    auto before = form.refresh.RefreshCounts;
    Counter::counts.clear();
    previewStarts = 0;
    std::atomic<bool> stop{false};
    std::atomic<int> changes{0};
    std::thread churn([&] {
        double t0 = Now();
        for (int i = 0; !stop; ++i) {
            std::wstring folder = base + L"\\churn\\f" + std::to_wstring(i % 50);
            if (!CreateDirectoryW(folder.c_str(), nullptr))
                RemoveDirectoryW(folder.c_str());
            ++changes;
            double due = t0 + double(i + 1) / kPerSecond;
            while (!stop && Now() < due)
                Sleep(1);
        }
    });
    double churning = PumpMeasured(kChurnSeconds);
    stop = true;
    churn.join();
    auto after = form.refresh.RefreshCounts;
    int fills = Counter::Of(form.FileView.Handle(), LVM_DELETEALLITEMS);
    int starts = previewStarts;
    int deleted = Counter::Of(tree.Handle(), TVM_DELETEITEM);
    std::printf("(a) %d changes in %.0f s; drive passes %d, rebuilds %d, list refills %d\n", changes.load(),
                kChurnSeconds, after.TreeSyncs - before.TreeSyncs, after.TreeRebuilds - before.TreeRebuilds,
                after.ListRefills - before.ListRefills);
    std::printf("(a) list filled %d times, previews restarted %d times, tree nodes deleted %d (goal 0 each)\n",
                fills, starts, deleted);
    std::printf("(a) user-interface thread busy %.2f %% while churning, %.2f %% quiet (goal below 5 %%)\n",
                churning * 100, quiet * 100);
    if (fills || starts || deleted || churning >= 0.05)
        status = 1;

    // (b) a folder made in an expanded folder.
    before = form.refresh.RefreshCounts;
    double made = Now();
    CreateDirectoryW((base + L"\\fresh").c_str(), nullptr);
    double seen = -1;
    while (Now() - made < 10) {
        PumpMeasured(0.02);
        if (HasChild(tree, baseNode, L"fresh")) {
            seen = Now() - made;
            break;
        }
    }
    after = form.refresh.RefreshCounts;
    std::printf("(b) new folder in the tree after %.2f s (goal within 2 s), rebuilds %d (goal 0)\n", seen,
                after.TreeRebuilds - before.TreeRebuilds);
    if (seen < 0 || seen > 2 || after.TreeRebuilds != before.TreeRebuilds)
        status = 1;
    if (hook)
        UnhookWindowsHookEx(hook);
    DestroyWindow(form.Handle());
    PumpMeasured(0.5);
    RemoveFolders(base);
    return status;
}

} // namespace

int main() { return RunWithShell(Run); }
