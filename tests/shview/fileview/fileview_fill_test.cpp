// Filling the file list from real folders under Wine, and from test folders
// for what Wine's shell never does (IShellIcon, failing enumerations).
#include <gtest/gtest.h>

#include "res/texts.h"
#include "tests/shview/fileview/fileview_fixture.h"
#include "tests/support/test_folder.h"
#include "idlist/file_path.h"
#include "shview/fileview/fill_feed.h"
#include "shview/fileview/whole_sizes.h"
#include "tests/support/pump_until.h"
#include "tests/support/seam_recorders.h"
#include "ui/screen_cursor.h"

namespace fvtest {

using testsupport::TestFolder;
namespace {

std::wstring ExpectedDate(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &t);
    wchar_t sep[8] = L"", tsep[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, sep, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, tsep, 8);
    wchar_t text[64];
    swprintf(text, 64, L"%02d%ls%02d%ls%02d %02d%ls%02d", t.wYear % 100, sep, t.wMonth, sep, t.wDay, t.wHour, tsep,
             t.wMinute);
    return text;
}

TEST_F(FileViewTest, DestroyingTheListLeavesTheSystemsImageListAlive)
{
    SHFILEINFOW info{};
    auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    DestroyWindow(view.Handle());
    EXPECT_GT(ImageList_GetImageCount(large), 0);
}

TEST_F(FileViewTest, SizesCountTheWholeSizeAndDatesUseTheSystemSeparators)
{
    MakeSizedFile(In(L"zero"), 0);
    MakeSizedFile(In(L"k1023"), 1023);
    MakeSizedFile(In(L"k1024"), 1024);
    MakeSizedFile(In(L"huge"), 5ull << 30);
    dir.Folder(L"sub");
    Show(Dir());

    ASSERT_EQ(view.Count(), 5);
    EXPECT_EQ(SizeText(L"zero"), L"       1KB");
    EXPECT_EQ(SizeText(L"k1023"), L"       1KB");
    EXPECT_EQ(SizeText(L"k1024"), L"       2KB");
    EXPECT_EQ(SizeText(L"huge"), L" 5242881KB");
    EXPECT_EQ(SizeText(L"sub"), L"       1KB"); // folders have file data too
    EXPECT_EQ(DateText(L"huge"), ExpectedDate(In(L"huge")));
    EXPECT_EQ(DateText(L"sub"), ExpectedDate(In(L"sub")));
    EXPECT_FALSE(view.ItemText(Find(L"huge"), 2).empty()); // a type name, whatever the shell calls it

    // The folder's own order (folders first), and the view style put back.
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"sub", L"huge", L"k1023", L"k1024", L"zero"}));
    EXPECT_EQ(view.ViewStyle(), DWORD(LVS_ICON));
    EXPECT_EQ(view.ItemPath(Find(L"k1024")), In(L"k1024"));
    EXPECT_EQ(view.ItemRecordCount(), 5u);
}

TEST_F(FileViewTest, EmptyFolderGivesEmptyListAndHiddenFilesAreListed)
{
    Show(Dir());
    EXPECT_EQ(view.Count(), 0);
    EXPECT_EQ(view.SelectedPath(), L"");

    std::wstring hidden = dir.File(L"hidden.txt", "x");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    view.FillList();
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"hidden.txt"});
}

TEST_F(FileViewTest, MaskShowsFoldersAndMatchingFilesInAnyCase)
{
    for (const wchar_t* name : {L"a.cur", L"B.CUR", L"c.Ani", L"d.ani", L"cur", L"e.txt", L"f.cur.txt"})
        dir.File(name, "x");
    dir.Folder(L"folder.txt");
    view.SetMask({L".cur", L".ani"});
    Show(Dir());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"folder.txt", L"a.cur", L"B.CUR", L"c.Ani", L"d.ani"}));
    EXPECT_EQ(view.ItemRecordCount(), 5u);

    view.SetMask({});
    view.FillList();
    EXPECT_EQ(view.Count(), 8);
}

