// One hundred animated previews, all visible in a large main window, animated
// for ten seconds each way, in the same run:
//   reference - the first design's timer: three passes of one jiffy per 55 ms
//               tick with ~17 ms waits between them
//   program   - the program's timers: the procedure runs every 55 ms (timer 1)
//               and every 15 ms (the step timer, while previews exist); each
//               preview moves on by the jiffies really passed and is drawn at
//               most once per call
//   timer1    - the same procedure on timer 1 alone (steps shorter than its
//               55 ms are passed over)
// Before that, what the pieces cost, and the list's painting with and
// without the previews' frames drawn over it. With --with-cur thirty of the
// files are static cursors.
// For each: the share of the user-interface thread's wall time spent in the
// timer procedure (drawing included), the worst and 99th-percentile delay of
// a message posted every 3 ms from another thread, the pace (steps the
// animation advanced over steps the files prescribe for the time that
// passed) and the steps shown (drawn) over steps prescribed.
#include "app/previews/preview_steps.h"
#include "app/ufrmMain.h"
#include "bench/bench_corpus.h"
#include "bench/previews_reference.h"
#include "idlist/idlist.h"
#include "ui/application.h"
#include "ui/seams.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// CPU time of this thread in clock units. Wine counts it in steps of 10 ms,
// so only sums over many calls mean something.
long long ThreadCpu()
{
    FILETIME c, e, k, u;
    GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
    const unsigned long long hundredNs = ULARGE_INTEGER{{k.dwLowDateTime, k.dwHighDateTime}}.QuadPart +
                                         ULARGE_INTEGER{{u.dwLowDateTime, u.dwHighDateTime}}.QuadPart;
    return static_cast<long long>(hundredNs * 6 / 1000); // 1/60000 s
}

long long Clock()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return preview::ClockFromCounter(c.QuadPart, f.QuadPart);
}
double Ms(long long units) { return double(units) / double(preview::kClockPerMs); }

constexpr UINT WM_PROBE = WM_APP + 1;
constexpr UINT_PTR kBenchTimer = 7; // and the ids after it

// The bench window receives the probes and the bench's own timer.
struct Run {
    std::function<long long()> tick; // answers the clock units spent animating
    long long busy = 0;
    long long busyCpu = 0;
    std::vector<long long> ticks;
    std::vector<long long> delays;
};
Run* g_run = nullptr;

