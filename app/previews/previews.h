// Previews of the cursor files of a list: every cursor file among its items
// is loaded a few at a time while the program is idle; an .ani file's frames
// are drawn over its icon at the pace the file prescribes, a .cur file's own
// image over its icon for good. The list's own painting draws each
// preview's current frame too, so that what it paints (an item scrolled into
// view, uncovered or selected) never shows the plain icon.
//
// The table always belongs to the items the list holds: it is let go before
// they are replaced, built afresh after, and moved with them by a sort
// (FollowItems, app/previews/preview_list.h).
#pragma once
#include "anicur/AniCur.h"
#include "app/previews/preview_budget.h"
#include "app/previews/preview_draw.h"
#include "app/previews/preview_list.h"
#include "ui/timer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// One animated preview of the list.
struct TPreviewEntry {
    int ItemIndex = 0;               // list item (and path) the entry animates
    std::unique_ptr<TAniCur> AniCur; // the loaded animated cursor
    int Step = 0;                    // current animation step
    long long lastStep = 0;          // animation clock (1/60000 s) at which Step began
    // Drawing cache: where the frames are composed in each look's atlas
    // (plain, selected), and where the item's icon is in view coordinates
    // while Placed: the frame's top-left corner and the icon rectangle, the
    // only place the frame is drawn in.
    preview::FrameSlot Slots[2];
    POINT Place{};
    RECT Cell{};
    bool Placed = false;
    bool Due = false; // a step began in this tick and is to be drawn
    // The list drew the item selected when it last painted it: its frames
    // are blended with the highlight colour, as the list blends the icon.
    bool Selected = false;
};

class Previews {
public:
    explicit Previews(PreviewList& list) : list_(list) {}
    ~Previews() { Stop(); }
    Previews(const Previews&) = delete;
    Previews& operator=(const Previews&) = delete;

    // Builds the path list for the list's current items (the old previews go first).
    void Start();
    // Drops every preview and the path list.
    void Stop();
    // The application's idle handler: loads at most three cursor files per call.
    void PreviewIdle(bool& done);
    // Advances every preview by the time that has passed and draws the
    // frames whose step changed.
    void AnimateTimerProc();
    // The list's items were sorted: every preview moves with its item.
    void ItemsReordered();
    // One item is about to go, came, or was read again (its file may have
    // changed): its preview goes, and a new or changed item's path is left
    // to the idle loader; every other item keeps its own.
    void ItemDeleting(int item);
    void ItemInserted(int item);
    void ItemUpdated(int item);
    // The system's colours or theme changed: frames are composed afresh
    // over the new colours, and the list paints them again.
    void ColoursChanged();

    // Read-outs: the entries in use and one of them, the path of every list
    // item (in list order), the entry of an item (-1 for none), whether the
    // step timer runs.
    int EntryCount() const noexcept { return FPreviewCount; }
    const TPreviewEntry& Entry(int i) const { return FPreviews[static_cast<size_t>(i)]; }
    const std::vector<std::wstring>& Paths() const noexcept { return FPreviewPaths; }
    int EntryOf(int item) const
    {
        return item >= 0 && static_cast<size_t>(item) < previewOfItem.size() ? previewOfItem[static_cast<size_t>(item)]
                                                                             : -1;
    }
    bool Animating() const noexcept { return stepTimer.Running(); }

    // While the table holds entries the steps are also driven by a timer of
    // about one jiffy (and one tick of the system's default timer clock,
    // 15.6 ms), so that steps shorter than timer 1's period are each shown
    // once. It runs on the list's top-level window. A tick without a step to
    // draw asks nothing of the list.
    static constexpr UINT_PTR kStepTimer = 1001;
    static constexpr UINT kStepPeriodMs = 15;
    ui::Timer stepTimer;

    std::vector<std::wstring> FPreviewPaths; // full path of every list item, in list order
    int FNextPreview = 0;                    // next path the idle loader examines
    int FPreviewCount = 0;                   // entries of FPreviews in use
    std::unique_ptr<TPreviewEntry[]> FPreviews;
    int previewCapacity = 0;        // entries allocated (one per item when built)
    std::vector<int> previewOfItem; // item of the list -> its entry, -1 for none
    // The entries' frames composed for drawing, plain and selected.
    preview::FrameAtlas composedFrames[2];
    // The side of the frames: the list's icon size when the table was built.
    int previewSide = preview::kAtlasFrameSide;

    // What the previews may hold, in bytes (preview::PreviewBytes): a cursor
    // that would take them past this is not animated and keeps the shell's
    // icon. previewBytes is what the loaded ones hold.
    long long previewBudget = preview::kDefaultPreviewBudget;
    long long previewBytes = 0;
    // Draws frame `frame` for list item `itemIndex` at (x, y) of the list's
    // client area; unset: straight onto the list's device context. Tests
    // record the calls instead.
    std::function<void(int itemIndex, int frame, int x, int y)> previewDraw;

    // The list's painting: every item in view with a preview gets its
    // current frame drawn over the icon the list has drawn (the list's
    // custom draw, handed here while a table exists).
    LRESULT PreviewCustomDraw(const NMLVCUSTOMDRAW& draw, LRESULT result) noexcept;

private:
    // The list's item count and client size when the cached places were
    // read: a change reads them again, and so does the rolling check of a
    // few places per tick finding one moved.
    struct Layout {
        int Items = -1, Width = -1, Height = -1;
        bool operator==(const Layout&) const = default;
    };
    void CheckPreviewPlaces(const Layout& layout, const std::function<POINT(int)>& place);
    void ForgetPlaces() noexcept;
    // Drops the entry of `item`, if it has one (its frames' bytes freed).
    void DropEntry(int item);
    // Room for one more entry.
    void GrowEntries();
    // Reads where an entry's icon is; `origin` is the view coordinates of
    // the client area's top-left corner.
    void PlaceEntry(TPreviewEntry& entry, POINT origin) const;
    // Makes both atlases' looks the list's as it is now.
    void UseCurrentLooks() noexcept;
    // Draws the current frame of `entry` onto `dc` whose client area's
    // top-left corner is `origin` in view coordinates: inside the item's
    // icon rectangle only, never over `label` (when set), blended when the
    // entry is selected.
    void DrawPreviewFrame(HDC dc, TPreviewEntry& entry, POINT origin, const RECT* label) noexcept;
    // The focused item's label when it may overlap other items' icons
    // (the list shows the focused item's full name), in client coordinates.
    bool FocusedLabel(RECT& label) const;
    // The animation clock, monotonic, in 1/60000 s (preview::kClockPerSecond):
    // the performance counter (the seam of ui/seams.h).
    long long Now() const;

    PreviewList& list_;
    // Per item: its key in the list (to follow a sort) and whether the
    // loader has looked at its path.
    std::vector<LPARAM> keys_;
    std::vector<char> examined_;
    Layout layout_;
    int check_ = 0; // next entry the rolling check reads
    // Whether the paint under way draws previews.
    bool paintPreviews_ = false;
};