TEST_F(FileViewTest, EachItemFreesItsRecordWhenDeleted)
{
    for (const wchar_t* name : {L"1", L"2", L"3"})
        dir.File(name, "x");
    Show(Dir());
    ASSERT_EQ(view.ItemRecordCount(), 3u);
    view.DeleteItem(0);
    EXPECT_EQ(view.ItemRecordCount(), 2u);
    view.FillList();
    EXPECT_EQ(view.ItemRecordCount(), 3u);
    // Destroying the window with its parent frees the rest.
    DestroyWindow(host);
    host = nullptr;
    EXPECT_EQ(view.ItemRecordCount(), 0u);
}

TEST_F(FileViewTest, FolderSetBeforeTheWindowIsFilledWhenItIsMade)
{
    dir.File(L"early", "x");
    TFileView early;
    early.SetFolder(idlist::IDListFromPath(Dir()).get());
    EXPECT_NE(early.ShellFolder(), nullptr);
    ASSERT_TRUE(early.Create(host));
    testsupport::PumpUntil([&] { return !early.Filling(); });
    EXPECT_EQ(early.Count(), 1);
    EXPECT_EQ(early.ItemText(0), L"early");
}

TEST_F(FileViewTest, SetFolderWithNoneChangesNothing)
{
    dir.File(L"kept", "x");
    Show(Dir());
    IShellFolder* before = view.ShellFolder();
    view.SetFolder(nullptr);
    EXPECT_EQ(view.ShellFolder(), before);
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"kept"});
}

TEST_F(FileViewTest, DesktopIsShownThroughTheDesktopFolderItself)
{
    idlist::AbsoluteIDList desktop = idlist::IDListAlloc<ITEMIDLIST_ABSOLUTE>(2);
    view.SetFolder(desktop.get());
    EXPECT_EQ(view.ShellFolder(), idlist::DesktopFolder());
    EXPECT_GT(view.Count(), 0);
}

TEST_F(FileViewTest, DrivesHaveNoSizeOrDateAndSortBeforeFilesAscending)
{
    idlist::AbsoluteIDList drives;
    ASSERT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put()));
    view.SetFolder(drives.get());
    bool sawWithout = false, sawWith = false;
    for (int i = 0; i < view.Count(); ++i) {
        bool has = !view.ItemText(i, 1).empty();
        EXPECT_EQ(has, !view.ItemText(i, 3).empty()) << i;
        (has ? sawWith : sawWithout) = true;
    }
    EXPECT_TRUE(sawWithout); // the drives
    // Ascending by size: every item without data before every item with it;
    // descending: after.
    view.ColumnClick(1);
    view.ColumnClick(1);
    bool seenData = false;
    for (int i = 0; i < view.Count(); ++i) {
        bool has = !view.ItemText(i, 1).empty();
        EXPECT_FALSE(seenData && !has) << "item " << i << " without data after one with data";
        seenData = seenData || has;
    }
    if (sawWith) {
        view.ColumnClick(3); // date descending
        EXPECT_FALSE(view.ItemText(0, 3).empty());
        EXPECT_TRUE(view.ItemText(view.Count() - 1, 3).empty());
    }
}

TEST_F(FileViewTest, FillKeepsTheViewStyleUnderTheHourglass)
{
    dir.File(L"one", "x");
    dir.File(L"two", "x");
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    ui::ComPtr<IShellFolder> real = Real();
    ASSERT_TRUE(real);
    auto folder = TestFolder::Over(real.get());
    std::vector<DWORD> styles;
    std::vector<LPCWSTR> cursors;
    folder->onNext = [&] {
        styles.push_back(view.ViewStyle());
        cursors.push_back(ui::ScreenCursor::Current());
    };
    view.SetViewStyle(LVS_REPORT);
    ShowThrough(id.get(), folder.get());
    ASSERT_EQ(styles.size(), 3u); // two items and the end
    // Switching the style for the fill left the scroll bars of the other one.
    for (DWORD s : styles)
        EXPECT_EQ(s, DWORD(LVS_REPORT));
    for (LPCWSTR c : cursors)
        EXPECT_EQ(c, IDC_WAIT);
    EXPECT_EQ(view.ViewStyle(), DWORD(LVS_REPORT));
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    EXPECT_EQ(view.ShellFolder(), static_cast<IShellFolder*>(folder.get()));
    EXPECT_EQ(view.Count(), 2);
    folder->onNext = nullptr;
}

