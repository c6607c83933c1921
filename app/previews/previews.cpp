// The previews of a list's cursor files (see previews.h).
#include "app/previews/previews.h"

#include "anicur/cursor_check.h"
#include "app/previews/preview_steps.h"
#include "ui/screen_cursor.h"
#include "ui/seams.h"
#include "ui/text.h"

#include <algorithm>
#include <unordered_map>

namespace {

// At most this many cursor files are loaded per idle call, so that a folder
// full of them still shows its list at once.
constexpr int kLoadsPerIdle = 3;

// The application-starting cursor is the previews' own; any other screen
// cursor (the hourglass of a refresh) belongs to someone else and stays.
void EndStartingCursor() noexcept
{
    if (ui::ScreenCursor::Current() == IDC_APPSTARTING)
        ui::ScreenCursor::Set(nullptr);
}

bool CanAnimate(const TAniCur& ani) noexcept
{
    return preview::Animatable(ani.StepCount, ani.Rates, ani.Sequence, ani.Frames.Count());
}

// What a loaded cursor holds, as the budget counts it.
long long CostOf(const TAniCur& ani) noexcept
{
    return preview::PreviewBytes(ani.Frames.Count(), ani.Frames.Side(), static_cast<long long>(ani.Rates.size()));
}

// An item's path as the previews keep it: empty when it names no file.
std::wstring PreviewPath(const PreviewList& list, int item)
{
    std::wstring path(ui::UpToNull(list.ItemPath(item)));
    if (!preview::IsFileSystemPath(path))
        path.clear();
    return path;
}

} // namespace

void Previews::Start()
{
    Stop();
    const int items = list_.Count();
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
        paths.push_back(PreviewPath(list_, i));
        any = any || !paths.back().empty();
    }
    if (!any)
        return;

    ui::ScreenCursor::Set(IDC_APPSTARTING);
    FPreviews = std::make_unique<TPreviewEntry[]>(static_cast<size_t>(items));
    previewOfItem.assign(static_cast<size_t>(items), -1);
    previewCapacity = items;
    FPreviewCount = 0;
    FPreviewPaths = std::move(paths);
    FNextPreview = 0;
    keys_.resize(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i)
        keys_[static_cast<size_t>(i)] = list_.ItemKey(i);
    examined_.assign(static_cast<size_t>(items), 0);
    previewSide = list_.IconSide();
    list_.SetCustomDraw([this](const NMLVCUSTOMDRAW& draw) { return PreviewCustomDraw(draw, CDRF_DODEFAULT); });
}

void Previews::Stop()
{
    stepTimer.Stop();
    if (!FPreviewPaths.empty()) {
        FPreviewPaths.clear();
        FNextPreview = 0;
        EndStartingCursor();
    }
    list_.SetCustomDraw(nullptr); // the list paints on its own again
    FPreviews.reset();            // frees every reader with its frames
    previewOfItem.clear();
    for (preview::FrameAtlas& atlas : composedFrames)
        atlas.Clear();
    previewBytes = 0;
    FPreviewCount = 0;
    previewCapacity = 0;
    keys_.clear();
    examined_.clear();
    layout_ = {};
    check_ = 0;
}

long long Previews::Now() const
{
    const ui::CounterReading counter = ui::CurrentSeams().performanceCounter();
    return preview::ClockFromCounter(counter.count, counter.frequency);
}