LRESULT CALLBACK BenchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (g_run && msg == WM_PROBE) {
        g_run->delays.push_back(Clock() - static_cast<long long>(lp));
        return 0;
    }
    if (g_run && msg == WM_TIMER && wp >= kBenchTimer && wp < kBenchTimer + 4) {
        const long long cpu0 = ThreadCpu();
        long long inside = g_run->tick();
        g_run->busyCpu += ThreadCpu() - cpu0;
        g_run->busy += inside;
        g_run->ticks.push_back(inside);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

struct Figures {
    double share;     // of wall time inside the timer procedure
    double cpu;       // CPU time spent in the timer procedure over wall time
    double threadCpu; // CPU time of the thread (everything it did) over wall time
    double medianMs;  // of one timer call
    double ticksPerS;
    double worstMs; // posted message delay
    double p99Ms;
    double pace;  // steps advanced / prescribed
    double shown; // steps drawn / prescribed
};

Figures Measure(HWND bench, std::vector<UINT> periodsMs, std::function<long long()> tick, double seconds)
{
    Run run;
    run.tick = std::move(tick);
    g_run = &run;
    std::atomic<bool> stop{false};
    std::thread poster([&] {
        while (!stop) {
            PostMessageW(bench, WM_PROBE, 0, static_cast<LPARAM>(Clock()));
            Sleep(3);
        }
    });
    const long long cpuStart = ThreadCpu();
    const long long start = Clock();
    for (size_t i = 0; i < periodsMs.size(); ++i)
        SetTimer(bench, kBenchTimer + i, periodsMs[i], nullptr);
    MSG msg;
    while (Clock() - start < static_cast<long long>(seconds * preview::kClockPerSecond) && GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (size_t i = 0; i < periodsMs.size(); ++i)
        KillTimer(bench, kBenchTimer + i);
    const long long wall = Clock() - start;
    const long long cpuUsed = ThreadCpu() - cpuStart;
    stop = true;
    poster.join();
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    g_run = nullptr;
    std::sort(run.delays.begin(), run.delays.end());
    Figures f{};
    f.share = double(run.busy) / double(wall);
    f.cpu = double(run.busyCpu) / double(wall);
    f.threadCpu = double(cpuUsed) / double(wall);
    std::sort(run.ticks.begin(), run.ticks.end());
    if (!run.ticks.empty())
        f.medianMs = Ms(run.ticks[run.ticks.size() / 2]);
    f.ticksPerS = double(run.ticks.size()) / (double(wall) / double(preview::kClockPerSecond));
    if (!run.delays.empty()) {
        f.worstMs = Ms(run.delays.back());
        f.p99Ms = Ms(run.delays[run.delays.size() * 99 / 100]);
    }
    return f;
}

std::wstring MakeFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + L"tarimoku-bench-previews-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void RemoveFolder(const std::wstring& dir, const std::vector<std::wstring>& names)
{
    for (const auto& n : names) {
        std::wstring p = dir + L"\\" + n;
        SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(p.c_str());
    }
    RemoveDirectoryW(dir.c_str());
}

void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // --with-cur: thirty of the hundred files are static cursors.
    const bool withCur = argc > 1 && std::string(argv[1]) == "--with-cur";
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    const double seconds = 10.0;
    const int kPreviews = 100;

    TfrmTarimoku form;
    if (!form.Create()) {
        std::printf("cannot create the main window\n");
        return 1;
    }
    HWND w = form.Handle();
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(w, nullptr, 0, 0, screenW, screenH, SWP_NOZORDER);
    form.Show();
    Pump(200);

    // A hundred copies of the corpus's animated cursors, of many paces.
    const wchar_t* corpus[] = {
        L"reconstruct/wait.ani", L"capitaine/master/busy.ani", L"webamp/fixtures/piano.ani",
        L"jfhbrook-icons/Link.ani", L"catppuccin/catppuccin-mocha-dark-cursors/wait.ani",
        L"imhex-patterns/ani.compatibility.hexpat.ani", L"gdk-pixbuf/test-animation.ani",
        L"capitaine/master/working-in-background.ani"};
    const wchar_t* statics[] = {L"reconstruct/pencil.cur", L"reconstruct/magnify.cur", L"reconstruct/domain.cur",
                                L"reconstruct/zoom.cur", L"reconstruct/scissor.cur"};
    const int kStatics = withCur ? 30 : 0;
    std::printf("folder: %d .ani, %d .cur\n", kPreviews - kStatics, kStatics);
    const std::wstring dir = MakeFolder();
    std::vector<std::wstring> names;
    for (int i = 0; i < kPreviews; ++i) {
        // Every third or so a static cursor, spread over the list.
        const bool still = i % 10 < kStatics / 10;
        std::wstring from = CorpusPath(still ? statics[i % 5] : corpus[i % 8]);
        wchar_t name[32];
        swprintf(name, 32, still ? L"c%03d.cur" : L"c%03d.ani", i);
        names.push_back(name);
        std::wstring to = dir + L"\\" + name;
        CopyFileW(from.c_str(), to.c_str(), FALSE);
        SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // The list shows the folder as the tree would have it show it.
    idlist::AbsoluteIDList folder = idlist::IDListFromPath(dir);
    form.FileView.SetFolder(folder.get());
    ui::UniqueImageList icons(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1));
    form.FileView.SetImageList(icons.get(), LVSIL_NORMAL);
    Pump(200);
    form.ListPreviews.Start();
    long long loadStart = Clock();
    for (bool done = false; !done;) {
        done = true;
        form.ListPreviews.PreviewIdle(done);
    }
    std::printf("loaded %d of %d previews in %.0f ms\n", form.ListPreviews.FPreviewCount, kPreviews, Ms(Clock() - loadStart));

    // All of them must be in view.
    HWND list = form.FileView.Handle();
    RECT client;
    GetClientRect(list, &client);
    int visible = 0;
    for (int i = 0; i < kPreviews; ++i) {
        RECT r{LVIR_ICON};
        SendMessageW(list, LVM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
        visible += r.left >= 0 && r.top >= 0 && r.right <= client.right && r.top + 32 <= client.bottom;
    }
    std::printf("visible: %d of %d (list client %ld x %ld)\n", visible, kPreviews, client.right, client.bottom);
    Pump(200);

    {
        // What the pieces cost: drawing from an image list against copying
        // from the atlas, a message to the list, and whole ticks of the
        // program's procedure (55 ms of a fake clock each).
        HDC dc = GetDC(list);
        auto time = [&](const char* what, auto f) {
            long long t0 = Clock();
            for (int r = 0; r < 10; ++r)
                f();
            std::printf("%-34s %8.3f ms per 100\n", what, Ms(Clock() - t0) / 10);
        };
        std::vector<POINT> at;
        for (int i = 0; i < 100; ++i)
            at.push_back(form.FileView.ItemPosition(i));
        const RECT everywhere{0, 0, 1 << 15, 1 << 15};
        time("compose and copy onto the list", [&] {
            preview::FrameAtlas& atlas = form.ListPreviews.composedFrames[0];
            atlas.Clear();
            for (int i = 0; i < 100; ++i) {
                TPreviewEntry& e = form.ListPreviews.FPreviews[size_t(i)];
                e.Slots[0] = atlas.Add(e.AniCur->Frames);
                atlas.Draw(dc, e.Slots[0], e.AniCur->Frames, 0, at[size_t(i)].x, at[size_t(i)].y, everywhere);
            }
        });
        time("copy from the atlas onto the list", [&] {
            for (int i = 0; i < 100; ++i) {
                const TPreviewEntry& e = form.ListPreviews.FPreviews[size_t(i)];
                form.ListPreviews.composedFrames[0].Draw(dc, e.Slots[0], e.AniCur->Frames, 0, at[size_t(i)].x,
                                                         at[size_t(i)].y, everywhere);
            }
        });
        time("ListView::ItemPosition", [&] {
            for (int i = 0; i < 100; ++i)
                at[size_t(i)] = form.FileView.ItemPosition(i);
        });
        ReleaseDC(list, dc);
        std::printf("atlas pages: %d\n", form.ListPreviews.composedFrames[0].Pages());
        long long fake = Clock();
        ui::CurrentSeams().performanceCounter = [&] { return ui::CounterReading{fake, preview::kClockPerSecond}; };
        // `everyStep`: every preview's step ends in each tick.
        auto ticks = [&](const char* what, bool everyStep = false) {
            long long t0 = Clock(), c0 = ThreadCpu();
            for (int r = 0; r < 100; ++r) {
                fake += 55 * preview::kClockPerMs;
                if (everyStep)
                    for (int i = 0; i < form.ListPreviews.FPreviewCount; ++i)
                        form.ListPreviews.FPreviews[size_t(i)].LastStep = fake - 60 * preview::kClockPerSecond;
                form.ListPreviews.AnimateTimerProc();
            }
            const double ms = Ms(Clock() - t0) / 100;
            std::printf("%-34s %8.3f ms wall, %.3f ms cpu per tick\n", what, ms, Ms(ThreadCpu() - c0) / 100);
            return ms;
        };
        form.ListPreviews.PreviewDraw = [](int, int, int, int) {};
        ticks("tick, drawing left out");
        form.ListPreviews.PreviewDraw = nullptr;
        ticks("tick");
        const double everyTick = ticks("tick, every step", true);

        // The list painting itself whole, with the previews' frames drawn
        // over the icons and without (the reference: a busy window's
        // painting draws none).
        auto paint = [&](const char* what) {
            long long t0 = Clock(), c0 = ThreadCpu();
            for (int r = 0; r < 20; ++r)
                RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            const double ms = Ms(Clock() - t0) / 20;
            std::printf("%-34s %8.3f ms wall, %.3f ms cpu per paint\n", what, ms, Ms(ThreadCpu() - c0) / 20);
            return ms;
        };
        std::optional<Busy::Hold> busy(form.FBusy.Raise());
        const double plainPaint = paint("list paint, no previews (ref.)");
        busy.reset();
        const double previewPaint = paint("list paint with the previews");
        std::printf("ratio paint with previews / without: %.3f\n", previewPaint / plainPaint);
        {
            // Profile: the share of a paint spent in the previews' own
            // custom draw (composing, copying, the item notifications'
            // handling), the rest being the list's own painting.
            auto inner = form.FileView.OnCustomDraw;
            long long inside = 0;
            form.FileView.OnCustomDraw = [&](const NMLVCUSTOMDRAW& d) {
                const long long t0 = Clock();
                const LRESULT r = inner(d);
                inside += Clock() - t0;
                return r;
            };
            const double profiled = paint("list paint, profiled");
            std::printf("profile: %.3f ms of %.3f ms per paint in the previews' custom draw\n", Ms(inside) / 20,
                        profiled);
            form.FileView.OnCustomDraw = inner;
        }

        // Every item selected in the focused list: frames are blended.
        SetFocus(list);
        for (int i = 0; i < kPreviews; ++i)
            ListView_SetItemState(list, i, LVIS_SELECTED, LVIS_SELECTED);
        Pump(100);
        paint("list paint, all selected, first"); // composes the selected frames
        auto inner = form.FileView.OnCustomDraw;
        long long inside = 0;
        form.FileView.OnCustomDraw = [&](const NMLVCUSTOMDRAW& d) {
            const long long t0 = Clock();
            const LRESULT r = inner(d);
            inside += Clock() - t0;
            return r;
        };
        const double selectedPaint = paint("list paint, all selected");
        std::printf("profile: %.3f ms of %.3f ms per selected paint in the previews' custom draw\n",
                    Ms(inside) / 20, selectedPaint);
        form.FileView.OnCustomDraw = inner;
        std::printf("ratio paint all selected / unselected: %.3f\n", selectedPaint / previewPaint);
        // The list's own share: the same paints without the previews.
        busy.emplace(form.FBusy.Raise());
        const double plainSelected = paint("list paint, all selected, no previews");
        busy.reset();
        std::printf("ratio list's own paint all selected / unselected: %.3f\n", plainSelected / plainPaint);
        const double selectedTick = ticks("tick, all selected, every step", true);
        std::printf("tick, all selected, every step: %.3f ms (goal <= 5 ms: %s)\n", selectedTick,
                    selectedTick <= 5 ? "met" : "MISSED");
        std::printf("ratio tick all selected every step / unselected: %.3f\n", selectedTick / everyTick);
        std::printf("ratio tick all selected every step / list paint without previews: %.3f\n",
                    selectedTick / plainPaint);
        for (int i = 0; i < kPreviews; ++i)
            ListView_SetItemState(list, i, 0, LVIS_SELECTED);
        Pump(100);
        ui::CurrentSeams().performanceCounter = ui::SystemSeams().performanceCounter;
    }
    // The form's own timer is replaced by the bench's, which times each call.
    KillTimer(w, TfrmTarimoku::kAnimateTimer);
    form.ListPreviews.stepTimer.Stop();
    WNDCLASSW cls{};
    cls.lpfnWndProc = BenchProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"TarimokuPreviewBench";
    RegisterClassW(&cls);
    HWND bench = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);

    const int n = form.ListPreviews.FPreviewCount;
    auto restart = [&](long long at) {
        for (int i = 0; i < n; ++i) {
            form.ListPreviews.FPreviews[size_t(i)].Step = 0;
            form.ListPreviews.FPreviews[size_t(i)].LastStep = at;
        }
    };
    auto prescribed = [&](long long from, long long to) {
        long long total = 0;
        for (int i = 0; i < n; ++i)
            if (!form.ListPreviews.FPreviews[size_t(i)].AniCur->Static)
                total += preview::AdvanceSteps(form.ListPreviews.FPreviews[size_t(i)].AniCur->Rates, 0, from, to).passed;
        return total;
    };

    // Reference: the first design.
    ReferenceAnimation reference(form);
    long long refDrawn = 0;
    restart(0);
    long long refStart = Clock(), refEnd = refStart;
    Figures ref = Measure(
        bench, {TfrmTarimoku::kAnimatePeriodMs}, [&] {
            long long t0 = Clock();
            refDrawn += reference.Tick();
            refEnd = Clock();
            return refEnd - t0;
        },
        seconds);
    long long refAdvanced = 0;
    for (long long a : reference.Advanced())
        refAdvanced += a;
    const long long refPrescribed = prescribed(refStart, refEnd);
    ref.pace = double(refAdvanced) / double(refPrescribed);
    ref.shown = double(refDrawn) / double(refPrescribed);

    // The program's timer procedure, at two periods.
    auto measureElapsed = [&](std::vector<UINT> periods) {
        long long lastClock = 0, advanced = 0, shown = 0;
        ui::CurrentSeams().performanceCounter = [&] {
            return ui::CounterReading{lastClock = Clock(), preview::kClockPerSecond};
        };
        std::vector<std::pair<int, long long>> before(size_t(n), {0, 0});
        const long long start = Clock();
        restart(start);
        Figures f = Measure(
            bench, periods, [&] {
                for (int i = 0; i < n; ++i)
                    before[size_t(i)] = {form.ListPreviews.FPreviews[size_t(i)].Step,
                                         form.ListPreviews.FPreviews[size_t(i)].LastStep};
                // Only this call is the animation's share; the counting around
                // it is the bench's own.
                long long t0 = Clock();
                form.ListPreviews.AnimateTimerProc();
                long long inside = Clock() - t0;
                for (int i = 0; i < n; ++i) {
                    const TPreviewEntry& e = form.ListPreviews.FPreviews[size_t(i)];
                    long long passed = preview::AdvanceSteps(e.AniCur->Rates, before[size_t(i)].first,
                                                             before[size_t(i)].second, e.LastStep)
                                           .passed;
                    advanced += passed;
                    shown += passed > 0;
                }
                return inside;
            },
            seconds);
        const long long p = prescribed(start, lastClock);
        f.pace = double(advanced) / double(p);
        f.shown = double(shown) / double(p);
        ui::CurrentSeams().performanceCounter = ui::SystemSeams().performanceCounter;
        return f;
    };
    Figures ours = measureElapsed({TfrmTarimoku::kAnimatePeriodMs, Previews::kStepPeriodMs});
    Figures slow = measureElapsed({TfrmTarimoku::kAnimatePeriodMs});

    std::printf("\n%-10s %8s %8s %8s %9s %8s %9s %9s %7s %7s\n", "timer", "share", "cpu", "thread", "median ms",
                "ticks/s", "worst ms", "p99 ms", "pace", "shown");
    for (auto [name, f] : {std::pair{"reference", ref}, std::pair{"program", ours}, std::pair{"timer1", slow}})
        std::printf("%-10s %7.2f%% %7.2f%% %7.2f%% %9.3f %8.1f %9.2f %9.2f %7.4f %7.4f\n", name, 100 * f.share,
                    100 * f.cpu, 100 * f.threadCpu, f.medianMs, f.ticksPerS, f.worstMs, f.p99Ms, f.pace, f.shown);
    {
        double loadavg = 0;
        if (FILE* la = std::fopen("Z:\\proc\\loadavg", "r")) {
            if (std::fscanf(la, "%lf", &loadavg) != 1)
                loadavg = 0;
            std::fclose(la);
        }
        std::printf("machine load average at the end: %.2f\n", loadavg);
    }
    std::printf("\nratios program/reference: share %.3f, worst delay %.3f, pace %.3f\n", ours.share / ref.share,
                ours.worstMs / ref.worstMs, ours.pace / ref.pace);
    std::printf("goals (program): share < 5%%: %s; worst delay <= 20 ms: %s; pace within 2%%: %s\n",
                ours.share < 0.05 ? "met" : "MISSED", ours.worstMs <= 20 ? "met" : "MISSED",
                ours.pace > 0.98 && ours.pace < 1.02 && ours.shown > 0.98 ? "met" : "MISSED");

    DestroyWindow(bench);
    form.ListPreviews.Stop();
    DestroyWindow(w);
    RemoveFolder(dir, names);
    return 0;
}