TEST_F(FileViewTest, FillAskedForDuringAFillRunsAfterIt)
{
    dir.File(L"one", "x");
    dir.File(L"two", "x");
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    ui::ComPtr<IShellFolder> real = Real();
    ASSERT_TRUE(real);
    auto folder = TestFolder::Over(real.get());
    int nexts = 0;
    folder->onNext = [&] {
        if (++nexts == 2) // amid the first fill, as a refresh message would
            view.FillList();
    };
    ShowThrough(id.get(), folder.get());
    EXPECT_EQ(nexts, 5) << "the first walk given up where the second was asked for";
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_EQ(view.ItemRecordCount(), 2u);
    EXPECT_EQ(view.ViewStyle(), DWORD(LVS_ICON));
    folder->onNext = nullptr;
}

// A large folder is read in slices: the first at once, the rest from the
// list's own messages, each item at its place in the order as it comes.
TEST_F(FileViewTest, FillInSlicesShowsItemsAsReadAndEndsOnce)
{
    for (const wchar_t* name : {L"a", L"b", L"c", L"e"})
        dir.File(name, "x");
    dir.Folder(L"d"); // read amid the files, shown before them
    view.fillSliceItems = 2;
    int replacing = 0, replaced = 0, after = 0;
    view.OnItemsReplacing = [&](ui::Component*) { ++replacing; };
    view.OnItemsReplaced = [&](ui::Component*) { ++replaced; };
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    int slices = view.FillSlicesRun();
    view.SetFolder(id.get());
    EXPECT_TRUE(view.Filling());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"a", L"b"}));
    view.AfterFill([&] {
        ++after;
        EXPECT_EQ(view.Count(), 5) << "only once every item is in";
    });
    testsupport::PumpUntilIdle();
    EXPECT_FALSE(view.Filling());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"d", L"a", L"b", L"c", L"e"}));
    EXPECT_EQ(view.FillSlicesRun() - slices, 3);
    EXPECT_EQ(replacing, 1);
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(after, 1);
    view.AfterFill([&] { ++after; }); // none under way: at once
    EXPECT_EQ(after, 2);
}

TEST_F(FileViewTest, ANewFolderOrClosingDropsTheFillUnderWay)
{
    for (const wchar_t* name : {L"a", L"b", L"c", L"e"})
        dir.File(name, "x");
    std::wstring sub = dir.Folder(L"sub");
    dir.File(L"sub\\only", "x");
    view.fillSliceItems = 1;
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    idlist::AbsoluteIDList subId = idlist::IDListFromPath(sub);
    int after = 0;
    view.SetFolder(id.get());
    view.AfterFill([&] { ++after; });
    view.SetFolder(subId.get()); // the first fill's posted slice comes to nothing
    testsupport::PumpUntilIdle();
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"only"}));
    EXPECT_EQ(view.ItemRecordCount(), 1u);
    EXPECT_EQ(after, 1) << "run once, when the list held what it shows";

    view.SetFolder(id.get());
    ASSERT_TRUE(view.Filling());
    view.AfterFill([&] { ++after; });
    DestroyWindow(view.Handle());
    testsupport::PumpUntilIdle();
    EXPECT_FALSE(view.Filling());
    EXPECT_EQ(after, 1);
    EXPECT_EQ(view.ItemRecordCount(), 0u);
}