void Previews::PreviewIdle(bool& done)
{
    if (FPreviews && list_.Handle() && list_.IconSide() != previewSide) {
        Start(); // the list's icons changed size: frames of the new size
        done = false;
        return;
    }
    const int paths = static_cast<int>(FPreviewPaths.size());
    if (FNextPreview >= paths) {
        // Nothing left to examine: the starting cursor may only have been put
        // back by someone restoring an older screen cursor; end it again.
        EndStartingCursor();
        return;
    }
    auto kindAt = [this](int i) { return anicur::CursorFileKind(FPreviewPaths[static_cast<size_t>(i)]); };
    // A sort may have moved items already looked at behind the loader.
    auto examined = [&](int i) { return static_cast<size_t>(i) < examined_.size() && examined_[static_cast<size_t>(i)]; };
    auto skip = [&](int i) { return examined(i) || kindAt(i) == anicur::CursorKind::None; };
    for (int n = 0; n < kLoadsPerIdle; ++n) {
        while (FNextPreview < paths && skip(FNextPreview))
            ++FNextPreview;
        if (FNextPreview >= paths)
            break;
        if (static_cast<size_t>(FNextPreview) < examined_.size())
            examined_[static_cast<size_t>(FNextPreview)] = 1;
        const std::wstring& path = FPreviewPaths[static_cast<size_t>(FNextPreview)];
        auto ani = std::make_unique<TAniCur>(previewSide);
        const int code = kindAt(FNextPreview) == anicur::CursorKind::Static ? ani->LoadStatic(path) : ani->Load(path);
        // A cursor without steps or frames has nothing to show: it gets no
        // entry, just like one that fails to load.
        // Nor does one whose frames and steps would take the previews past
        // the budget: it keeps the shell's icon.
        if (code == 0 && CanAnimate(*ani) && preview::WithinBudget(previewBytes, CostOf(*ani), previewBudget) &&
            FPreviews && FPreviewCount < previewCapacity) {
            previewBytes += CostOf(*ani);
            TPreviewEntry& entry = FPreviews[static_cast<size_t>(FPreviewCount)];
            entry.ItemIndex = FNextPreview;
            entry.AniCur = std::move(ani);
            entry.Step = 0;
            entry.lastStep = Now();
            entry.Slots[0] = entry.Slots[1] = {};
            entry.Placed = false;
            entry.Selected = false;
            if (static_cast<size_t>(FNextPreview) < previewOfItem.size())
                previewOfItem[static_cast<size_t>(FNextPreview)] = FPreviewCount;
            ++FPreviewCount;
            // Shown at once, not only when the first step ends: the list's
            // next paint of the icon draws the frame (and learns whether the
            // item is drawn selected).
            list_.RepaintIcon(entry.ItemIndex);
            HWND list = list_.Handle();
            if (!entry.AniCur->isStatic && !stepTimer.Running() && list && IsWindowVisible(list))
                stepTimer.Start(GetAncestor(list, GA_ROOT), kStepTimer, kStepPeriodMs, [this] { AnimateTimerProc(); });
        }
        ++FNextPreview;
        done = false;
    }
    if (FNextPreview >= paths)
        EndStartingCursor();
}

// A sort keeps every item and its key: each path, mark and entry moves to
// its item's new place. Anything else (an item gone or new, keys the items
// share) is no sort: the table is built again for the items as they are.
void Previews::ItemsReordered()
{
    if (FPreviewPaths.empty())
        return;
    const int items = list_.Count();
    std::unordered_map<LPARAM, int> before;
    bool same = items == static_cast<int>(keys_.size());
    for (size_t i = 0; same && i < keys_.size(); ++i)
        same = before.emplace(keys_[i], static_cast<int>(i)).second;
    std::vector<int> placeOf(keys_.size(), -1); // old index -> new index
    for (int i = 0; same && i < items; ++i) {
        auto it = before.find(list_.ItemKey(i));
        same = it != before.end() && placeOf[static_cast<size_t>(it->second)] < 0;
        if (same)
            placeOf[static_cast<size_t>(it->second)] = i;
    }
    if (!same) {
        Start();
        return;
    }
    std::vector<std::wstring> paths(keys_.size());
    std::vector<LPARAM> keys(keys_.size());
    std::vector<char> examined(keys_.size());
    for (size_t old = 0; old < keys_.size(); ++old) {
        const auto at = static_cast<size_t>(placeOf[old]);
        paths[at] = std::move(FPreviewPaths[old]);
        keys[at] = keys_[old];
        examined[at] = examined_[old];
    }
    FPreviewPaths = std::move(paths);
    keys_ = std::move(keys);
    examined_ = std::move(examined);
    previewOfItem.assign(keys_.size(), -1);
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        entry.ItemIndex = placeOf[static_cast<size_t>(entry.ItemIndex)];
        previewOfItem[static_cast<size_t>(entry.ItemIndex)] = i;
    }
    ForgetPlaces();
    // Whatever is left to load may now lie before the loader.
    FNextPreview = 0;
    while (FNextPreview < items && examined_[static_cast<size_t>(FNextPreview)])
        ++FNextPreview;
}

