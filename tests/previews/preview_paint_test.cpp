// What the file list shows of the previews when it paints: the current frame
// as soon as a cursor is loaded and wherever the list paints an item again,
// selected items blended as the list blends a selected icon, and static
// cursors as their own image. Real pixels, read back from the list.
#include "anicur/frame_icon.h"
#include "anicur/icon_dir.h"
#include "app/previews/preview_steps.h"
#include "idlist/idlist.h"
#include "tests/anicur/ani_builder.h"
#include "tests/support/preview_host.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/screen_cursor.h"
#include "ui/text.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using testsupport::GrabSquare;
using testsupport::ListIconAt;
using testsupport::ListIconVisible;

constexpr uint32_t kRed = 0xC02020, kBlue = 0x2030C0, kGreen = 0x20A040, kYellow = 0xE0D020;

// An animated cursor of solid 24-bit frames whose first step lasts ten
// seconds: without the list's painting it would show nothing for as long.
std::string LongFirstStep(uint32_t first, uint32_t second)
{
    using namespace anitest;
    return Riff(Anih(2, 2, 600) + FrameList({SolidFrame(first, 24), SolidFrame(second, 24)}));
}

// A static cursor of one 32 x 32 24-bit image.
std::string StaticCursor(const anitest::PixelFn& pixel)
{
    using namespace anitest;
    return IconFile({{Dib(32, 32, 24, pixel), 32, 32}});
}

// The system's icon of a cursor file image (its one image).
ui::UniqueIcon IconOf(const std::string& file)
{
    const auto* data = reinterpret_cast<const uint8_t*>(file.data());
    const std::optional<anicur::IconImage> image = anicur::ChooseIconImage(data, file.size());
    return image ? anicur::MakeImageIcon(data, file.size(), *image, 32) : ui::UniqueIcon{};
}

// Where two 32 x 32 squares differ, for the failure message: how many
// pixels, and the first few as (x, y) this/that.
std::string Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    std::string out;
    int count = 0;
    char text[64];
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (++count <= 6) {
            std::snprintf(text, sizeof text, " (%d,%d) %06X/%06X", int(i % 32), int(i / 32), a[i], b[i]);
            out += text;
        }
    }
    return std::to_string(count) + " pixels differ:" + out;
}
#define EXPECT_SAME_PIXELS(a, b) EXPECT_EQ(Differences(a, b), "0 pixels differ:")

class PreviewPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::ScreenCursor::Set(nullptr);
        // The clock stands still: no step ever ends, so the timer draws
        // nothing, and what shows is the list's own painting.
        clock.count = 1'000'000LL;
        previews.previewDraw = [this](int item, int, int, int) { timerDraws.push_back(item); };
        list = view.Handle();
    }
    void TearDown() override { ui::ScreenCursor::Set(nullptr); }
    // Shows the test's folder as the tree would; `ownIcons` gives the items
    // the (empty) image list of the test instead of the shell's icons.
    void Open(bool ownIcons = true)
    {
        ASSERT_TRUE(host.Show(dir.Path()));
        if (ownIcons)
            view.SetImageList(icons.get(), LVSIL_NORMAL);
        Settle();
    }
    void LoadAll()
    {
        previews.Start();
        host.LoadAll();
        Settle();
    }
    static void Settle() { testsupport::PumpFor(150); }
    std::vector<uint32_t> IconPixels(int item) const
    {
        const POINT p = ListIconAt(list, item);
        return GrabSquare(list, p.x, p.y);
    }
    // Whether every pixel over the item's icon is `colour`.
    bool Shows(int item, uint32_t colour) const
    {
        const std::vector<uint32_t> pixels = IconPixels(item);
        return std::all_of(pixels.begin(), pixels.end(), [&](uint32_t p) { return p == colour; });
    }
    const TPreviewEntry* EntryOf(int item) const
    {
        for (int i = 0; i < previews.FPreviewCount; ++i)
            if (previews.FPreviews[size_t(i)].ItemIndex == item)
                return &previews.FPreviews[size_t(i)];
        return nullptr;
    }

    // The clock stands still unless a test moves it.
    testsupport::ClockSeams clock{preview::kClockPerSecond};
    testsupport::PreviewHost host;
    TFileView& view = host.view;
    Previews& previews = host.previews;
    HWND list = nullptr;
    testsupport::TempDir dir;
    ui::UniqueImageList icons{ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1)};
    std::vector<int> timerDraws;
};

