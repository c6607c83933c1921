// One find-timer tick over 200 armed monitors of which none has signalled,
// against two references measured in the same run on the same 200 objects:
// the naive poll (one zero time-out wait per object) and the bare floor (the
// four zero time-out waits over runs of 64 that the tick has to make anyway).
#include "bench/bench_clock.h"
#include "dirmon/DirMonitor.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kMonitors = 200;
constexpr int kTicksPerRound = 500;
constexpr int kRounds = 9;

std::wstring MakeBase()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"tarimoku-bench-dirmon-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(base.c_str(), nullptr);
    return base;
}

} // namespace

int main()
{
    int status = 0;
    const std::wstring base = MakeBase();
    std::vector<std::wstring> folders;
    for (int i = 0; i < kMonitors; ++i) {
        folders.push_back(base + L"\\w" + std::to_wstring(i));
        CreateDirectoryW(folders.back().c_str(), nullptr);
    }
    {
        // No timer: the ticks are run by hand.
        TDirMonitor::SetInterval(0);
        std::vector<std::unique_ptr<TDirMonitor>> monitors;
        std::vector<HANDLE> handles;
        int events = 0;
        for (const std::wstring& folder : folders) {
            auto m = std::make_unique<TDirMonitor>();
            m->SetDirectory(folder);
            m->OnChange = [&events](TDirMonitor*) { ++events; };
            m->SetActive(true);
            if (!m->Listed()) {
                std::printf("could not arm %ls (%ls)\n", folder.c_str(), m->Directory().c_str());
                status = 1;
            }
            handles.push_back(m->NotifyHandle());
            monitors.push_back(std::move(m));
        }
        std::printf("%zu monitors listed\n", TDirMonitor::ListedCount());

        std::vector<double> tick, naive, floor;
        int signalled = 0;
        for (int round = 0; round < kRounds; ++round) {
            double t0 = Now();
            for (int i = 0; i < kTicksPerRound; ++i)
                TDirMonitor::Poll();
            double t1 = Now();
            for (int i = 0; i < kTicksPerRound; ++i)
                for (HANDLE h : handles)
                    signalled += WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
            double t2 = Now();
            for (int i = 0; i < kTicksPerRound; ++i)
                for (size_t start = 0; start < handles.size(); start += MAXIMUM_WAIT_OBJECTS) {
                    const DWORD n = static_cast<DWORD>(std::min<size_t>(MAXIMUM_WAIT_OBJECTS, handles.size() - start));
                    signalled += WaitForMultipleObjects(n, handles.data() + start, FALSE, 0) < WAIT_OBJECT_0 + n;
                }
            double t3 = Now();
            const double us = 1e6 / kTicksPerRound;
            tick.push_back((t1 - t0) * us);
            naive.push_back((t2 - t1) * us);
            floor.push_back((t3 - t2) * us);
            std::printf("round %d: tick %.1f us, naive %.1f us, bare runs of 64 %.1f us\n", round, tick.back(),
                        naive.back(), floor.back());
            std::fflush(stdout);
        }
        if (events != 0 || signalled != 0) {
            std::printf("unexpected: %d events, %d signalled objects\n", events, signalled);
            status = 1;
        }
        std::printf("median per tick over %d monitors: tick %.1f us; naive (one wait per object) %.1f us; "
                    "bare runs of 64 %.1f us\n",
                    kMonitors, Median(tick), Median(naive), Median(floor));
        std::printf("tick / naive = %.2f; tick / bare runs of 64 = %.2f\n", Median(tick) / Median(naive),
                    Median(tick) / Median(floor));
    }
    for (const std::wstring& folder : folders)
        RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(base.c_str());
    return status;
}