void Previews::DropEntry(int item)
{
    const auto at = static_cast<size_t>(item);
    const int entry = at < previewOfItem.size() ? previewOfItem[at] : -1;
    if (entry < 0)
        return;
    previewOfItem[at] = -1;
    TPreviewEntry& gone = FPreviews[static_cast<size_t>(entry)];
    previewBytes -= CostOf(*gone.AniCur);
    // The last entry takes its place.
    const int last = --FPreviewCount;
    if (entry != last) {
        gone = std::move(FPreviews[static_cast<size_t>(last)]);
        previewOfItem[static_cast<size_t>(gone.ItemIndex)] = entry;
    }
    FPreviews[static_cast<size_t>(last)] = TPreviewEntry{};
    check_ = 0;
}

void Previews::GrowEntries()
{
    if (FPreviewCount < previewCapacity)
        return;
    const int capacity = std::max(previewCapacity * 2, 8);
    auto grown = std::make_unique<TPreviewEntry[]>(static_cast<size_t>(capacity));
    for (int i = 0; i < FPreviewCount; ++i)
        grown[static_cast<size_t>(i)] = std::move(FPreviews[static_cast<size_t>(i)]);
    FPreviews = std::move(grown);
    previewCapacity = capacity;
}

void Previews::ItemDeleting(int item)
{
    const auto at = static_cast<size_t>(item);
    if (FPreviewPaths.empty() || item < 0 || at >= FPreviewPaths.size())
        return;
    DropEntry(item);
    previewOfItem.erase(previewOfItem.begin() + static_cast<std::ptrdiff_t>(at));
    FPreviewPaths.erase(FPreviewPaths.begin() + static_cast<std::ptrdiff_t>(at));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(at));
    examined_.erase(examined_.begin() + static_cast<std::ptrdiff_t>(at));
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (entry.ItemIndex > item)
            --entry.ItemIndex;
    }
    if (FNextPreview > item)
        --FNextPreview;
    ForgetPlaces();
}

void Previews::ItemInserted(int item)
{
    const auto at = static_cast<size_t>(item);
    if (FPreviewPaths.empty() || item < 0 || at > FPreviewPaths.size()) {
        // No table (none of the items had a file): one if this one has.
        if (!PreviewPath(list_, item).empty())
            Start();
        return;
    }
    const auto place = static_cast<std::ptrdiff_t>(at);
    FPreviewPaths.insert(FPreviewPaths.begin() + place, PreviewPath(list_, item));
    keys_.insert(keys_.begin() + place, list_.ItemKey(item));
    examined_.insert(examined_.begin() + place, 0);
    previewOfItem.insert(previewOfItem.begin() + place, -1);
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (entry.ItemIndex >= item) {
            ++entry.ItemIndex;
            previewOfItem[static_cast<size_t>(entry.ItemIndex)] = i;
        }
    }
    GrowEntries();
    FNextPreview = std::min(FNextPreview, item);
    ForgetPlaces();
}

void Previews::ItemUpdated(int item)
{
    const auto at = static_cast<size_t>(item);
    if (FPreviewPaths.empty() || item < 0 || at >= FPreviewPaths.size()) {
        if (!PreviewPath(list_, item).empty())
            Start();
        return;
    }
    DropEntry(item);
    FPreviewPaths[at] = PreviewPath(list_, item);
    keys_[at] = list_.ItemKey(item);
    examined_[at] = 0;
    FNextPreview = std::min(FNextPreview, item);
    list_.RepaintIcon(item);
}

void Previews::ForgetPlaces() noexcept
{
    for (int i = 0; i < FPreviewCount; ++i)
        FPreviews[static_cast<size_t>(i)].Placed = false;
}

