// Animated previews of the main window: every .ani file of the folder in view
// is loaded a few at a time while the program is idle, and its frames are
// drawn over its icon in the file list at the pace the file prescribes.
#include "app/ufrmMain.h"

#include "anicur/AniCur.h"
#include "app/preview_steps.h"
#include "scheme/text_utils.h"
#include "ui/screen_cursor.h"

#include <optional>

namespace {

// At most this many .ani files are loaded per idle call, so that a folder
// full of them still shows its list at once.
constexpr int kLoadsPerIdle = 3;

long long PerformanceClock() noexcept
{
    LARGE_INTEGER count{}, frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return preview::ClockFromCounter(count.QuadPart, frequency.QuadPart);
}

// Raises FBusy for a scope, so the timer leaves the table alone meanwhile.
class BusyScope {
public:
    explicit BusyScope(int& busy) noexcept : busy_(busy) { ++busy_; }
    ~BusyScope() { --busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& busy_;
};

// The application-starting cursor is the previews' own; any other screen
// cursor (the hourglass of a refresh) belongs to someone else and stays.
void EndStartingCursor() noexcept
{
    if (ui::ScreenCursor::Current() == IDC_APPSTARTING)
        ui::ScreenCursor::Set(nullptr);
}

std::wstring UpToNull(std::wstring text)
{
    if (auto zero = text.find(L'\0'); zero != std::wstring::npos)
        text.resize(zero);
    return text;
}

bool CanAnimate(const TAniCur& ani) noexcept
{
    const int frames = ani.Frames ? ImageList_GetImageCount(ani.Frames.get()) : 0;
    return preview::Animatable(ani.StepCount, ani.Rates, ani.Sequence, frames);
}

} // namespace

void TfrmTarimoku::StartPreview()
{
    StopPreviews();
    const int items = FileView.Count();
    if (items <= 0)
        return;
    // Without a file-system folder the captions would be looked up relative to
    // the current directory and could animate some unrelated file.
    std::wstring folder = PreviewFolderPath();
    if (folder.empty())
        return;
    scheme::AddBackslash(folder);

    std::vector<std::wstring> paths;
    paths.reserve(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i)
        paths.push_back(folder + UpToNull(FileView.ItemText(i)));

    ui::ScreenCursor::Set(IDC_APPSTARTING);
    std::lock_guard<std::recursive_mutex> lock(PreviewLock);
    FPreviews = std::make_unique<TPreviewEntry[]>(static_cast<size_t>(items));
    FPreviewCapacity = items;
    FPreviewCount = 0;
    FPreviewPaths = std::move(paths);
    FNextPreview = 0;
}

void TfrmTarimoku::StopPreviews()
{
    BusyScope busy(FBusy);
    if (!FPreviewPaths.empty()) {
        FPreviewPaths.clear();
        FNextPreview = 0;
        EndStartingCursor();
    }
    std::lock_guard<std::recursive_mutex> lock(PreviewLock);
    FPreviews.reset(); // frees every reader with its frames
    FPreviewCount = 0;
    FPreviewCapacity = 0;
}

void TfrmTarimoku::PreviewIdle(bool& done)
{
    const int paths = static_cast<int>(FPreviewPaths.size());
    if (FNextPreview >= paths) {
        // Nothing left to examine: the starting cursor may only have been put
        // back by someone restoring an older screen cursor; end it again.
        EndStartingCursor();
        return;
    }
    for (int n = 0; n < kLoadsPerIdle; ++n) {
        while (FNextPreview < paths && !preview::HasAniExtension(FPreviewPaths[static_cast<size_t>(FNextPreview)]))
            ++FNextPreview;
        if (FNextPreview >= paths)
            break;
        std::lock_guard<std::recursive_mutex> lock(PreviewLock);
        auto ani = std::make_unique<TAniCur>();
        // A cursor without steps or frames has nothing to animate: it gets no
        // entry, just like one that fails to load.
        if (ani->Load(FPreviewPaths[static_cast<size_t>(FNextPreview)]) == 0 && CanAnimate(*ani) &&
            FPreviews && FPreviewCount < FPreviewCapacity) {
            TPreviewEntry& entry = FPreviews[static_cast<size_t>(FPreviewCount)];
            entry.ItemIndex = FNextPreview;
            entry.AniCur = std::move(ani);
            entry.Step = 0;
            entry.LastStep = PreviewClock ? PreviewClock() : PerformanceClock();
            ++FPreviewCount;
        }
        ++FNextPreview;
        done = false;
    }
    if (FNextPreview >= paths)
        EndStartingCursor();
}

// Each tick moves every preview on by the jiffies that have really passed
// since its step began and draws it once if its step changed. Nothing waits:
// the start of a step moves by exact step durations, so time carried over
// between ticks is kept and the pace follows the file, not the timer.
void TfrmTarimoku::AnimateTimerProc()
{
    if (FBusy > 0)
        return; // a refresh, navigation or file operation is running
    std::lock_guard<std::recursive_mutex> lock(PreviewLock);
    HWND list = FileView.Handle();
    if (!FPreviews || FPreviewCount <= 0 || !list)
        return;
    const long long now = PreviewClock ? PreviewClock() : PerformanceClock();
    const int items = FileView.Count();
    const POINT listOrigin = FileView.Origin();
    RECT bounds{};
    GetWindowRect(list, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;

    std::optional<ui::WindowDC> dc; // taken at the first frame to draw
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (!entry.AniCur)
            continue;
        const TAniCur& ani = *entry.AniCur;
        const preview::StepAdvance a = preview::AdvanceSteps(ani.Rates, entry.Step, entry.LastStep, now);
        entry.Step = a.step;
        entry.LastStep = a.stepStart;
        if (a.passed == 0 || entry.ItemIndex >= items)
            continue;
        const POINT listPos = FileView.ItemPosition(entry.ItemIndex);
        const preview::ViewGeometry view =
            preview::ToViewCoordinates({listOrigin.x, listOrigin.y}, {listPos.x, listPos.y});
        if (!preview::ItemInView(view.origin.x, view.origin.y, width, height, view.item.x, view.item.y))
            continue;
        const int frame = ani.Sequence[static_cast<size_t>(entry.Step)];
        const int x = view.item.x - view.origin.x, y = view.item.y - view.origin.y;
        if (PreviewDraw) {
            PreviewDraw(entry.ItemIndex, ani.Frames.get(), frame, x, y);
            continue;
        }
        if (!dc)
            dc.emplace(list);
        // The frame list's background is the window colour: ILD_NORMAL fills
        // the transparent pixels with it, so each frame covers the one before.
        if (dc->get())
            ImageList_Draw(ani.Frames.get(), frame, dc->get(), x, y, ILD_NORMAL);
    }
}
