// The animated previews over a real file list: the idle loader, the timer,
// and what reaches the screen. The clock and the drawing are the previews'
// own seams except where real pixels are compared.
#include "anicur/ani_walk.h"
#include "app/messages.h"
#include "app/previews/preview_draw.h"
#include "app/previews/preview_steps.h"
#include "app/ufrmMain.h"
#include "idlist/idlist.h"
#include "tests/anicur/ani_builder.h"
#include "tests/support/preview_host.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/screen_cursor.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::CorpusFile;
using testsupport::ReadBytes;

struct Draw {
    int item, frame, x, y;
};

constexpr long long kJiffy = 1000; // clock units (1/60000 s)
constexpr long long kMs = 60;

POINT IconAt(HWND list, int item) { return testsupport::ListIconAt(list, item); }
std::vector<uint32_t> Grab(HWND list, int x, int y) { return testsupport::GrabSquare(list, x, y); }

// Run with the extensions shown (Wine's default) and hidden (a stock Windows
// system's): the captions then lack them, the paths never do.
class PreviewUnit : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ui::ScreenCursor::Set(nullptr);
        icons.reset(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1));
        clock = 1'000'000;
        host = std::make_unique<testsupport::PreviewHost>();
        previews().previewDraw = [this](int item, int frame, int x, int y) { draws.push_back({item, frame, x, y}); };
    }
    void TearDown() override
    {
        host.reset();
        ui::ScreenCursor::Set(nullptr);
    }
    ::Previews& previews() const { return host->previews; }
    TFileView& view() const { return host->view; }

    void AddFile(const std::wstring& name, const std::string& bytes) { dir.File(name, bytes); }
    // Points the list at the test's folder, as the tree does (the items in
    // name order), and gives it 32 x 32 icons of its own.
    void Fill()
    {
        ASSERT_TRUE(host->Show(dir.Path()));
        view().SetImageList(icons.get(), LVSIL_NORMAL);
        Settle();
    }
    std::wstring Shown(const std::wstring& name) const { return GetParam() ? name.substr(0, name.rfind(L'.')) : name; }
    void AddCorpus(const std::wstring& name, const wchar_t* corpusPath)
    {
        std::string bytes = ReadBytes(CorpusFile(corpusPath));
        ASSERT_FALSE(bytes.empty()) << corpusPath;
        AddFile(name, bytes);
    }
    void Start() { previews().Start(); }
    // Lets the list catch up. While previews run, their step timer keeps the
    // queue from ever going quiet, so this pumps for a fixed while.
    static void Settle() { testsupport::PumpFor(150); }
    // One idle call; answers the `done` it left.
    bool Idle()
    {
        bool done = true;
        previews().PreviewIdle(done);
        return done;
    }
    void LoadAll()
    {
        Fill();
        Start();
        for (int i = 0; i < 1000 && !Idle(); ++i) {
        }
    }
    std::vector<int> EntryItems() const
    {
        std::vector<int> items;
        for (int i = 0; i < previews().FPreviewCount; ++i)
            items.push_back(previews().FPreviews[size_t(i)].ItemIndex);
        return items;
    }
    void Tick(long long advance)
    {
        clock += advance;
        previews().AnimateTimerProc();
    }
    std::set<int> DrawnItems() const
    {
        std::set<int> items;
        for (const Draw& d : draws)
            items.insert(d.item);
        return items;
    }

    testsupport::ScopedFileExtensions extensions{GetParam()};
    ui::UniqueImageList icons;
    testsupport::TempDir dir;
    testsupport::ClockSeams clockSeams{preview::kClockPerSecond};
    long long& clock = clockSeams.count;
    std::unique_ptr<testsupport::PreviewHost> host;
    std::vector<Draw> draws;
};

INSTANTIATE_TEST_SUITE_P(Extensions, PreviewUnit, ::testing::ValuesIn(testsupport::kExtensionSettings),
                         [](const auto& info) { return testsupport::ExtensionSettingName(info.param); });

TEST_P(PreviewUnit, AnEmptyFolderOrItemsWithoutAPathMakeNoTableAndNoStartingCursor)
{
    Fill();
    Start();
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    EXPECT_EQ(previews().FPreviews, nullptr);
    EXPECT_TRUE(previews().FPreviewPaths.empty());
    EXPECT_TRUE(Idle());

    // Items without a file-system path: the captions must not be looked up
    // in the current directory.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(dir.Path().c_str());
    AddCorpus(L"wait.ani", L"reconstruct/wait.ani");
    view().AddItem(L"wait.ani", 0, 0);
    Start();
    SetCurrentDirectoryW(current);
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    EXPECT_EQ(previews().FPreviews, nullptr);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(previews().FPreviewCount, 0);
}

