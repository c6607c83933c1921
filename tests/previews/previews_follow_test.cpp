// The previews of the main window: they follow the list's items on every
// road that refills or reorders them (each ends with previews running,
// every entry on the item of its own file), and take each item's own path
// whatever its caption says, on the desktop too.
#include "app/ufrmMain.h"
#include "tests/support/main_form.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/wine_ui.h"
#include "ui/screen_cursor.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using testsupport::CorpusFile;
using testsupport::ReadBytes;

bool IsAni(const std::wstring& path)
{
    return path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".ani") == 0;
}

// Idle calls until the loader has examined every path.
void LoadAll(Previews& previews)
{
    for (int i = 0; i < 1000; ++i) {
        bool done = true;
        previews.PreviewIdle(done);
        if (done)
            break;
    }
}

class PreviewsFollowTheList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::ScreenCursor::Set(nullptr);
        ASSERT_TRUE(form.Created());
        const std::string wait = ReadBytes(CorpusFile(L"reconstruct/wait.ani"));
        const std::string piano = ReadBytes(CorpusFile(L"webamp/fixtures/piano.ani"));
        for (const wchar_t* name : {L"a-wait.ani", L"c-wait.ani", L"f-wait.ani"})
            dir.File(name, wait);
        for (const wchar_t* name : {L"b-piano.ani", L"e-piano.ani"})
            dir.File(name, piano);
        dir.File(L"d-note.txt", "plain, and longer than the others");
        dir.File(L"g-note.txt", "x");
        dir.Folder(L"sub");
        form.Open(dir.Path());
    }
    void TearDown() override { ui::ScreenCursor::Set(nullptr); }

    Previews& previews() const { return form->listPreviews; }
    TFileView& list() const { return form->FileView; }
    void LoadAll() { ::LoadAll(previews()); }
    // Each animated file's reader, by the file's path.
    std::map<std::wstring, const TAniCur*> Readers() const
    {
        std::map<std::wstring, const TAniCur*> readers;
        for (int i = 0; i < previews().FPreviewCount; ++i) {
            const TPreviewEntry& e = previews().FPreviews[size_t(i)];
            readers[GetItemPath(list(), e.ItemIndex)] = e.AniCur.get();
        }
        return readers;
    }
    int Item(const std::wstring& name) const
    {
        for (int i = 0; i < list().Count(); ++i)
            if (GetItemPath(list(), i) == dir / name)
                return i;
        return -1;
    }
    void SelectOnly(const std::wstring& name)
    {
        SetFocus(list().Handle());
        for (int i = 0; i < list().Count(); ++i)
            list().SetSelected(i, false);
        list().SetSelected(Item(name), true);
        testsupport::PumpUntilIdle();
    }
    void Rename(const std::wstring& name, const std::wstring& typed)
    {
        SelectOnly(name);
        list().EditLabel(Item(name));
        HWND edit = reinterpret_cast<HWND>(SendMessageW(list().Handle(), LVM_GETEDITCONTROL, 0, 0));
        ASSERT_TRUE(edit);
        SetWindowTextW(edit, typed.c_str());
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        testsupport::PumpUntilIdle();
    }
    // Running on the right items: the path list is the list's, every .ani
    // item has exactly one entry, on its own item, and the list's painting
    // draws them.
    void ExpectFollowing(const char* what)
    {
        const int items = list().Count();
        ASSERT_EQ(previews().FPreviewPaths.size(), size_t(items)) << what;
        for (int i = 0; i < items; ++i)
            EXPECT_EQ(previews().FPreviewPaths[size_t(i)], GetItemPath(list(), i)) << what << " item " << i;
        std::map<std::wstring, int> entries;
        for (int k = 0; k < previews().FPreviewCount; ++k) {
            const int item = previews().FPreviews[size_t(k)].ItemIndex;
            ASSERT_LT(item, items) << what;
            EXPECT_EQ(previews().previewOfItem[size_t(item)], k) << what;
            ++entries[GetItemPath(list(), item)];
        }
        std::map<std::wstring, int> cursors;
        for (int i = 0; i < items; ++i)
            if (IsAni(GetItemPath(list(), i)))
                cursors[GetItemPath(list(), i)] = 1;
        EXPECT_EQ(entries, cursors) << what;
        EXPECT_TRUE(list().OnCustomDraw) << what;
        EXPECT_TRUE(previews().stepTimer.Running()) << what;
        EXPECT_EQ(form->FBusy.Count(), 0) << what;
    }

    testsupport::TempDir dir;
    testsupport::MainForm form;
};