// Each tick moves every preview on by the jiffies that have really passed
// since its step began and draws it once if its step changed. Nothing waits:
// the start of a step moves by exact step durations, so time carried over
// between ticks is kept and the pace follows the file, not the timer.
void Previews::AnimateTimerProc()
{
    if (list_.Busy())
        return; // a refresh, navigation or file operation is running
    HWND list = list_.Handle();
    if (!FPreviews || FPreviewCount <= 0 || !list)
        return;
    const long long now = Now();
    bool anyDue = false;
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (!entry.AniCur || entry.AniCur->isStatic)
            continue; // a static cursor's one frame is drawn by the list's painting
        const preview::StepAdvance a = preview::AdvanceSteps(entry.AniCur->Rates, entry.Step, entry.lastStep, now);
        entry.Step = a.step;
        entry.lastStep = a.stepStart;
        entry.Due = a.passed > 0;
        anyDue = anyDue || entry.Due;
    }
    if (!anyDue)
        return; // most ticks: no step began, nothing to ask the list

    // The icon size changed under the table (the list follows the screen's
    // DPI): nothing is drawn until the idle loader has read the frames
    // again at the new size.
    if (list_.IconSide() != previewSide)
        return;
    const int items = list_.Count();
    RECT bounds{}, client{};
    GetWindowRect(list, &bounds);
    GetClientRect(list, &client);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const POINT listOrigin = list_.Origin();
    const preview::ListPoint o = preview::ToViewCoordinates({listOrigin.x, listOrigin.y}, {0, 0}).origin;
    const POINT origin{o.x, o.y};
    // Where an item's icon is, in view coordinates (unchanged by scrolling).
    auto place = [&](int item) {
        const POINT p = list_.ItemPosition(item);
        const preview::ListPoint v = preview::ToViewCoordinates({listOrigin.x, listOrigin.y}, {p.x, p.y}).item;
        return POINT{v.x, v.y};
    };
    CheckPreviewPlaces({items, static_cast<int>(client.right), static_cast<int>(client.bottom)}, place);
    if (!previewDraw)
        UseCurrentLooks();
    RECT label{};
    const bool hasLabel = FocusedLabel(label);

    preview::FramePainter painter(list);
    for (int i = 0; i < FPreviewCount; ++i) {
        TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
        if (!entry.Due)
            continue;
        entry.Due = false;
        if (entry.ItemIndex >= items)
            continue;
        if (!entry.Placed)
            PlaceEntry(entry, origin);
        if (!preview::ItemInView(origin.x, origin.y, width, height, entry.Place.x, entry.Place.y, previewSide))
            continue;
        if (previewDraw)
            previewDraw(entry.ItemIndex, entry.AniCur->Sequence[static_cast<size_t>(entry.Step)],
                        entry.Place.x - origin.x, entry.Place.y - origin.y);
        else if (HDC dc = painter.Target())
            DrawPreviewFrame(dc, entry, origin, hasLabel ? &label : nullptr);
    }
}

void Previews::ColoursChanged()
{
    for (preview::FrameAtlas& atlas : composedFrames)
        atlas.Clear();
    if (HWND list = list_.Handle(); list && FPreviewCount > 0)
        InvalidateRect(list, nullptr, TRUE);
}

void Previews::UseCurrentLooks() noexcept
{
    const COLORREF background = ListView_GetBkColor(list_.Handle());
    composedFrames[0].Use(preview::CurrentLook(previewSide, background, false));
    composedFrames[1].Use(preview::CurrentLook(previewSide, background, true));
}

bool Previews::FocusedLabel(RECT& label) const
{
    // Only a focused list shows an item's full name over the items below.
    if (!list_.Focused())
        return false;
    const int focused = list_.FocusedItem();
    if (focused < 0)
        return false;
    label = list_.LabelRect(focused);
    return !IsRectEmpty(&label);
}

void Previews::PlaceEntry(TPreviewEntry& entry, POINT origin) const
{
    const POINT o = list_.Origin(), p = list_.ItemPosition(entry.ItemIndex);
    const preview::ListPoint v = preview::ToViewCoordinates({o.x, o.y}, {p.x, p.y}).item;
    entry.Place = {v.x, v.y};
    RECT cell = list_.IconRect(entry.ItemIndex);
    OffsetRect(&cell, origin.x, origin.y);
    entry.Cell = cell;
    entry.Placed = true;
}