TEST_P(PreviewUnit, TenItemsWithNineCursorFilesLoadThreeAtATime)
{
    AddCorpus(L"a.ani", L"reconstruct/wait.ani");
    // A real animated cursor under a .cur name, and one under .txt: the
    // name says how a file is read; the first is no static cursor and gets
    // no entry, the second is never read.
    AddCorpus(L"b.cur", L"webamp/fixtures/Super_Mario_Amp_2/close.cur");
    AddCorpus(L"c.ANI", L"capitaine/master/busy.ani");
    AddCorpus(L"d.Ani", L"webamp/fixtures/piano.ani");
    AddCorpus(L"e.txt", L"reconstruct/wait.ani");
    AddCorpus(L"f.ani", L"reconstruct/wait.ani");
    AddCorpus(L"g.ani", L"webamp/fixtures/piano.ani");
    AddCorpus(L"h.ani", L"capitaine/master/busy.ani");
    AddCorpus(L"i.CUR", L"reconstruct/domain.cur");
    AddCorpus(L"j.ani", L"reconstruct/wait.ani");

    Fill();
    Start();
    EXPECT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
    EXPECT_FALSE(previews().stepTimer.Running()); // nothing loaded yet
    ASSERT_EQ(previews().FPreviewPaths.size(), 10u);
    EXPECT_EQ(previews().FPreviewPaths[2], dir.Path() + L"\\c.ANI");
    EXPECT_EQ(view().ItemText(2), Shown(L"c.ANI"));
    EXPECT_NE(previews().FPreviews, nullptr);
    EXPECT_EQ(previews().FPreviewCount, 0);

    EXPECT_FALSE(Idle());
    EXPECT_EQ(EntryItems(), (std::vector<int>{0, 2}));
    EXPECT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
    EXPECT_FALSE(Idle());
    EXPECT_EQ(EntryItems(), (std::vector<int>{0, 2, 3, 5, 6}));
    EXPECT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
    EXPECT_FALSE(Idle());
    EXPECT_EQ(EntryItems(), (std::vector<int>{0, 2, 3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);

    // Every path is examined: the loader has nothing more to do.
    EXPECT_TRUE(Idle());
    EXPECT_EQ(previews().FPreviewCount, 8);
    for (int i = 0; i < previews().FPreviewCount; ++i) {
        const TPreviewEntry& e = previews().FPreviews[size_t(i)];
        EXPECT_EQ(e.Step, 0);
        EXPECT_EQ(e.lastStep, clock);
        EXPECT_GT(e.AniCur->StepCount, 0);
        EXPECT_EQ(e.AniCur->isStatic, e.ItemIndex == 8) << e.ItemIndex;
        EXPECT_EQ(previews().previewOfItem[size_t(e.ItemIndex)], i);
    }
    for (int item : {1, 4})
        EXPECT_EQ(previews().previewOfItem[size_t(item)], -1);
}

TEST_P(PreviewUnit, ABrokenOrStepFreeAniFileLeavesNoEntry)
{
    using namespace anitest;
    AddFile(L"a-garbage.ani", "RIFF\x10\0\0\0ACONjunkjunk");
    AddFile(L"b-empty.ani", "");
    // Reads fine, but has no step to show.
    AddFile(L"c-nosteps.ani", Riff(Anih(0, 0, 1) + FrameList({})));
    AddFile(L"d-missing-frames.ani", Riff(Anih(3, 3, 1) + FrameList({})));
    AddCorpus(L"e-good.ani", L"reconstruct/wait.ani");

    Fill();
    Start();
    EXPECT_FALSE(Idle());
    EXPECT_EQ(previews().FPreviewCount, 0);
    EXPECT_FALSE(Idle());
    EXPECT_EQ(EntryItems(), std::vector<int>{4});
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);

    // Nothing is drawn for what failed.
    Tick(20 * kJiffy);
    EXPECT_EQ(DrawnItems(), std::set<int>{4});
}

// Cursors of `frames` solid frames, one step each.
std::string Frames(int frames)
{
    using namespace anitest;
    std::vector<Bytes> images;
    for (int i = 0; i < frames; ++i)
        images.push_back(SolidFrame(0x102030u + uint32_t(i)));
    return Riff(Anih(uint32_t(frames), uint32_t(frames), 1) + FrameList(images));
}

// Cursors whose frames and steps would take the previews past their budget
// keep their icons, and so does a file of more steps than a reader takes.
TEST_P(PreviewUnit, CursorsOverThePreviewBudgetKeepTheirIcons)
{
    const long long small = preview::PreviewBytes(10, 32, 10), large = preview::PreviewBytes(300, 32, 300);
    AddFile(L"a-small.ani", Frames(10));
    AddFile(L"b-large.ani", Frames(300));
    AddFile(L"c-small.ani", Frames(10));
    {
        using namespace anitest;
        const uint32_t steps = static_cast<uint32_t>(anicur::kMaxStepsPerFile) + 1;
        AddFile(L"d-steps.ani", Riff(Anih(steps, 1, 1) + Chunk("rate", Bytes(size_t(steps) * 4, '\1')) +
                                     FrameList({SolidFrame(0x102030u)})));
    }
    Fill();
    struct Row {
        long long budget;
        std::vector<int> entries;
        long long bytes; // held once all are loaded
    };
    const Row rows[] = {
        {preview::kDefaultPreviewBudget, {0, 1, 2}, 2 * small + large},
        {small + large - 1, {0, 2}, 2 * small}, // the large one would go over
        {small - 1, {}, 0},                     // not even the first fits
        {0, {}, 0},
    };
    for (const Row& row : rows) {
        previews().previewBudget = row.budget;
        draws.clear();
        LoadAll();
        EXPECT_EQ(EntryItems(), row.entries) << row.budget;
        EXPECT_EQ(previews().previewBytes, row.bytes) << row.budget;
        EXPECT_LE(previews().previewBytes, row.budget);
        // What has no entry is never drawn over: the list shows its icon.
        Tick(kJiffy);
        EXPECT_EQ(DrawnItems(), std::set<int>(row.entries.begin(), row.entries.end())) << row.budget;
        EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    }
}

TEST_P(PreviewUnit, AnItemScrolledOutOfViewKeepsSteppingButIsNotDrawn)
{
    constexpr int kItems = 40;
    for (int i = 0; i < kItems; ++i)
        AddCorpus(L"w" + std::to_wstring(100 + i) + L".ani", L"reconstruct/wait.ani"); // 20 jiffies a step
    LoadAll();
    ASSERT_EQ(previews().FPreviewCount, kItems);
    HWND list = view().Handle();
    view().EnsureVisible(kItems - 1);
    Settle();
    RECT first{LVIR_BOUNDS};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    ASSERT_LT(first.bottom, 0) << "the first item should have scrolled out of view";

    Tick(20 * kJiffy);
    for (int i = 0; i < kItems; ++i)
        EXPECT_EQ(previews().FPreviews[size_t(i)].Step, 1) << i; // every entry stepped
    // The view is the control's size from its origin; an item is its 32 x 32
    // icon. Where the icon is comes from the control's own item rectangles.
    RECT bounds;
    GetWindowRect(list, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    std::set<int> visible;
    for (int i = 0; i < kItems; ++i) {
        POINT icon = IconAt(list, i);
        if (!(icon.x > width || icon.x + 32 < 0 || icon.y > height || icon.y + 32 < 0))
            visible.insert(i);
    }
    EXPECT_EQ(visible.count(0), 0u);
    EXPECT_GE(visible.size(), 6u);
    EXPECT_EQ(DrawnItems(), visible);
    EXPECT_EQ(draws.size(), visible.size()); // once each
    for (const Draw& d : draws) {
        // Each frame lands on its own item's icon.
        POINT icon = IconAt(list, d.item);
        EXPECT_EQ(d.x, icon.x) << d.item;
        EXPECT_EQ(d.y, icon.y) << d.item;
        EXPECT_EQ(d.frame, 1);
    }
    // Items that stepped unseen show their current frame once they step again.
    size_t before = draws.size();
    view().EnsureVisible(0);
    Settle();
    Tick(20 * kJiffy);
    std::set<int> now;
    for (size_t i = before; i < draws.size(); ++i)
        now.insert(draws[i].item);
    EXPECT_EQ(now.count(0), 1u);
    EXPECT_EQ(now.count(kItems - 1), 0u);
    EXPECT_EQ(previews().FPreviews[0].Step, 2);
}

TEST_P(PreviewUnit, FramesFollowTheItemsWhenTheListIsRearranged)
{
    constexpr int kItems = 12;
    for (int i = 0; i < kItems; ++i)
        AddCorpus(L"w" + std::to_wstring(100 + i) + L".ani", L"reconstruct/wait.ani");
    LoadAll();
    ASSERT_EQ(previews().FPreviewCount, kItems);
    HWND list = view().Handle();
    auto expectOnIcons = [&](const char* when) {
        ASSERT_FALSE(draws.empty()) << when;
        for (const Draw& d : draws) {
            POINT icon = IconAt(list, d.item);
            EXPECT_EQ(d.x, icon.x) << when << " item " << d.item;
            EXPECT_EQ(d.y, icon.y) << when << " item " << d.item;
        }
        draws.clear();
    };
    Tick(20 * kJiffy);
    expectOnIcons("at first");

    // A narrower list arranges its items in fewer columns.
    RECT r;
    GetWindowRect(list, &r);
    SetWindowPos(list, nullptr, 0, 0, r.right - r.left - 120, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    Settle();
    Tick(20 * kJiffy);
    expectOnIcons("after a resize");

    // Wider spacing moves the items without changing the list's size or
    // count: the rolling check of a few places per tick finds it.
    SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(110, 90));
    SendMessageW(list, LVM_ARRANGE, LVA_DEFAULT, 0);
    Settle();
    for (int i = 0; i < kItems / 2; ++i)
        Tick(20 * kJiffy);
    draws.clear();
    Tick(20 * kJiffy);
    expectOnIcons("after new spacing");
}

// `count` 32 x 32 frames, each of its own colour, with a transparent and an
// inverting quarter.
anicur::FramePixels Synthetic(int count)
{
    anicur::FramePixels frames(32);
    for (int i = 0; i < count; ++i) {
        const int f = frames.Append(false);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const size_t at = size_t(y) * 32 + x;
                const bool top = y < 16, left = x < 16;
                frames.Mask(f)[at] = top ? 1 : 0;
                frames.Colour(f)[at] = top && left ? 0 : top ? 0xFFFFFF
                                                             : uint32_t(i * 7 % 256 << 16 | i * 13 % 256 << 8 | 40);
            }
    }
    return frames;
}

TEST_P(PreviewUnit, TheFrameAtlasDrawsFramesAsThePointerInsideTheirCell)
{
    TAniCur piano;
    ASSERT_EQ(piano.Load(CorpusFile(L"webamp/fixtures/piano.ani")), 0);
    const anicur::FramePixels big = Synthetic(preview::FrameAtlas::kColumns * preview::FrameAtlas::kRows + 44);
    const anicur::FramePixels next = Synthetic(preview::FrameAtlas::kColumns * preview::FrameAtlas::kRows - 4);
    const anicur::FramePixels* sets[] = {&piano.Frames, &big, &next};

    preview::FrameAtlas atlas;
    const COLORREF beneath = RGB(0x30, 0x60, 0x90);
    atlas.Use(preview::CurrentLook(32, beneath, false));
    std::vector<preview::FrameSlot> slots;
    for (const anicur::FramePixels* frames : sets)
        slots.push_back(atlas.Add(*frames));
    // The big one gets a page of its own; the last no longer fits the first.
    EXPECT_EQ(slots[0].page, 0);
    EXPECT_EQ(slots[1].page, 1);
    EXPECT_EQ(slots[2].page, 2);
    EXPECT_EQ(atlas.Pages(), 3);

    // Each frame copied onto a magenta surface: the frame drawn as the
    // pointer over the look's colour inside the clip, magenta outside it
    // and under what is excluded.
    HWND host = testsupport::CreateHostWindow(L"atlas");
    const RECT clip{0, 4, 32, 28}, label{20, 0, 40, 10};
    for (int l = 0; l < 3; ++l) {
        const int count = sets[l]->Count();
        for (int f : {0, 1, count / 2, count - 1}) {
            {
                ui::WindowDC dc(host);
                RECT all{0, 0, 200, 100};
                HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
                FillRect(dc.get(), &all, magenta);
                DeleteObject(magenta);
                EXPECT_TRUE(atlas.Draw(dc.get(), slots[size_t(l)], *sets[l], f, 0, 0, clip, &label));
            }
            std::vector<uint32_t> want(32 * 32, testsupport::PixelOf(beneath));
            anicur::ComposeFrame(*sets[l], f, want.data(), 32);
            const std::vector<uint32_t> copied = Grab(host, 0, 0);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const POINT p{x, y};
                    const bool drawn = PtInRect(&clip, p) && !PtInRect(&label, p);
                    ASSERT_EQ(copied[size_t(y) * 32 + x], drawn ? want[size_t(y) * 32 + x] : 0xFF00FFu)
                        << "set " << l << " frame " << f << " at " << x << "," << y;
                }
        }
    }
    // Another look leaves every slot behind.
    atlas.Use(preview::CurrentLook(32, RGB(1, 2, 3), false));
    EXPECT_EQ(atlas.Pages(), 0);
    EXPECT_FALSE(atlas.Holds(slots[0]));
    DestroyWindow(host);
}