TEST_F(PreviewsFollowTheList, EveryRoadThatRefillsOrReordersEndsWithPreviewsOnTheirItems)
{
    struct Road {
        const char* what;
        int loadsBefore; // idle calls before the road: -1 all of them
        std::function<void()> take;
        // The same readers go on (the items stayed); else they were read afresh.
        bool keepsReaders;
        // Read in place: every other item keeps its reader, this one's aside.
        const wchar_t* changed = nullptr;
    };
    const Road roads[] = {
        {"navigation down and up", -1,
         [&] {
             form.Open(dir / L"sub");
             form->sbtnFolderUpClick();
             testsupport::PumpUntilIdle();
         },
         false},
        {"the refresh command", -1,
         [&] {
             form->mitemRefreshClick();
             testsupport::PumpUntilIdle();
         },
         false},
        {"delete answered no", -1,
         [&] {
             SelectOnly(L"d-note.txt");
             testsupport::DialogWatchdog no(IDNO);
             form->mitemDeleteClick();
             EXPECT_GE(no.Pressed(), 1);
         },
         true},
        {"delete answered yes", -1,
         [&] {
             SelectOnly(L"d-note.txt");
             testsupport::DialogWatchdog yes(IDYES);
             form->mitemDeleteClick();
             EXPECT_GE(yes.Pressed(), 1);
             EXPECT_EQ(Item(L"d-note.txt"), -1);
         },
         false},
        {"rename, then the monitor's refill", -1,
         [&] {
             Rename(L"f-wait.ani", L"0-wait.ani");
             // The new name sorts before the other files once the folder
             // monitor refills.
             EXPECT_TRUE(testsupport::PumpUntil(
                 [&] { return Item(L"0-wait.ani") >= 0 && Item(L"0-wait.ani") < Item(L"a-wait.ani"); }, 10000));
             testsupport::PumpUntilIdle();
         },
         true, L"f-wait.ani"},
        {"sort by name, reversed", -1, [&] { list().ColumnClick(0); }, true},
        {"sort by size midway through loading", 1, [&] { list().ColumnClick(1); }, true},
    };
    for (const Road& road : roads) {
        form.Open(dir.Path());
        previews().Start(); // a fresh table, whatever the road before left
        const int loads = road.loadsBefore;
        if (loads < 0) {
            LoadAll();
        } else {
            for (int i = 0; i < loads; ++i) {
                bool done = true;
                previews().PreviewIdle(done);
            }
        }
        const std::map<std::wstring, const TAniCur*> before = Readers();
        ASSERT_FALSE(before.empty()) << road.what;
        road.take();
        const std::map<std::wstring, const TAniCur*> now = Readers();
        if (road.changed) {
            std::map<std::wstring, const TAniCur*> kept = before, still = now;
            kept.erase(dir / road.changed);
            for (const auto& [path, reader] : now)
                if (!kept.count(path))
                    still.erase(path);
            EXPECT_EQ(still, kept) << road.what << ": the other items' previews were dropped";
        } else if (road.keepsReaders) {
            EXPECT_EQ(now, before) << road.what << ": the previews were dropped";
        } else {
            EXPECT_TRUE(now.empty()) << road.what << ": the old readers were kept";
        }
        LoadAll();
        ExpectFollowing(road.what);
    }
}

TEST_F(PreviewsFollowTheList, ClosingTheWindowFreesEveryReader)
{
    LoadAll();
    ASSERT_GT(previews().FPreviewCount, 0);
    HWND w = form->Handle();
    SendMessageW(w, WM_CLOSE, 0, 0);
    testsupport::PumpFor(150);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(previews().FPreviews, nullptr);
    EXPECT_EQ(previews().FPreviewCount, 0);
    EXPECT_TRUE(previews().FPreviewPaths.empty());
    EXPECT_FALSE(previews().stepTimer.Running());
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    previews().AnimateTimerProc(); // harmless without a window
    bool done = true;
    previews().PreviewIdle(done);
    EXPECT_TRUE(done);
}

