// The list read again in place keeps the user's place, marks and other previews,
// never empty on the way; the refresh command reads all afresh and keeps them too.
#include "app/ufrmMain.h"
#include "tests/support/main_form.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using testsupport::CorpusFile;
using testsupport::ReadBytes;

TEST(SteadyList, ChangesInTheFolderKeepThePlaceTheMarksAndTheOtherPreviews)
{
    testsupport::TempDir dir;
    for (int i = 10; i < 85; ++i)
        dir.File(L"f" + std::to_wstring(i) + L".txt", "x");
    const std::string piano = ReadBytes(CorpusFile(L"webamp/fixtures/piano.ani"));
    for (const wchar_t* name : {L"b-wait.ani", L"y-wait.ani"})
        dir.File(name, ReadBytes(CorpusFile(L"reconstruct/wait.ani")));
    dir.Folder(L"d-old");
    testsupport::MainForm form;
    form.Open(dir.Path());
    TFileView& view = form->FileView;
    Previews& previews = form->listPreviews;
    auto index = [&](const wchar_t* caption) {
        LVFINDINFOW find{LVFI_STRING, caption};
        return int(SendMessageW(view.Handle(), LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)));
    };
    view.EnsureVisible(index(L"f50.txt")); // scrolled, though not to the end
    view.SetSelected(index(L"f70.txt"), true);
    auto marks = [&] { return std::pair(form.SelectedCaptions(), GetScrollPos(view.Handle(), SB_VERT)); };
    auto readers = [&] {
        for (bool done = false; !done;)
            previews.PreviewIdle(done = true);
        std::map<std::wstring, const TAniCur*> loaded;
        for (int i = 0; i < previews.EntryCount(); ++i)
            loaded[previews.Paths()[size_t(previews.Entry(i).ItemIndex)]] = previews.Entry(i).AniCur.get();
        return loaded;
    };
    struct Change {
        const char* what;
        std::function<void()> make;
        const wchar_t* gone;     // an item that leaves the list
        const wchar_t* came;     // one that comes
        const wchar_t* reloaded; // a cursor whose preview is read again; "*": every one
    };
    const Change changes[] = {
        {"a folder made", [&] { dir.Folder(L"d-new"); }, L"", L"d-new", L""},
        {"a file removed", [&] { DeleteFileW((dir / L"f10.txt").c_str()); }, L"f10.txt", L"", L""},
        {"a folder removed", [&] { RemoveDirectoryW((dir / L"d-old").c_str()); }, L"d-old", L"", L""},
        {"a file renamed", [&] { MoveFileW((dir / L"f20.txt").c_str(), (dir / L"f2b.txt").c_str()); }, L"f20.txt",
         L"f2b.txt", L""},
        {"a cursor grown", [&] { dir.File(L"y-wait.ani", piano); }, L"", L"", L"y-wait.ani"},
        {"a cursor made", [&] { dir.File(L"c-piano.ani", piano); }, L"", L"c-piano.ani", L"c-piano.ani"},
        {"the refresh command", [&] { form->mitemRefreshClick(); }, L"", L"", L"*"},
    };
    for (const Change& c : changes) {
        const auto before = std::pair(marks(), readers());
        c.make();
        int fewest = view.Count();
        view.ReadAgain(); // as the folder's monitor asks (after F5: one more refill)
        testsupport::PumpFor(300);
        ASSERT_TRUE(testsupport::PumpUntil([&] {
            fewest = std::min(fewest, view.Count());
            return !view.Filling() && form->FBusy.Count() == 0;
        })) << c.what;
        EXPECT_EQ(marks(), before.first) << c.what;
        EXPECT_EQ(index(c.gone), -1) << c.what;
        EXPECT_GE(index(*c.came ? c.came : L"f50.txt"), 0) << c.what;
        EXPECT_TRUE(*c.reloaded == L'*' || fewest >= view.Count() - 1) << c.what << ": the list emptied";
        auto now = readers(), kept = before.second;
        for (auto* left : {&now, &kept})
            std::erase_if(*left, [&](auto& r) { return *c.reloaded == L'*' || r.first == dir / c.reloaded; });
        EXPECT_EQ(now, kept) << c.what << ": another item's preview was read again";
        EXPECT_EQ(readers().size(), before.second.size() + (*c.came && *c.reloaded ? 1 : 0)) << c.what;
    }
}

} // namespace