// Animated and static cursors alike: drawn once loaded, after a scroll both
// ways and when the list is uncovered, all by the list's painting.
TEST_F(PreviewPaint, FramesShowAsSoonAsLoadedAndWhereverTheListPaints)
{
    constexpr int kItems = 40;
    auto colourOf = [](int i) { return i % 4 == 3 ? kGreen : kRed; };
    for (int i = 0; i < kItems; ++i) {
        const std::wstring name = L"c" + std::to_wstring(100 + i);
        if (i % 4 == 3)
            dir.File(name + L".cur", StaticCursor(anitest::Solid(kGreen)));
        else
            dir.File(name + L".ani", LongFirstStep(kRed, kBlue));
    }
    Open();
    LoadAll();
    ASSERT_EQ(previews.FPreviewCount, kItems);

    auto expectShown = [&](const char* when) {
        int checked = 0;
        for (int i = 0; i < kItems; ++i) {
            if (!ListIconVisible(list, i))
                continue;
            ++checked;
            EXPECT_TRUE(Shows(i, colourOf(i))) << when << ", item " << i;
        }
        EXPECT_GE(checked, 6) << when;
    };
    expectShown("right after loading");
    view.EnsureVisible(kItems - 1);
    Settle();
    ASSERT_FALSE(ListIconVisible(list, 0)) << "the list should have scrolled";
    expectShown("scrolled to the end");
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    expectShown("uncovered");
    view.EnsureVisible(0);
    Settle();
    expectShown("scrolled back");
    EXPECT_TRUE(timerDraws.empty()) << "no step ended: the timer has nothing to draw";

    // The next folder's list is painted without the old previews.
    previews.Stop();
    EXPECT_TRUE(previews.previewOfItem.empty());
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    const uint32_t window = testsupport::PixelOf(GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(Shows(0, window));
}

using testsupport::SystemDrawing;

// An opaque icon of what the system draws for `icon` over `under`, without
// the pixels it leaves as they were over black and over white alike: the
// picture the list would show as a plain icon of its own.
ui::UniqueIcon DrawnAsIcon(HICON icon, COLORREF under)
{
    const std::vector<uint32_t> drawn = SystemDrawing(icon, under), black = SystemDrawing(icon, RGB(0, 0, 0)),
                                white = SystemDrawing(icon, RGB(255, 255, 255));
    std::vector<uint16_t> mask(32 * 2, 0); // rows of two words, 1 where left out
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (black[size_t(y) * 32 + x] == 0 && white[size_t(y) * 32 + x] == 0xFFFFFF) {
                auto* row = reinterpret_cast<uint8_t*>(&mask[size_t(y) * 2]);
                row[x / 8] |= uint8_t(0x80 >> (x % 8));
            }
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB};
    void* bits = nullptr;
    ui::UniqueBitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::copy(drawn.begin(), drawn.end(), static_cast<uint32_t*>(bits));
    ui::UniqueBitmap maskBitmap(CreateBitmap(32, 32, 1, 1, mask.data()));
    ICONINFO ii{TRUE, 0, 0, maskBitmap.get(), colour.get()};
    return ui::UniqueIcon(CreateIconIndirect(&ii));
}

