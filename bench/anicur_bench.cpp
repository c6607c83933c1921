// Loading every animated cursor of the corpus three ways, in the same run:
//   reader  - TAniCur::Load (frames made from memory)
//   system  - LoadCursorFromFileW on the same file (the system's own loader)
//   tempfile- the same walk, but every frame written to a temporary file and
//             loaded from there as an icon, then added to an image list
// Prints the time of each per round and the ratios reader/system and
// tempfile/reader.
#include "bench/bench_clock.h"
#include "anicur/AniCur.h"
#include "anicur/ani_walk.h"
#include "anicur/cursor_file.h"
#include "ui/handles.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace anicur;

namespace {

bool IsAnimated(const fs::path& path)
{
    char head[12] = {};
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f)
        return false;
    const size_t got = fread(head, 1, sizeof head, f);
    fclose(f);
    return got == 12 && std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "ACON";
}

int LoadWithReader(const std::wstring& path)
{
    TAniCur a;
    return a.Load(path) == AniOk ? a.Frames.Count() : -1;
}

int LoadWithSystem(const std::wstring& path)
{
    ui::UniqueCursor c(LoadCursorFromFileW(path.c_str()));
    return c ? 1 : -1;
}

// The step count the system's loader found (user32's undocumented
// GetCursorFrameInfo), -1 when it could not load the file.
int SystemSteps(const std::wstring& path)
{
    using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    static const auto info = reinterpret_cast<FrameInfo>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetCursorFrameInfo")));
    ui::UniqueCursor c(LoadCursorFromFileW(path.c_str()));
    if (!c)
        return -1;
    DWORD rate = 0, steps = 1;
    if (info)
        info(c.get(), 0, 0, &rate, &steps);
    return static_cast<int>(steps);
}

int ReaderSteps(const std::wstring& path)
{
    TAniCur a;
    return a.Load(path) == AniOk ? a.StepCount : -1;
}

// Frames through a temporary file, one write and one icon load each.
int LoadThroughTempFile(const std::wstring& path, const std::wstring& temp)
{
    std::vector<uint8_t> bytes;
    if (ReadCursorFile(path, bytes) != AniOk)
        return -1;
    AniWalkResult walk = AniWalk(bytes.data(), bytes.size());
    if (walk.code != AniOk)
        return -1;
    ui::UniqueImageList list(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 4));
    ImageList_SetBkColor(list.get(), GetSysColor(COLOR_WINDOW));
    int made = 0;
    for (const ByteRange& f : walk.frames) {
        if (f.length >= 4)
            bytes[f.offset + 2] = 1; // read the frame as an icon file
        ui::UniqueFile out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!out || !WriteFile(out.get(), bytes.data() + f.offset, static_cast<DWORD>(f.length), &written, nullptr))
            return -1;
        out.reset();
        ui::UniqueIcon icon(static_cast<HICON>(LoadImageW(nullptr, temp.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
        if (!icon)
            return -1;
        ImageList_AddIcon(list.get(), icon.get());
        ++made;
    }
    DeleteFileW(temp.c_str());
    return made;
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    std::vector<std::wstring> files;
    for (const auto& e : fs::recursive_directory_iterator(fs::path(TARIMOKU_CORPUS)))
        if (e.is_regular_file() && IsAnimated(e.path()))
            files.push_back(e.path().wstring());
    std::sort(files.begin(), files.end());

    wchar_t tempDir[MAX_PATH];
    GetTempPathW(MAX_PATH, tempDir);
    const std::wstring temp = std::wstring(tempDir) + L"AniCur.$$$";

    // Files the system's loader reads as fully as the reader does (Wine's
    // loader rejects some and reads PNG frames as a single step): the fair
    // comparison.
    std::printf("%zu animated cursor files\n", files.size());
    std::vector<bool> comparable;
    for (const std::wstring& f : files) {
        const int ours = ReaderSteps(f), system = SystemSteps(f);
        comparable.push_back(system == ours);
        // Per file, the second of two loads each (the profile of where the
        // reader's time goes).
        LoadWithReader(f);
        const double r0 = Now();
        const int frames = LoadWithReader(f);
        const double r1 = Now();
        LoadWithSystem(f);
        const double s1 = Now();
        std::printf("  %-32ls reader %3d frames %3d steps %6.2f ms, system %3d steps %6.2f ms%s, tempfile %3d frames\n",
                    fs::path(f).filename().c_str(), frames, ours, (r1 - r0) * 1000, system, (s1 - r1) * 1000,
                    system == ours ? "" : " (left out of the like-for-like figure)", LoadThroughTempFile(f, temp));
    }

    constexpr int Rounds = 6; // the first is a warm-up and not counted
    std::vector<double> reader, system, tempfile, readerLike, systemLike;
    for (int round = 0; round < Rounds; ++round) {
        double r = 0, s = 0, t = 0, rl = 0, sl = 0;
        for (size_t i = 0; i < files.size(); ++i) {
            const std::wstring& f = files[i];
            const double t0 = Now();
            LoadWithReader(f);
            const double t1 = Now();
            LoadWithSystem(f);
            const double t2 = Now();
            LoadThroughTempFile(f, temp);
            const double t3 = Now();
            r += t1 - t0;
            s += t2 - t1;
            t += t3 - t2;
            if (comparable[i]) {
                rl += t1 - t0;
                sl += t2 - t1;
            }
        }
        if (round == 0)
            continue;
        reader.push_back(r * 1000);
        system.push_back(s * 1000);
        tempfile.push_back(t * 1000);
        readerLike.push_back(rl * 1000);
        systemLike.push_back(sl * 1000);
        std::printf("round %d: reader %7.1f ms  system %7.1f ms  tempfile %7.1f ms\n", round, r * 1000, s * 1000,
                    t * 1000);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double r = median(reader), s = median(system), t = median(tempfile);
    const double rl = median(readerLike), sl = median(systemLike);
    std::printf("median of %d rounds, whole corpus: reader %.1f ms, system %.1f ms, tempfile %.1f ms\n", Rounds - 1,
                r, s, t);
    std::printf("reader / system loader, whole corpus          = %.2f (goal: at most 0.3)\n", r / s);
    std::printf("ratio reader / LoadCursorFromFileW: %.3f\n", r / s);
    // Where the reader's time goes: the file read, the chunk walk, and the
    // rest (the frames made into pixels), measured right after a whole load
    // of the same file (a median of other rounds, or a first read of a file
    // that is not warm, can leave less than nothing for the frames).
    double readMs = 0, walkMs = 0, loadMs = 0;
    for (int round = 0; round < 3; ++round)
        for (const std::wstring& f : files) {
            std::vector<uint8_t> bytes;
            const double t0 = Now();
            LoadWithReader(f);
            const double t1 = Now();
            if (ReadCursorFile(f, bytes) != AniOk)
                continue;
            const double t2 = Now();
            AniWalk(bytes.data(), bytes.size());
            const double t3 = Now();
            loadMs += (t1 - t0) * 1000 / 3;
            readMs += (t2 - t1) * 1000 / 3;
            walkMs += (t3 - t2) * 1000 / 3;
        }
    std::printf("reader profile: read %.1f ms, walk %.2f ms, frames %.1f ms (of %.1f ms)\n", readMs, walkMs,
                std::max(0.0, loadMs - readMs - walkMs), loadMs);
    std::printf("reader / system loader, files both read fully = %.2f (%.1f ms / %.1f ms)\n", rl / sl, rl, sl);
    std::printf("tempfile / reader                             = %.2f (goal: at least 3)\n", t / r);
    return 0;
}