TEST_P(PreviewUnit, WhileTheWindowIsBusyNothingMovesAndThenItCatchesUp)
{
    AddCorpus(L"wait.ani", L"reconstruct/wait.ani"); // 9 steps of 20 jiffies
    LoadAll();
    ASSERT_EQ(previews().FPreviewCount, 1);
    const long long loaded = clock;

    host->busy = 1;
    Tick(100 * kJiffy);
    EXPECT_TRUE(draws.empty());
    EXPECT_EQ(previews().FPreviews[0].Step, 0);
    EXPECT_EQ(previews().FPreviews[0].lastStep, loaded);
    host->busy = 0;

    // Three cycles, five steps and half a step after loading, in one tick:
    // one draw, of step 5.
    Tick(3 * 180 * kJiffy + 10 * kJiffy);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(previews().FPreviews[0].Step, 5);
    EXPECT_EQ(previews().FPreviews[0].lastStep, loaded + 3 * 180 * kJiffy + 100 * kJiffy);
    EXPECT_EQ(draws[0].frame, 5);
}

TEST_P(PreviewUnit, EachTickDrawsAnEntryAtMostOnceAtThePaceOfTheFile)
{
    AddCorpus(L"busy.ani", L"capitaine/master/busy.ani"); // 23 steps of 2 jiffies
    AddCorpus(L"wait.ani", L"reconstruct/wait.ani");      // 9 steps of 20 jiffies
    LoadAll();
    ASSERT_EQ(previews().FPreviewCount, 2);

    // Sixty seconds of uneven ticks around the given period.
    auto run = [&](int periodMs) {
        draws.clear();
        const long long start = clock;
        for (int ticks = 0; clock - start < 60 * 60000; ++ticks) {
            size_t before = draws.size();
            Tick((periodMs - 3 + ticks % 7) * kMs);
            std::set<int> once;
            for (size_t i = before; i < draws.size(); ++i)
                EXPECT_TRUE(once.insert(draws[i].item).second) << "drawn twice in one tick";
        }
        return clock - start;
    };
    auto count = [&](int item) {
        return std::count_if(draws.begin(), draws.end(), [&](const Draw& d) { return d.item == item; });
    };

    // At the step timer's period every step of both is shown once.
    long long steps0 = 0;
    {
        const TPreviewEntry& busy = previews().FPreviews[0];
        const long long begun = busy.lastStep;
        const long long elapsed = run(::Previews::kStepPeriodMs);
        steps0 = (clock - begun) / (2 * kJiffy);
        EXPECT_EQ(count(0), steps0);
        EXPECT_NEAR(double(count(1)), double(elapsed) / (20 * kJiffy), 1);
    }
    // With ticks longer than a step the steps in between are passed over,
    // but the animation keeps the file's pace exactly.
    const long long loaded = previews().FPreviews[0].lastStep - steps0 * 2 * kJiffy;
    const long long elapsed = run(TfrmTarimoku::kAnimatePeriodMs);
    EXPECT_LT(count(0), elapsed / (2 * kJiffy));
    const long long busySteps = (clock - loaded) / (2 * kJiffy);
    EXPECT_EQ(previews().FPreviews[0].Step, int(busySteps % 23));
    EXPECT_EQ(previews().FPreviews[0].lastStep, loaded + busySteps * 2 * kJiffy);
    EXPECT_NEAR(double(count(1)), double(elapsed) / (20 * kJiffy), 1);
}