// A cursor whose pixels are transparent, inverting (wholly and in part) and
// opaque is shown as the system draws it as the pointer, over the list's
// background, over a selected item (blended as the list blends the same
// picture as its own icon) and after the system's colours change: whether
// the list's painting or the timer draws it.
TEST_F(PreviewPaint, FramesShowAsThePointerOverWhatLiesBeneath)
{
    using namespace anitest;
    auto picture = [](uint32_t opaque) {
        return [opaque](int x, int y) -> uint32_t {
            if (y < 16)
                return x < 16 ? Transparent : Inverting | 0xFFFFFF;
            return x < 16 ? Inverting | 0x00FF00 : opaque;
        };
    };
    const Bytes frames[] = {IconFile({{Dib(32, 32, 24, picture(kRed)), 32, 32}}),
                            IconFile({{Dib(32, 32, 24, picture(kBlue)), 32, 32}})};
    dir.File(L"a.ani", Riff(Anih(2, 2, 600) + FrameList({frames[0], frames[1]})));
    dir.File(L"b.txt", "plain");
    Open();
    LoadAll();
    ASSERT_NE(EntryOf(0), nullptr);
    const ui::UniqueIcon icons_[] = {IconOf(frames[0]), IconOf(frames[1])};
    auto background = [&] {
        const COLORREF bk = ListView_GetBkColor(list);
        return bk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : bk;
    };
    // Item 1 shows, as a plain icon of the list, what the system draws.
    auto showAsPlainIcon = [&](int frame) {
        ui::UniqueIcon icon = DrawnAsIcon(icons_[frame].get(), background());
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = 1;
        item.iImage = ImageList_ReplaceIcon(icons.get(), -1, icon.get());
        SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ListView_RedrawItems(list, 1, 1);
        UpdateWindow(list);
    };
    // In every state the list draws, the frame and the plain icon alike.
    const struct State {
        const char* name;
        bool selected, focused, dropTarget;
    } states[] = {
        {"selected in the focused list", true, true, false},
        {"selected, the focus elsewhere", true, false, false},
        {"the target of a drop", false, true, true},
    };
    auto check = [&](const char* when, int frame) {
        SCOPED_TRACE(when);
        EXPECT_SAME_PIXELS(IconPixels(0), SystemDrawing(icons_[frame].get(), background()));
        showAsPlainIcon(frame);
        for (const State& state : states) {
            for (int i = 0; i < 2; ++i) {
                view.SetSelected(i, state.selected);
                view.SetDropHighlighted(i, state.dropTarget);
            }
            if (state.focused)
                view.SetFocus();
            else
                SetFocus(host.elsewhere);
            Settle();
            EXPECT_SAME_PIXELS(IconPixels(0), IconPixels(1)) << state.name;
            if (state.selected && state.focused) {
                EXPECT_NE(IconPixels(0), SystemDrawing(icons_[frame].get(), background()))
                    << "the selection should show";
            }
        }
        for (int i = 0; i < 2; ++i) {
            view.SetSelected(i, false);
            view.SetDropHighlighted(i, false);
        }
        view.SetFocus();
        Settle();
    };
    check("over the list's background", 0);

    // The step ends while both items are selected: the timer draws the next
    // frame the same way, blended as well.
    for (int i = 0; i < 2; ++i)
        view.SetSelected(i, true);
    Settle();
    previews.previewDraw = nullptr;
    clock.count = 1'000'000LL + 600 * 1000;
    previews.AnimateTimerProc();
    ASSERT_EQ(EntryOf(0)->Step, 1);
    showAsPlainIcon(1);
    EXPECT_SAME_PIXELS(IconPixels(0), IconPixels(1)) << "drawn by the timer, selected";
    for (int i = 0; i < 2; ++i)
        view.SetSelected(i, false);
    Settle();
    EXPECT_SAME_PIXELS(IconPixels(0), SystemDrawing(icons_[1].get(), background())) << "unselected";

    // New system colours, handed on as the main window hands them on.
    const int which[] = {COLOR_WINDOW, COLOR_HIGHLIGHT};
    const COLORREF before[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT)};
    const COLORREF after[] = {RGB(0x20, 0x60, 0x40), RGB(0xC0, 0x40, 0x90)};
    ASSERT_TRUE(SetSysColors(2, which, after));
    SendMessageW(list, WM_SYSCOLORCHANGE, 0, 0);
    previews.ColoursChanged();
    Settle();
    check("after the colours changed", 1);
    // The list's own background, set apart from the window colour.
    ListView_SetBkColor(list, RGB(0x70, 0x70, 0x10));
    InvalidateRect(list, nullptr, TRUE);
    Settle();
    check("over another background", 1);
    // Back, and handed on too: the controls keep the colours they were
    // last told of, for every list made after.
    SetSysColors(2, which, before);
    SendMessageW(list, WM_SYSCOLORCHANGE, 0, 0);
}

