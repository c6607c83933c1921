// Renames in the file list whatever the shell does meanwhile (refilling the
// list from its dialogs' message loop, withholding the new identifier,
// keeping a hidden extension), and the busy pairs around the list's work.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/shview/fileview/fileview_fixture.h"
#include "tests/support/test_folder.h"
#include "tests/support/busy_recorder.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"

namespace fvtest {

using testsupport::TestFolder;
namespace {

using Names = std::vector<std::wstring>;

class FileViewRename : public FileViewTest {
protected:
    // The list over a test folder on the test directory.
    ui::ComPtr<TestFolder> ShowTestFolder()
    {
        auto folder = TestFolder::Over(Real().get());
        ShowThrough(idlist::IDListFromPath(Dir()).get(), folder.get());
        return folder;
    }
};

TEST_F(FileViewRename, TheRenamedItemIsFoundAgainWhateverTheShellDidMeanwhile)
{
    struct Row {
        const char* name;
        bool refill;          // the list is refilled inside SetNameOf
        bool refillFirst;     // ... before the file has its new name
        bool withholdID;      // SetNameOf hands back no identifier
        bool keepExtension;   // the shell keeps the hidden ".cur"
        const wchar_t* typed;
        const wchar_t* file;  // the file's name afterwards
    };
    const Row rows[] = {
        {"plain", false, false, false, false, L"b.cur", L"b.cur"},
        {"refilled after", true, false, false, false, L"b.cur", L"b.cur"},
        {"refilled before", true, true, false, false, L"b.cur", L"b.cur"},
        {"no identifier", false, false, true, false, L"b.cur", L"b.cur"},
        {"no identifier, refilled", true, false, true, false, L"b.cur", L"b.cur"},
        {"extension kept, no identifier", false, false, true, true, L"b", L"b.cur"},
        {"extension kept, refilled", true, false, true, true, L"b", L"b.cur"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileW(In(row.file).c_str());
        dir.File(L"a.cur", "x");
        dir.File(L"other.txt", "y");
        auto folder = ShowTestFolder();
        ASSERT_EQ(Captions(), (Names{L"a.cur", L"other.txt"}));
        int refills = 0;
        if (row.refill)
            folder->duringRename = [&] {
                ++refills;
                view.FillList();
            };
        folder->hookBeforeRename = row.refillFirst;
        folder->withholdNewID = row.withholdID;
        if (row.keepExtension)
            folder->renameAs = [](const std::wstring& typed) { return typed + L".cur"; };
        testsupport::BusyRecorder busy;
        busy.Attach(view.OnBusy);

        Rename(L"a.cur", row.typed);
        EXPECT_EQ(refills, row.refill ? 1 : 0);
        EXPECT_TRUE(testsupport::FileExists(In(row.file)));
        EXPECT_FALSE(testsupport::FileExists(In(L"a.cur")));
        // One item for the file under its new name, with an identifier that names it.
        EXPECT_EQ(Captions(), (Names{row.file, L"other.txt"}));
        EXPECT_EQ(view.ItemPath(Find(row.file)), In(row.file));
        EXPECT_EQ(view.ItemRecordCount(), 2u);
        EXPECT_TRUE(busy.Balanced());
        EXPECT_GE(busy.pairs, 1);
        DeleteFileW(In(row.file).c_str());
        DeleteFileW(In(L"other.txt").c_str());
        view.OnBusy = nullptr;
    }
}

// A fill in slices leaves an open in-place rename be: its item stays where
// it is until the rename ends, then the fill goes on.
TEST_F(FileViewRename, AFillUnderWayWaitsForAnOpenRename)
{
    for (const wchar_t* name : {L"b", L"c", L"d"})
        dir.File(name, "x");
    dir.Folder(L"e"); // shown first: it would move the items before it
    view.fillSliceItems = 1;
    view.SetFolder(idlist::IDListFromPath(Dir()).get());
    ASSERT_TRUE(view.Filling());
    view.SetFocus();
    view.EditLabel(0);
    HWND edit = ListView_GetEditControl(view.Handle());
    ASSERT_TRUE(edit);
    testsupport::PumpFor(300);
    EXPECT_TRUE(view.Filling());
    EXPECT_EQ(Captions(), Names{L"b"});
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !view.Filling(); }));
    EXPECT_EQ(Captions(), (Names{L"e", L"b", L"c", L"d"}));
}