TEST_P(PreviewUnit, StopPreviewsDropsEverythingAndIsSafeTwice)
{
    for (int i = 0; i < 5; ++i)
        AddCorpus(L"p" + std::to_wstring(i) + L".ani", L"webamp/fixtures/piano.ani");
    Fill();
    Start();
    EXPECT_FALSE(Idle());
    ASSERT_EQ(previews().FPreviewCount, 3);
    ASSERT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
    EXPECT_TRUE(previews().stepTimer.Running()); // something to animate

    previews().Stop();
    EXPECT_FALSE(previews().stepTimer.Running());
    EXPECT_EQ(previews().FPreviews, nullptr);
    EXPECT_TRUE(previews().previewOfItem.empty());
    EXPECT_FALSE(view().OnCustomDraw); // the list paints on its own again
    EXPECT_EQ(previews().FPreviewCount, 0);
    EXPECT_TRUE(previews().FPreviewPaths.empty());
    EXPECT_EQ(previews().FNextPreview, 0);
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr); // loading ended early
    previews().Stop();
    EXPECT_EQ(previews().FPreviews, nullptr);
    EXPECT_TRUE(Idle());
    Tick(100 * kJiffy);
    EXPECT_TRUE(draws.empty());

    // Another operation's hourglass is not the previews' to take away.
    Start();
    ui::ScreenCursor::Set(IDC_WAIT);
    previews().Stop();
    EXPECT_EQ(ui::ScreenCursor::Current(), IDC_WAIT);
    // But a starting cursor put back by such an operation's end, after the
    // loader has finished, is taken away at the next idle call.
    ui::ScreenCursor::Set(IDC_APPSTARTING);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
}