// A frame is drawn inside its item's icon rectangle only, and never over
// the focused item's full name that the list shows across the item below.
TEST_F(PreviewPaint, FramesStayInTheirCellAndOffTheFocusedLabel)
{
    using namespace anitest;
    dir.File(L"a " + std::wstring(60, L'x') + L".txt", "plain");
    for (const wchar_t* name : {L"b.txt", L"c.txt", L"d.txt"})
        dir.File(name, "plain");
    const Bytes frames[] = {SolidFrame(kRed, 24), SolidFrame(kBlue, 24)};
    for (const wchar_t* name : {L"e.ani", L"f.ani", L"g.ani", L"h.ani", L"i.ani", L"j.ani", L"k.ani", L"l.ani"})
        dir.File(name, Riff(Anih(2, 2, 600) + FrameList({frames[0], frames[1]})));
    Open();
    LoadAll();
    view.SetFocus();
    view.SetSelected(0, true);
    view.SetFocused(0);
    Settle();
    RECT label{LVIR_LABEL};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
    // The item under the long name: the first cursor whose icon it covers.
    int below = -1;
    RECT cell{};
    for (int i = 4; i < 12 && below < 0; ++i) {
        RECT icon{LVIR_ICON}, overlap{};
        SendMessageW(list, LVM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&icon));
        if (IntersectRect(&overlap, &icon, &label)) {
            below = i;
            cell = icon;
        }
    }
    ASSERT_GE(below, 0) << "the full name should reach the next row";
    const POINT at = ListIconAt(list, below), beside = ListIconAt(list, below + 1);
    const std::vector<uint32_t> shown = GrabSquare(list, at.x, at.y);
    const std::vector<uint32_t> besideShown = GrabSquare(list, beside.x, beside.y);
    // Every step ends: the timer draws each cursor's next frame.
    previews.previewDraw = nullptr;
    clock.count = 1'000'000LL + 600 * 1000;
    previews.AnimateTimerProc();
    const std::vector<uint32_t> after = GrabSquare(list, at.x, at.y);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const POINT p{at.x + x, at.y + y};
            const size_t i = size_t(y) * 32 + x;
            if (PtInRect(&label, p) || !PtInRect(&cell, p)) {
                EXPECT_EQ(after[i], shown[i]) << "drawn at " << p.x << "," << p.y;
            }
        }
    EXPECT_NE(GrabSquare(list, beside.x, beside.y), besideShown) << "the next frame should show beside the label";
}

// The frames are read at the list's icon size (at 144 DPI a list of 48-pixel
// icons shows a file's 48-pixel image), and read again when it changes.
TEST_F(PreviewPaint, FramesFollowTheListsIconSize)
{
    using namespace anitest;
    const Bytes frame = IconFile({{Dib(32, 32, 24, Solid(kBlue)), 32, 32}, {Dib(48, 48, 24, Solid(kRed)), 48, 48}});
    dir.File(L"a.ani", Riff(Anih(1, 1, 600) + FrameList({frame})));
    Open();
    ui::UniqueImageList large(ImageList_Create(48, 48, ILC_COLOR32 | ILC_MASK, 1, 1));
    const struct {
        HIMAGELIST icons;
        int side;
        uint32_t shown;
    } rows[] = {{large.get(), 48, kRed}, {icons.get(), 32, kBlue}};
    bool loaded = false;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.side);
        view.SetImageList(row.icons, LVSIL_NORMAL);
        if (!loaded)
            LoadAll(); // the first time; then the loader sees the new size
        host.LoadAll();
        loaded = true;
        InvalidateRect(list, nullptr, TRUE);
        Settle();
        const TPreviewEntry* entry = EntryOf(0);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->AniCur->Frames.Side(), row.side);
        // The middle of the icon, wherever the list centres it.
        RECT icon{LVIR_ICON};
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
        const int x = icon.left + (icon.right - icon.left - row.side) / 2 + (row.side - 32) / 2;
        const std::vector<uint32_t> middle = GrabSquare(list, x, icon.top + (row.side - 32) / 2);
        EXPECT_EQ(std::count(middle.begin(), middle.end(), row.shown), 32 * 32);
    }
}