TEST_F(FileViewRename, AFailedRenameRefilledMeanwhileShowsTheNameTheItemStillHas)
{
    dir.File(L"keep.txt", "x");
    dir.File(L"taken.txt", "x");
    auto folder = ShowTestFolder();
    folder->duringRename = [&] { view.FillList(); };
    Rename(L"keep.txt", L"taken.txt"); // a clash
    EXPECT_EQ(Captions(), (Names{L"keep.txt", L"taken.txt"}));
    EXPECT_EQ(view.ItemPath(Find(L"keep.txt")), In(L"keep.txt"));
    EXPECT_EQ(view.ItemRecordCount(), 2u);
}

// With extensions hidden, as on a stock Windows system, the caption lacks
// the extension; whatever the shell does with the typed name, the item
// afterwards names the file that is there, and the edit is no failure.
TEST_F(FileViewRename, WithHiddenExtensionsTheItemNamesTheRenamedFile)
{
    testsupport::ScopedFileExtensions hidden{true};
    struct Row {
        const char* name;
        bool withholdID;
    };
    for (const Row& row : {Row{"shell's identifier", false}, Row{"parsed again", true}}) {
        SCOPED_TRACE(row.name);
        dir.File(L"arrow.cur", "x");
        auto folder = ShowTestFolder();
        folder->withholdNewID = row.withholdID;
        ASSERT_EQ(Captions(), (Names{L"arrow"})) << "the shell shows no extension";
        Rename(L"arrow", L"pointer");
        EXPECT_FALSE(testsupport::FileExists(In(L"arrow.cur")));
        ASSERT_EQ(view.Count(), 1);
        std::wstring path = view.ItemPath(0);
        EXPECT_TRUE(testsupport::FileExists(path)) << testing::PrintToString(path);
        // The shell kept the extension it hid: parsing the typed name alone
        // would find nothing.
        EXPECT_EQ(path, In(L"pointer.cur"));
        EXPECT_EQ(view.ItemText(0), L"pointer");
        DeleteFileW(path.c_str());
    }
}

// F2 and Enter without typing renames nothing, and a name typed is the name
// the item gets: the shell adds no extension to a folder with dots in its
// name or to a name typed whole, with extensions shown or hidden.
TEST_F(FileViewRename, TheTypedNameIsTakenAsItIsAndAnUnchangedOneRenamesNothing)
{
    struct Row {
        const char* name;
        bool folder;
        const wchar_t* item;
        const wchar_t* typedShown;  // with extensions shown; none: left as it was
        const wchar_t* typedHidden; // with extensions hidden
        const wchar_t* after;
    };
    const Row rows[] = {
        {"folder x.cur left", true, L"x.cur", nullptr, nullptr, L"x.cur"},
        {"folder fold.txt left", true, L"fold.txt", nullptr, nullptr, L"fold.txt"},
        {"file arrow.cur left", false, L"arrow.cur", nullptr, nullptr, L"arrow.cur"},
        {"folder fold.ani.ani renamed", true, L"fold.ani.ani", L"foldB.ani", L"foldB.ani", L"foldB.ani"},
        {"file two.a.txt renamed", false, L"two.a.txt", L"three.a.txt", L"three.a", L"three.a.txt"},
    };
    for (bool hidden : testsupport::kExtensionSettings) {
        testsupport::ScopedFileExtensions extensions{hidden};
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(testsupport::ExtensionSettingName(hidden)) + ", " + row.name);
            const std::wstring path = row.folder ? dir.Folder(row.item) : dir.File(row.item, "x");
            Show(Dir());
            ASSERT_EQ(view.Count(), 1);
            const std::wstring caption = view.ItemText(0);
            const wchar_t* typed = hidden ? row.typedHidden : row.typedShown;
            Rename(caption, typed ? std::wstring(typed) : caption);
            EXPECT_EQ(GetFileAttributesW(In(row.after).c_str()) != INVALID_FILE_ATTRIBUTES, true);
            ASSERT_EQ(view.Count(), 1);
            EXPECT_EQ(view.ItemPath(0), In(row.after));
            if (typed == nullptr) {
                EXPECT_EQ(view.ItemText(0), caption);
            }
            for (const std::wstring& left : {In(row.after), path}) {
                if (row.folder)
                    testsupport::RemoveTree(left);
                else
                    DeleteFileW(left.c_str());
            }
        }
    }
}