// Run with the extensions shown (Wine's default) and hidden (a stock Windows
// system's): the captions then lack them, the paths never do.
class PreviewsOfTheRealList : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ui::ScreenCursor::Set(nullptr);
        ASSERT_TRUE(form.Created());
    }
    void TearDown() override { ui::ScreenCursor::Set(nullptr); }
    Previews& previews() const { return form->listPreviews; }
    // The files the loader made entries of, by their paths.
    std::set<std::wstring> Animated() const
    {
        std::set<std::wstring> paths;
        for (int i = 0; i < previews().FPreviewCount; ++i)
            paths.insert(previews().FPreviewPaths[size_t(previews().FPreviews[size_t(i)].ItemIndex)]);
        return paths;
    }
    testsupport::ScopedFileExtensions extensions{GetParam()};
    testsupport::MainForm form;
};
INSTANTIATE_TEST_SUITE_P(Extensions, PreviewsOfTheRealList, ::testing::ValuesIn(testsupport::kExtensionSettings),
                         [](const auto& info) { return testsupport::ExtensionSettingName(info.param); });

// The whole road: the tree selects a folder, the list fills itself from the
// shell, and the previews that follow its fill take every item's own path,
// a static cursor's too.
TEST_P(PreviewsOfTheRealList, SelectingAFolderLoadsItsCursors)
{
    testsupport::TempDir dir;
    dir.File(L"a-wait.ani", ReadBytes(CorpusFile(L"reconstruct/wait.ani")));
    dir.File(L"b-static.cur", ReadBytes(CorpusFile(L"reconstruct/domain.cur")));
    dir.File(L"c-piano.ani", ReadBytes(CorpusFile(L"webamp/fixtures/piano.ani")));
    form->FolderView.SelectPath(dir.Path());
    testsupport::PumpFor(200);
    ASSERT_EQ(form->FileView.Count(), 3);
    EXPECT_EQ(previews().FPreviewPaths,
              (std::vector<std::wstring>{dir / L"a-wait.ani", dir / L"b-static.cur", dir / L"c-piano.ani"}));
    EXPECT_EQ(form->FileView.ItemText(0), GetParam() ? L"a-wait" : L"a-wait.ani");
    EXPECT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
    LoadAll(previews());
    EXPECT_EQ(Animated(), (std::set<std::wstring>{dir / L"a-wait.ani", dir / L"b-static.cur", dir / L"c-piano.ani"}));
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
}

// The desktop shows the items of the user's desktop folder (and, where the
// shell merges it, of the shared one) under one root whose own path is not
// theirs: each item's path is its own file's.
TEST_P(PreviewsOfTheRealList, DesktopItemsAreFoundWhereTheyAre)
{
    struct Place {
        int csidl;
        std::wstring file;
    };
    std::vector<Place> places{{CSIDL_DESKTOPDIRECTORY, {}}, {CSIDL_COMMON_DESKTOPDIRECTORY, {}}};
    const std::string bytes = ReadBytes(CorpusFile(L"reconstruct/wait.ani"));
    for (Place& p : places) {
        wchar_t folder[MAX_PATH] = {};
        if (!SHGetSpecialFolderPathW(nullptr, folder, p.csidl, TRUE))
            continue;
        p.file = std::wstring(folder) + L"\\tk-preview-" + std::to_wstring(p.csidl) + L"-" +
                 std::to_wstring(GetCurrentProcessId()) + L".ani";
        HANDLE h = CreateFileW(p.file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << p.csidl;
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    ASSERT_FALSE(places[0].file.empty());

    // The tree's root, shown afresh so that the list has the new files.
    testsupport::TempDir elsewhere;
    form->FolderView.SelectPath(elsewhere.Path());
    testsupport::PumpFor(200);
    form->FolderView.Select(form->FolderView.Root());
    testsupport::PumpFor(200);
    LoadAll(previews());
    const std::set<std::wstring> animated = Animated();
    for (const Place& p : places) {
        if (p.file.empty())
            continue;
        bool listed = false;
        for (int i = 0; i < form->FileView.Count(); ++i)
            listed = listed || GetItemPath(form->FileView, i) == p.file;
        if (p.csidl == CSIDL_DESKTOPDIRECTORY) {
            EXPECT_TRUE(listed);
        }
        EXPECT_EQ(animated.count(p.file), listed ? 1u : 0u) << p.file;
        DeleteFileW(p.file.c_str());
    }
}

} // namespace