// A new folder asked for while the old items go and a reader still reads
// carries on from there: the old items go from the last, in slices,
// answering for their own folder until the last has gone; nothing the
// dropped reader gives later reaches the list; no record outlives its item.
TEST_F(FileViewTest, ANewFolderMidFillKeepsNothingOfTheOldItemsOrTheirReader)
{
    for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e"})
        dir.File(name, "x");
    testsupport::TempDir many, few;
    for (int i = 0; i < 400; ++i)
        many.File(L"m" + std::to_wstring(1000 + i), "x");
    few.File(L"only", "x");
    Show(Dir());
    ASSERT_EQ(view.Count(), 5);
    view.fillSliceItems = 2;
    idlist::AbsoluteIDList manyId = idlist::IDListFromPath(many.Path());
    idlist::AbsoluteIDList fewId = idlist::IDListFromPath(few.Path());
    view.SetFolder(manyId.get());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(view.ItemPath(2), dir / L"c");
    EXPECT_EQ(view.ItemRecordCount(), 3u);
    view.SetFolder(fewId.get());
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"a"});
    testsupport::PumpUntilIdle();
    testsupport::PumpUntil([] { return false; }, 300); // the first reader ends meanwhile
    EXPECT_FALSE(view.Filling());
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"only"});
    EXPECT_EQ(view.ItemPath(0), few / L"only");
    EXPECT_EQ(view.ItemRecordCount(), 1u);
}

// A reader gives the items the mask shows, numbered as read, with their
// whole sizes and, once done, their places in the folder's own order; a
// reader cancelled keeps nothing, and every reader's thread ends.
TEST_F(FileViewTest, AReaderNumbersItsItemsAndGivesTheFoldersOrder)
{
    for (const wchar_t* name : {L"b.cur", L"a.ani", L"c.txt", L"D.cur"})
        dir.File(name, "x");
    dir.Folder(L"z");
    MakeSizedFile(In(L"huge.cur"), 5ull << 30);
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    auto readAll = [&](std::size_t rankFrom, std::deque<shview::FillEntry>& entries) {
        auto feed = shview::FillFeed::Start(id.get(), {L".cur", L".ani"}, rankFrom);
        EXPECT_TRUE(feed);
        auto state = shview::FillFeed::State::Opening;
        while (feed && state != shview::FillFeed::State::Done && state != shview::FillFeed::State::Failed) {
            state = feed->Wait(10000);
            feed->Take(entries);
        }
        EXPECT_EQ(state, shview::FillFeed::State::Done);
        return feed ? feed->Ranks() : std::vector<std::uint32_t>{};
    };
    std::deque<shview::FillEntry> entries;
    std::vector<std::uint32_t> ranks = readAll(0, entries);
    ASSERT_EQ(entries.size(), 5u);
    ASSERT_EQ(ranks.size(), 5u);
    std::vector<std::wstring> ordered(5);
    for (std::uint32_t n = 0; n < 5; ++n) {
        EXPECT_EQ(entries[n].number, n);
        ordered.at(ranks[n]) = entries[n].caption;
        if (entries[n].caption == L"huge.cur") {
            EXPECT_EQ(entries[n].size, 5ull << 30);
        }
    }
    EXPECT_EQ(ordered, (std::vector<std::wstring>{L"z", L"a.ani", L"b.cur", L"D.cur", L"huge.cur"}));
    entries.clear();
    EXPECT_TRUE(readAll(6, entries).empty()) << "fewer items than asked for: not ordered";
    EXPECT_EQ(entries.size(), 5u);

    auto cancelled = shview::FillFeed::Start(id.get(), {}, 0);
    ASSERT_TRUE(cancelled);
    cancelled->Cancel();
    entries.clear();
    cancelled->Wait(200);
    cancelled->Take(entries);
    EXPECT_TRUE(entries.empty());
    // Every reader's thread ends, as the program waits for before it ends.
    EXPECT_TRUE(shview::FillFeed::WaitForReaders(10000));
}