// A refresh and the window's end are PreviewsFollowTheList's roads.
TEST_P(PreviewUnit, AFolderChangeRebuildsTheTableForTheNewContents)
{
    for (int i = 0; i < 4; ++i)
        AddCorpus(L"p" + std::to_wstring(i) + L".ani", L"webamp/fixtures/piano.ani");
    LoadAll();
    ASSERT_EQ(previews().FPreviewCount, 4);

    // The table is rebuilt for the new contents, empty.
    view().DeleteItem(3);
    view().DeleteItem(2);
    Start();
    EXPECT_EQ(previews().FPreviewCount, 0);
    EXPECT_EQ(previews().previewCapacity, 2);
    EXPECT_EQ(previews().FPreviewPaths.size(), 2u);
    EXPECT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
    EXPECT_FALSE(Idle());
    EXPECT_EQ(previews().FPreviewCount, 2);
}

TEST_P(PreviewUnit, TheCorpusCursorsMoveOnScreen)
{
    // The real clock and the real drawing, driven by the window's own timer.
    ui::CurrentSeams().performanceCounter = ui::SystemSeams().performanceCounter;
    previews().previewDraw = nullptr;
    const wchar_t* files[] = {L"reconstruct/wait.ani", L"capitaine/master/busy.ani", L"webamp/fixtures/piano.ani"};
    for (int i = 0; i < 3; ++i)
        AddCorpus(L"cursor" + std::to_wstring(i) + L".ani", files[i]);
    LoadAll();
    ASSERT_EQ(previews().FPreviewCount, 3);
    HWND list = view().Handle();
    testsupport::PumpFor(700); // every cursor has stepped at least once

    std::vector<std::vector<uint32_t>> first, second;
    std::vector<POINT> at;
    for (int i = 0; i < 3; ++i) {
        at.push_back(IconAt(list, i));
        first.push_back(Grab(list, at.back().x, at.back().y));
    }
    testsupport::PumpFor(400);
    for (int i = 0; i < 3; ++i)
        second.push_back(Grab(list, at[size_t(i)].x, at[size_t(i)].y));

    const uint32_t window = [] {
        COLORREF c = GetSysColor(COLOR_WINDOW);
        return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    }();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(first[size_t(i)], second[size_t(i)]) << files[i];
        EXPECT_TRUE(std::any_of(first[size_t(i)].begin(), first[size_t(i)].end(), [&](uint32_t p) { return p != window; }))
            << files[i] << ": nothing drawn";
    }

    // While the window is busy the pictures stand still.
    host->busy = 1;
    testsupport::PumpFor(100);
    std::vector<uint32_t> still = Grab(list, at[1].x, at[1].y);
    testsupport::PumpFor(300);
    EXPECT_EQ(Grab(list, at[1].x, at[1].y), still);
    host->busy = 0;
}

} // namespace