void Previews::DrawPreviewFrame(HDC dc, TPreviewEntry& entry, POINT origin, const RECT* label) noexcept
{
    const TAniCur& ani = *entry.AniCur;
    const int frame = ani.Sequence[static_cast<size_t>(entry.Step)];
    const int look = entry.Selected ? 1 : 0;
    preview::FrameAtlas& atlas = composedFrames[look];
    if (!atlas.Holds(entry.Slots[look]))
        entry.Slots[look] = atlas.Add(ani.Frames);
    RECT clip = entry.Cell;
    OffsetRect(&clip, -origin.x, -origin.y);
    atlas.Draw(dc, entry.Slots[look], ani.Frames, frame, entry.Place.x - origin.x, entry.Place.y - origin.y, clip,
               label);
}

// The list paints: when it has painted everything, each preview in view
// gets its current frame drawn over its icon, at the place the timer uses.
// One notification per paint: one per item costs the list far more than the
// drawing itself. The paint's device context clips to what is being painted,
// so nothing outside it is touched.
LRESULT Previews::PreviewCustomDraw(const NMLVCUSTOMDRAW& draw, LRESULT result) noexcept
{
    HWND list = list_.Handle();
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        // Nothing while busy (the table may not fit the items being shown)
        // or in a view without large icons.
        paintPreviews_ = !list_.Busy() && FPreviews && FPreviewCount > 0 && list && list_.ViewStyle() == LVS_ICON &&
                         list_.IconSide() == previewSide;
        return paintPreviews_ ? result | CDRF_NOTIFYPOSTPAINT : result;
    }
    case CDDS_POSTPAINT: {
        if (!paintPreviews_ || !FPreviews)
            return result;
        RECT client{};
        GetClientRect(list, &client);
        const int items = list_.Count();
        const Layout layout{items, static_cast<int>(client.right), static_cast<int>(client.bottom)};
        if (!(layout == layout_)) {
            layout_ = layout;
            ForgetPlaces();
        }
        const POINT o = list_.Origin();
        const preview::ListPoint v = preview::ToViewCoordinates({o.x, o.y}, {0, 0}).origin;
        const POINT origin{v.x, v.y};
        // The list blends a selected item's icon only while it has the focus.
        // Each question to the list costs: none or all selected (the usual
        // cases) need no question per item.
        const int selected = list_.Focused() ? list_.SelectedCount() : 0;
        RECT label{};
        const bool hasLabel = FocusedLabel(label);
        const int focusedItem = hasLabel ? list_.FocusedItem() : -1;
        UseCurrentLooks();
        for (int i = 0; i < FPreviewCount; ++i) {
            TPreviewEntry& entry = FPreviews[static_cast<size_t>(i)];
            if (!entry.AniCur || entry.ItemIndex >= items)
                continue;
            if (!entry.Placed)
                PlaceEntry(entry, origin);
            if (!preview::ItemInView(origin.x, origin.y, client.right, client.bottom, entry.Place.x, entry.Place.y,
                                     previewSide))
                continue;
            entry.Selected = selected > 0 && (selected >= items || list_.ItemSelected(entry.ItemIndex));
            // The focused item's own label lies below its icon: only other
            // items' frames could cover it.
            const bool own = entry.ItemIndex == focusedItem;
            DrawPreviewFrame(draw.nmcd.hdc, entry, origin, hasLabel && !own ? &label : nullptr);
        }
        return result;
    }
    default: return result;
    }
}

// Item places are cached because asking the list is slow next to copying a
// frame. They hold while the count and the size of the list stay; anything
// else that moves items (spacing, font) is found by re-reading a couple of
// places per tick in turn, and any difference drops them all.
void Previews::CheckPreviewPlaces(const Layout& layout, const std::function<POINT(int)>& place)
{
    if (!(layout == layout_)) {
        layout_ = layout;
        ForgetPlaces();
        return;
    }
    constexpr int kChecksPerTick = 2;
    for (int n = 0; n < kChecksPerTick && n < FPreviewCount; ++n) {
        check_ %= FPreviewCount;
        const TPreviewEntry& e = FPreviews[static_cast<size_t>(check_++)];
        if (!e.Placed || e.ItemIndex >= layout.Items)
            continue;
        const POINT p = place(e.ItemIndex);
        if (p.x != e.Place.x || p.y != e.Place.y) {
            ForgetPlaces();
            return;
        }
    }
}