// Past the limit items are added at the end; the list ends in the folder's
// order all the same, whether a reader thread ordered them (a file-system
// folder) or the list itself did (any other folder), and in the order of a
// column clicked during the fill.
TEST_F(FileViewTest, ItemsAddedPastTheLimitEndSorted)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back(L"f" + std::to_wstring(100 + (i * 37) % 40));
        dir.File(names.back(), std::string(size_t(i), 'x'));
    }
    std::sort(names.begin(), names.end());
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    ui::ComPtr<IShellFolder> real = Real();
    auto folder = TestFolder::Over(real.get());
    for (int limit : {0, 7}) {
        view.sortedInsertLimit = limit;
        Show(Dir());
        EXPECT_EQ(Captions(), names) << "reader, limit " << limit;
        ShowThrough(id.get(), folder.get());
        testsupport::PumpUntilIdle();
        EXPECT_EQ(Captions(), names) << "list, limit " << limit;
    }
    view.fillSliceItems = 5;
    view.SetFolder(id.get());
    view.ColumnClick(1); // the largest first
    testsupport::PumpUntilIdle();
    ASSERT_EQ(view.Count(), 40);
    for (int i = 1; i < 40; ++i)
        EXPECT_GE(SizeText(Captions()[i - 1]), SizeText(Captions()[i])) << i;
}

// A folder too deep for the system to read says so in a box naming it; a
// shallow one that cannot be read says why instead.
TEST_F(FileViewTest, AFolderTooDeepToReadSaysSoInABox)
{
    // The shell parses no path that long: a simple identifier names it.
    std::wstring deep = Dir();
    while (deep.size() < 300)
        deep += L"\\" + std::wstring(40, L'd');
    idlist::AbsoluteIDList deepId = idlist::AbsoluteIDList::Adopt(SHSimpleIDListFromPath(deep.c_str()));
    // Wine's shell gives no more of a path than MAX_PATH holds: the box names
    // the folder as the shell does.
    std::wstring named;
    ASSERT_TRUE(idlist::IDListFileSystemPath(deepId.get(), named));
    ASSERT_GE(named.size(), 258u);
    idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
    auto failing = TestFolder::Over(Real().get());
    failing->enumResult = E_FAIL;
    testsupport::BoxRecorder boxes;
    ShowThrough(id.get(), failing.get());
    ASSERT_EQ(boxes.boxes.size(), 1u) << "a shallow folder says why it cannot be read, not that it is too deep";
    EXPECT_EQ(boxes.boxes[0].text.find(texts::kPathTooLongToRead), std::wstring::npos);
    boxes.boxes.clear();
    ShowThrough(deepId.get(), failing.get());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, named + L"\n\n" + texts::kPathTooLongToRead);
    EXPECT_EQ(boxes.boxes[0].owner, view.Handle());
}

// The directory's whole sizes read in steps give what one read gives.
TEST_F(FileViewTest, WholeSizesReadInStepsKnowTheLastFileToo)
{
    for (int i = 0; i < 200; ++i)
        dir.File(L"f" + std::to_wstring(100 + i), "x");
    MakeSizedFile(In(L"zz-huge"), 5ull << 30);
    shview::WholeSizes sizes;
    sizes.Start(Dir());
    int steps = 1;
    while (!sizes.Continue([] { return true; }))
        ++steps;
    EXPECT_GT(steps, 2);
    EXPECT_EQ(sizes.Whole(L"zz-huge", 1ull << 30), 5ull << 30);
    EXPECT_EQ(sizes.Whole(L"zz-huge", 7), 7u) << "another file's low bits: not this one";
    EXPECT_EQ(sizes.Whole(L"f100", 1), 1u);
}

