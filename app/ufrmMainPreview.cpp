// Animated previews of the main window: every .ani file of the folder in view
// is loaded a few at a time while the program is idle, and its frames are
// drawn over its icon in the file list at the pace the file prescribes.
#include "app/ufrmMain.h"

#include "anicur/AniCur.h"
#include "app/preview_draw.h"
#include "app/preview_steps.h"
#include "ui/screen_cursor.h"


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
    // Each item's own parsing path names its file: the caption may hide the
    // extension, and a merged folder (the desktop) shows items of several
    // folders. An item without a file-system path is never looked up, so
    // nothing relative to the current directory can be animated.
    std::vector<std::wstring> paths;
    paths.reserve(static_cast<size_t>(items));
    bool any = false;
    for (int i = 0; i < items; ++i) {
        std::wstring path = UpToNull(GetItemPath(FileView, i));
        if (!preview::IsFileSystemPath(path))
            path.clear();
        any = any || !path.empty();
        paths.push_back(std::move(path));
    }
    if (!any)
        return;

    ui::ScreenCursor::Set(IDC_APPSTARTING);
    FPreviews = std::make_unique<TPreviewEntry[]>(static_cast<size_t>(items));
    FPreviewCapacity = items;
    FPreviewCount = 0;
    FPreviewPaths = std::move(paths);
    FNextPreview = 0;
}

void TfrmTarimoku::StopPreviews()
{
    BusyScope busy(FBusy);
    FStepTimer.Stop();
    if (!FPreviewPaths.empty()) {
        FPreviewPaths.clear();
        FNextPreview = 0;
        EndStartingCursor();
    }
    FPreviews.reset(); // frees every reader with its frames
    FPreviewFrames.Clear();
    FPreviewCount = 0;
    FPreviewCapacity = 0;
    FPreviewLayout = {};
    FPreviewCheck = 0;
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
        auto ani = std::make_unique<TAniCur>();
        // A cursor without steps or frames has nothing to animate: it gets no
        // entry, just like one that fails to load.
        // Nor does one whose frames would take the atlas past the budget:
        // it keeps the shell's icon.
        if (ani->Load(FPreviewPaths[static_cast<size_t>(FNextPreview)]) == 0 && CanAnimate(*ani) &&
            preview::WithinBudget(FPreviewFrames.Bytes(), FPreviewFrames.Growth(ani->Frames.get()), FPreviewBudget) &&
            FPreviews && FPreviewCount < FPreviewCapacity) {
            TPreviewEntry& entry = FPreviews[static_cast<size_t>(FPreviewCount)];
            entry.ItemIndex = FNextPreview;
            entry.AniCur = std::move(ani);
            entry.Step = 0;
            entry.LastStep = PreviewClock ? PreviewClock() : PerformanceClock();
            entry.Slot = FPreviewFrames.Add(entry.AniCur->Frames.get());
            entry.Placed = false;
            ++FPreviewCount;
            if (!FStepTimer.Running() && IsWindowVisible(Handle()))
                FStepTimer.Start(Handle(), kStepTimer, kStepPeriodMs, [this] { AnimateTimerProc(); });
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
    HWND list = FileView.Handle();
    if (!FPreviews || FPreviewCount <= 0 || !list)
        return;
    const long long now = PreviewClock ? PreviewClock() : PerformanceClock();
    bool anyDue = false;
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (!entry.AniCur)
            continue;
        const preview::StepAdvance a = preview::AdvanceSteps(entry.AniCur->Rates, entry.Step, entry.LastStep, now);
        entry.Step = a.step;
        entry.LastStep = a.stepStart;
        entry.Due = a.passed > 0;
        anyDue = anyDue || entry.Due;
    }
    if (!anyDue)
        return; // most ticks: no step began, nothing to ask the list

    const int items = FileView.Count();
    RECT bounds{}, client{};
    GetWindowRect(list, &bounds);
    GetClientRect(list, &client);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const POINT listOrigin = FileView.Origin();
    const preview::ListPoint origin = preview::ToViewCoordinates({listOrigin.x, listOrigin.y}, {0, 0}).origin;
    // Where an item's icon is, in view coordinates (unchanged by scrolling).
    auto place = [&](int item) {
        const POINT p = FileView.ItemPosition(item);
        const preview::ListPoint v = preview::ToViewCoordinates({listOrigin.x, listOrigin.y}, {p.x, p.y}).item;
        return POINT{v.x, v.y};
    };
    CheckPreviewPlaces({items, static_cast<int>(client.right), static_cast<int>(client.bottom)}, place);

    preview::FramePainter painter(list, FPreviewFrames);
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (!entry.Due)
            continue;
        entry.Due = false;
        if (entry.ItemIndex >= items)
            continue;
        if (!entry.Placed) {
            entry.Place = place(entry.ItemIndex);
            entry.Placed = true;
        }
        if (!preview::ItemInView(origin.x, origin.y, width, height, entry.Place.x, entry.Place.y))
            continue;
        const TAniCur& ani = *entry.AniCur;
        const int frame = ani.Sequence[static_cast<size_t>(entry.Step)];
        const int x = entry.Place.x - origin.x, y = entry.Place.y - origin.y;
        if (PreviewDraw)
            PreviewDraw(entry.ItemIndex, ani.Frames.get(), frame, x, y);
        else
            painter.Draw(entry.Slot, ani.Frames.get(), frame, x, y);
    }
}

// Item places are cached because asking the list is slow next to copying a
// frame. They hold while the count and the size of the list stay; anything
// else that moves items (spacing, font) is found by re-reading a couple of
// places per tick in turn, and any difference drops them all.
void TfrmTarimoku::CheckPreviewPlaces(const TPreviewLayout& layout, const std::function<POINT(int)>& place)
{
    auto forget = [&] {
        for (int i = 0; i < FPreviewCount; ++i)
            FPreviews[static_cast<size_t>(i)].Placed = false;
    };
    if (!(layout == FPreviewLayout)) {
        FPreviewLayout = layout;
        forget();
        return;
    }
    constexpr int kChecksPerTick = 2;
    for (int n = 0; n < kChecksPerTick && n < FPreviewCount; ++n) {
        FPreviewCheck %= FPreviewCount;
        const TPreviewEntry& e = FPreviews[static_cast<size_t>(FPreviewCheck++)];
        if (!e.Placed || e.ItemIndex >= layout.Items)
            continue;
        const POINT p = place(e.ItemIndex);
        if (p.x != e.Place.x || p.y != e.Place.y) {
            forget();
            return;
        }
    }
}