TEST_F(FileViewRename, FillsAndShellCallsRunBusyInPairsAlsoWhenTheyThrow)
{
    dir.File(L"a.txt", "x");
    dir.File(L"b.txt", "x");
    auto folder = ShowTestFolder();
    testsupport::BusyRecorder busy;
    busy.Attach(view.OnBusy);
    int depthInside = -1;

    // A fill: busy while the folder is walked.
    folder->onNext = [&] { depthInside = busy.depth; };
    view.FillList();
    EXPECT_EQ(depthInside, 1);
    EXPECT_TRUE(busy.Balanced());

    // A fill that throws half-way.
    folder->onNext = [&] { throw std::runtime_error("walk failed"); };
    EXPECT_THROW(view.FillList(), std::runtime_error);
    EXPECT_TRUE(busy.Balanced());
    folder->onNext = nullptr;
    view.FillList();

    // A rename: busy while the shell renames.
    depthInside = -1;
    folder->duringRename = [&] { depthInside = busy.depth; };
    Rename(L"a.txt", L"c.txt");
    EXPECT_EQ(depthInside, 1);
    EXPECT_TRUE(busy.Balanced());

    // A double click on a file: busy while the shell runs it.
    depthInside = -1;
    view.onExecute = [&] { depthInside = busy.depth; };
    SelectOnly({L"b.txt"});
    view.DblClick();
    EXPECT_EQ(depthInside, 1);
    ASSERT_EQ(view.executed.size(), 1u);
    EXPECT_TRUE(busy.Balanced());

    // A delete, answered no: busy around the shell's operation.
    int before = busy.pairs;
    {
        testsupport::DialogWatchdog watchdog(IDNO);
        view.DeleteSelectedFiles();
    }
    EXPECT_GT(busy.pairs, before);
    EXPECT_TRUE(busy.Balanced());
    EXPECT_EQ(busy.deepest, 1);
}

TEST_F(FileViewRename, ChangeIsRaisedForSelectionAndWhenAFillDropsIt)
{
    dir.File(L"a.txt", "x");
    dir.File(L"b.txt", "x");
    Show(Dir());
    std::vector<int> changes;
    view.OnChange = [&](ui::Component* sender, int index) {
        EXPECT_EQ(sender, &view);
        changes.push_back(index);
    };
    view.SetSelected(Find(L"b.txt"), true);
    EXPECT_EQ(changes, (std::vector<int>{Find(L"b.txt")}));
    view.SetItemText(Find(L"b.txt"), L"b.txt"); // text only: nothing
    EXPECT_EQ(changes.size(), 1u);

    changes.clear();
    view.FillList();
    EXPECT_EQ(view.SelectedCount(), 0);
    ASSERT_FALSE(changes.empty()) << "the selection went without a word";
    EXPECT_EQ(changes.back(), -1);

    changes.clear();
    view.FillList(); // nothing was selected: nothing to say
    EXPECT_TRUE(changes.empty());
}

} // namespace
} // namespace fvtest