// Refilling a list whose items overflow it keeps its vertical scroll bar (a
// refill once left it without one), gives it no horizontal one, and lets it
// scroll down to the last item (a list one column narrower than the width
// without the bar once scrolled only as far as that wider layout reached).
TEST_F(FileViewTest, ARefillOfAnOverflowingListKeepsItsScrollBarsRight)
{
    const struct {
        int items, width, height;
    } rows[] = {{40, 150, 300}, {19, 308, 331}};
    auto style = [&] { return DWORD(GetWindowLongPtrW(view.Handle(), GWL_STYLE)); };
    for (const auto& row : rows) {
        for (int i = 0; i < row.items; ++i)
            dir.File(L"f" + std::to_wstring(100 + i), "x");
        view.SetBounds(0, 0, row.width, row.height);
        Show(Dir());
        for (int slice : {0, 7}) {
            view.fillSliceItems = slice;
            view.FillList();
            testsupport::PumpUntilIdle();
            ASSERT_EQ(view.Count(), row.items);
            EXPECT_TRUE(style() & WS_VSCROLL) << row.width << " " << slice;
            EXPECT_FALSE(style() & WS_HSCROLL) << row.width << " " << slice;
            SCROLLINFO bar{sizeof bar, SIF_RANGE};
            GetScrollInfo(view.Handle(), SB_VERT, &bar);
            RECT last{LVIR_BOUNDS};
            SendMessageW(view.Handle(), LVM_GETITEMRECT, WPARAM(row.items - 1), LPARAM(&last));
            EXPECT_GE(bar.nMax + 1, int(last.bottom)) << row.width << " " << slice;
        }
        for (int i = 0; i < row.items; ++i)
            DeleteFileW(In(L"f" + std::to_wstring(100 + i)).c_str());
    }
}

class FileViewIconTest : public FileViewTest {
protected:
    int SystemIndex(const std::wstring& name)
    {
        idlist::AbsoluteIDList id = idlist::IDListFromPath(In(name));
        return idlist::IDListIconIndex(id.get(), SHGFI_SYSICONINDEX);
    }
};

TEST_F(FileViewIconTest, IconsComeFromTheFoldersIShellIconWhenItGivesOne)
{
    dir.File(L"given.txt", "x");
    dir.File(L"refused.txt", "x");
    dir.File(L"link.txt", "x");
    ui::ComPtr<IShellFolder> real = Real();
    auto folder = TestFolder::Over(real.get());
    folder->offerIcons = true;
    folder->iconOf = [](const std::wstring& name, UINT flags, int* index) {
        if (flags != GIL_FORSHELL)
            return S_FALSE;
        if (name == L"given.txt") {
            *index = 3;
            return S_OK;
        }
        *index = 5; // not to be trusted without S_OK
        return S_FALSE;
    };
    folder->links = {L"link.txt"};
    ShowThrough(idlist::IDListFromPath(Dir()).get(), folder.get());
    ASSERT_EQ(view.Count(), 3);
    EXPECT_EQ(folder->iconCalls, 3);
    EXPECT_EQ(view.ItemImage(Find(L"given.txt")), 3);
    EXPECT_EQ(view.ItemImage(Find(L"refused.txt")), SystemIndex(L"refused.txt"));
    // Shortcuts carry the shell's overlay 2; others none.
    auto overlay = [&](const wchar_t* name) {
        return ListView_GetItemState(view.Handle(), Find(name), LVIS_OVERLAYMASK);
    };
    EXPECT_EQ(overlay(L"link.txt"), UINT(INDEXTOOVERLAYMASK(2)));
    EXPECT_EQ(overlay(L"given.txt"), 0u);
}

TEST_F(FileViewIconTest, WithoutIShellIconIconsAndTypesAreTheSystemsForEachItem)
{
    // Items that share an icon place or an extension share one answer from
    // the shell; each must still get what the shell gives for it alone.
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.TXT", L"d.bin", L"noext"})
        dir.File(name, "x");
    std::string cursor = testsupport::ReadBytes(testsupport::CorpusFile(L"capitaine/master/link-select.cur"));
    ASSERT_FALSE(cursor.empty());
    dir.File(L"e.cur", cursor);
    dir.File(L"f.cur", cursor);
    dir.Folder(L"sub");
    dir.Folder(L"sub2");
    Show(Dir());
    ASSERT_EQ(view.Count(), 9);
    for (int i = 0; i < view.Count(); ++i) {
        std::wstring name = view.ItemText(i);
        idlist::AbsoluteIDList id = idlist::IDListFromPath(In(name));
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(id.get()), 0, &info, sizeof info, SHGFI_TYPENAME | SHGFI_PIDL);
        EXPECT_EQ(view.ItemImage(i), SystemIndex(name)) << testing::PrintToString(name);
        EXPECT_EQ(view.ItemText(i, 2), info.szTypeName) << testing::PrintToString(name);
    }
}

