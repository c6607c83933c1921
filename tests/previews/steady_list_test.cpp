// The list while its folder changes under it: read again in place, it keeps
// the user's place, marks and every other item's preview and is never empty
// on the way; the refresh command reads everything afresh and keeps them too.
#include "app/ufrmMain.h"
#include "tests/support/main_form.h"
#include "tests/support/preview_host.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using testsupport::CorpusFile;
using testsupport::ReadBytes;

// Seventy-five files and two cursors, one near each end.
void Populate(testsupport::TempDir& dir)
{
    for (int i = 0; i < 75; ++i)
        dir.File((i < 10 ? L"f0" : L"f") + std::to_wstring(i) + L".txt", "x");
    const std::string wait = ReadBytes(CorpusFile(L"reconstruct/wait.ani"));
    dir.File(L"b-wait.ani", wait);
    dir.File(L"y-wait.ani", wait);
    dir.Folder(L"d-old");
}

std::vector<std::wstring> Selected(const TFileView& view)
{
    std::vector<std::wstring> names;
    for (int i = view.NextSelected(-1); i >= 0; i = view.NextSelected(i))
        names.push_back(view.ItemPath(i));
    return names;
}

int Focused(const TFileView& view)
{
    return int(SendMessageW(view.Handle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
}

// Each loaded reader by its file's path.
std::map<std::wstring, const TAniCur*> Readers(const Previews& previews)
{
    std::map<std::wstring, const TAniCur*> readers;
    for (int i = 0; i < previews.EntryCount(); ++i)
        readers[previews.Paths()[size_t(previews.Entry(i).ItemIndex)]] = previews.Entry(i).AniCur.get();
    return readers;
}

TEST(SteadyList, ChangesInTheFolderKeepThePlaceTheMarksAndTheOtherPreviews)
{
    testsupport::TempDir dir;
    Populate(dir);
    testsupport::PreviewHost host;
    TFileView& view = host.view;
    ASSERT_TRUE(host.Show(dir.Path()));
    testsupport::PumpUntil([&] { return !view.Filling(); });
    host.LoadAll();
    auto index = [&](const wchar_t* name) {
        for (int i = 0; i < view.Count(); ++i)
            if (view.ItemPath(i) == dir / name)
                return i;
        return -1;
    };
    view.EnsureVisible(index(L"f50.txt")); // scrolled, though not to the end
    view.SetSelected(index(L"f70.txt"), true);
    view.SetSelected(index(L"f72.txt"), true);
    ListView_SetItemState(view.Handle(), index(L"f72.txt"), LVIS_FOCUSED, LVIS_FOCUSED);
    testsupport::PumpUntilIdle();
    const std::vector<std::wstring> selected = Selected(view);
    const int scrolled = GetScrollPos(view.Handle(), SB_VERT);
    ASSERT_GT(scrolled, 0);

    const std::string piano = ReadBytes(CorpusFile(L"webamp/fixtures/piano.ani"));
    struct Change {
        const char* what;
        std::function<void()> make;
        const wchar_t* gone;     // an item that must have left the list
        const wchar_t* came;     // one that must be in it
        const wchar_t* reloaded; // a cursor whose preview is read again
    };
    const Change changes[] = {
        {"a file made", [&] { dir.File(L"f40a.txt", "x"); }, nullptr, L"f40a.txt", nullptr},
        {"a folder made", [&] { dir.Folder(L"d-new"); }, nullptr, L"d-new", nullptr},
        {"a file removed", [&] { DeleteFileW((dir / L"f10.txt").c_str()); }, L"f10.txt", nullptr, nullptr},
        {"a folder removed", [&] { RemoveDirectoryW((dir / L"d-old").c_str()); }, L"d-old", nullptr, nullptr},
        {"a file renamed", [&] { MoveFileW((dir / L"f20.txt").c_str(), (dir / L"f20b.txt").c_str()); }, L"f20.txt",
         L"f20b.txt", nullptr},
        {"a cursor grown", [&] { dir.File(L"y-wait.ani", piano); }, nullptr, nullptr, L"y-wait.ani"},
        {"a cursor made", [&] { dir.File(L"c-piano.ani", piano); }, nullptr, L"c-piano.ani", L"c-piano.ani"},
    };
    for (const Change& c : changes) {
        const std::map<std::wstring, const TAniCur*> before = Readers(host.previews);
        c.make();
        int fewest = view.Count();
        view.ReadAgain();
        ASSERT_TRUE(testsupport::PumpUntil([&] {
            fewest = std::min(fewest, view.Count());
            return !view.Filling();
        })) << c.what;
        EXPECT_GE(fewest, view.Count() - 1) << c.what << ": the list emptied on the way";
        if (c.gone)
            EXPECT_EQ(index(c.gone), -1) << c.what;
        if (c.came)
            EXPECT_GE(index(c.came), 0) << c.what;
        EXPECT_EQ(Selected(view), selected) << c.what;
        EXPECT_EQ(view.ItemPath(Focused(view)), dir / L"f72.txt") << c.what;
        EXPECT_EQ(GetScrollPos(view.Handle(), SB_VERT), scrolled) << c.what;
        // Every other cursor keeps the reader it had; the changed one is read again.
        std::map<std::wstring, const TAniCur*> kept = Readers(host.previews);
        if (c.reloaded)
            kept.erase(dir / c.reloaded);
        std::map<std::wstring, const TAniCur*> expected = before;
        if (c.reloaded)
            expected.erase(dir / c.reloaded);
        EXPECT_EQ(kept, expected) << c.what;
        host.LoadAll();
        for (int i = 0; i < view.Count(); ++i)
            EXPECT_EQ(host.previews.Paths()[size_t(i)], view.ItemPath(i)) << c.what << " item " << i;
        EXPECT_EQ(Readers(host.previews).size(), before.size() + (c.came && c.reloaded ? 1 : 0)) << c.what;
    }
}

TEST(SteadyList, TheRefreshCommandKeepsTheSelectionAndThePlace)
{
    testsupport::TempDir dir;
    Populate(dir);
    testsupport::MainForm form;
    ASSERT_TRUE(form.Created());
    form.Open(dir.Path());
    TFileView& view = form->FileView;
    view.EnsureVisible(view.Count() / 2);
    for (int i : {view.Count() / 2 - 3, view.Count() / 2 - 2})
        view.SetSelected(i, true);
    testsupport::PumpUntilIdle();
    const std::vector<std::wstring> selected = Selected(view);
    const int scrolled = GetScrollPos(view.Handle(), SB_VERT);
    ASSERT_GT(scrolled, 0);
    form->mitemRefreshClick();
    testsupport::PumpFor(300); // the refresh runs from its own message
    ASSERT_TRUE(testsupport::PumpUntil([&] { return form->FBusy == 0 && !view.Filling(); }));
    testsupport::PumpUntilIdle();
    EXPECT_EQ(Selected(view), selected);
    EXPECT_EQ(GetScrollPos(view.Handle(), SB_VERT), scrolled);
}

} // namespace