// A static cursor shows its own picture, as the system draws the file; one
// that cannot be read (or is an animated cursor under a .cur name) keeps the
// shell's icon; the timer never draws a static cursor.
TEST_F(PreviewPaint, StaticCursorsShowTheirOwnImage)
{
    // In name order, as the list shows them.
    const wchar_t* corpus[] = {L"reconstruct/domain.cur", L"reconstruct/magnify.cur", L"reconstruct/pencil.cur"};
    std::vector<std::wstring> paths;
    for (const wchar_t* c : corpus) {
        std::wstring name(c);
        paths.push_back(
            dir.File(L"a-" + name.substr(name.rfind(L'/') + 1), testsupport::ReadBytes(testsupport::CorpusFile(c))));
    }
    dir.File(L"b-broken.cur", "this is no cursor");
    dir.File(L"c-animated.cur",
             testsupport::ReadBytes(testsupport::CorpusFile(L"webamp/fixtures/Super_Mario_Amp_2/close.cur")));
    dir.File(L"d-drawn.cur", StaticCursor(anitest::Halves(32, 32, kYellow, kBlue)));
    Open(false); // the shell's own icons
    ASSERT_EQ(view.Count(), 6);
    std::vector<std::vector<uint32_t>> before;
    for (int i = 0; i < 6; ++i)
        before.push_back(IconPixels(i));
    LoadAll();
    for (int i : {0, 1, 2, 5})
        EXPECT_NE(EntryOf(i), nullptr) << i;
    EXPECT_EQ(EntryOf(3), nullptr);
    EXPECT_EQ(EntryOf(4), nullptr);
    EXPECT_EQ(IconPixels(3), before[3]) << "a broken file keeps the shell's icon";
    EXPECT_EQ(IconPixels(4), before[4]) << "an animated file named .cur keeps the shell's icon";

    // The file as the system itself draws it, on white and on black: the
    // pixels it draws opaquely or leaves clear must show the same over the
    // icon (on the window colour). Pixels that invert what lies below are
    // left out: the frames keep no inversion.
    auto systemDrawn = [](const std::wstring& path, COLORREF under) {
        HWND host = testsupport::CreateHostWindow(L"cursor");
        ui::UniqueCursor cursor(
            static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 32, 32, LR_LOADFROMFILE)));
        {
            ui::WindowDC dc(host);
            RECT all{0, 0, 32, 32};
            SetDCBrushColor(dc.get(), under);
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            DrawIconEx(dc.get(), 0, 0, cursor.get(), 32, 32, 0, nullptr, DI_NORMAL);
        }
        std::vector<uint32_t> pixels = GrabSquare(host, 0, 0);
        DestroyWindow(host);
        return pixels;
    };
    const uint32_t window = testsupport::PixelOf(GetSysColor(COLOR_WINDOW));
    auto expectOwnImage = [&](int item, const std::wstring& path) {
        const std::vector<uint32_t> shown = IconPixels(item), onWhite = systemDrawn(path, RGB(255, 255, 255)),
                                    onBlack = systemDrawn(path, RGB(0, 0, 0));
        int compared = 0, wrong = 0;
        for (size_t i = 0; i < shown.size(); ++i) {
            const bool opaque = onWhite[i] == onBlack[i], clear = onWhite[i] == 0xFFFFFF && onBlack[i] == 0;
            if (!opaque && !clear)
                continue;
            ++compared;
            wrong += shown[i] != (opaque ? onWhite[i] : window);
        }
        EXPECT_GT(compared, 32 * 32 / 2) << ui::ToUtf8(path);
        EXPECT_EQ(wrong, 0) << ui::ToUtf8(path);
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(IconPixels(i), before[size_t(i)]) << corpus[i];
        expectOwnImage(i, paths[size_t(i)]);
    }
    expectOwnImage(5, dir / L"d-drawn.cur");
    EXPECT_FALSE(previews.stepTimer.Running()) << "nothing to animate";

    clock.count = 1'000'000LL + 60 * 60000;
    previews.AnimateTimerProc();
    EXPECT_TRUE(timerDraws.empty());
}

} // namespace