TEST_F(FileViewIconTest, FailedEnumerationWithoutTreeKeepsTheItemsOfTheFolderBefore)
{
    std::wstring kept = dir.File(L"kept.txt", "x");
    Show(Dir());
    testsupport::TempDir other;
    other.File(L"other.txt", "x");
    idlist::AbsoluteIDList otherID = idlist::IDListFromPath(other.Path());
    ui::ComPtr<IShellFolder> real;
    idlist::DesktopFolder()->BindToObject(otherID.get(), nullptr, IID_IShellFolder, real.put_void());
    auto failing = TestFolder::Over(real.get());
    failing->enumResult = HRESULT_FROM_WIN32(ERROR_NOT_READY);
    ShowThrough(otherID.get(), failing.get());
    // The folder that failed is the one named; the items still answer for
    // the folder they came from.
    EXPECT_EQ(view.ShellFolder(), static_cast<IShellFolder*>(failing.get()));
    EXPECT_EQ(idlist::IDListDisplayName(view.FolderIDList(), SHGDN_FORPARSING),
              other.Path());
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"kept.txt"});
    EXPECT_EQ(view.ItemPath(0), kept);
    view.SetSelected(0, true);
    EXPECT_EQ(view.SelectedPath(), kept);
    // A refill fails the same way.
    view.FillList();
    EXPECT_EQ(view.ItemPath(0), kept);
    view.SetFolder(otherID.get());
    testsupport::PumpUntilIdle();
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"other.txt"});
}

TEST_F(FileViewIconTest, FolderThatCannotBeBoundIsNotShownAsTheDesktop)
{
    dir.File(L"kept.txt", "x");
    Show(Dir());
    idlist::AbsoluteIDList id = idlist::IDListFromPath(In(L"kept.txt"));
    ShowThrough(id.get(), nullptr, E_FAIL);
    EXPECT_EQ(view.ShellFolder(), nullptr);
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"kept.txt"});
    EXPECT_EQ(view.ItemPath(0), In(L"kept.txt"));
}


// A folder only a read with a window may open (a share's password): the reader fails.
std::vector<HWND> ownerReads;
HRESULT ownerAnswer = S_OK;
HRESULT NeedsOwner(IShellFolder* folder, HWND owner, IEnumIDList** items)
{
    if (!owner)
        return HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED);
    ownerReads.push_back(owner);
    return FAILED(ownerAnswer) ? ownerAnswer : shview::EnumerateWithShell(folder, owner, items);
}

TEST_F(FileViewTest, AFolderTheReaderCannotOpenIsReadWithTheListAsOwner)
{
    dir.File(L"a.txt", "x");
    for (HRESULT answer : {S_OK, HRESULT_FROM_WIN32(ERROR_NOT_READY)}) {
        testsupport::BoxRecorder boxes;
        ownerReads.clear();
        ownerAnswer = answer;
        shview::itemEnumerator = &NeedsOwner;
        Show(Dir());
        testsupport::PumpUntil([&] { return !view.Filling(); });
        shview::FillFeed::WaitForReaders(5000);
        shview::itemEnumerator = &shview::EnumerateWithShell;
        EXPECT_EQ(ownerReads, std::vector<HWND>{view.Handle()}) << answer;
        // Read, or else a box names the folder and says why.
        ASSERT_EQ(boxes.boxes.size(), answer == S_OK ? 0u : 1u);
        if (answer == S_OK)
            EXPECT_EQ(view.Count(), 1);
        else
            EXPECT_GT(boxes.boxes[0].text.size(), Dir().size() + wcslen(texts::kFolderUnreadable) + 3);
    }
}

} // namespace
} // namespace fvtest
