// The folder combo box's entries, and its link with the folder tree.
#include "shview/fileview/FileView.h"
#include "tests/shview/comboview/combo_view_fixture.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/test_folder.h"

namespace cvtest {
namespace {

using idlist::AbsoluteIDList;

TEST_F(ComboViewTest, ListsTheDesktopItsFoldersAndTheDrivesUnderTheComputer)
{
    EXPECT_TRUE(combo->ListBuilt());
    EXPECT_EQ(combo->Current(), 0);
    EXPECT_EQ(int(combo->FixedEntries().size()), combo->Count());
    EXPECT_TRUE(combo->PathEntries().empty());
    ASSERT_TRUE(combo->Entry(0));
    EXPECT_EQ(combo->Entry(0)->Level, 0);
    EXPECT_EQ(idlist::IDListCount(combo->Entry(0)->IDList.get()), 0u);

    std::vector<int> levels = Levels();
    for (std::size_t i = 1; i < levels.size(); ++i) {
        EXPECT_GE(levels[i], 1) << "entry " << i;
        EXPECT_LE(levels[i], levels[i - 1] + 1) << "entry " << i << " skips a level";
    }
    // The drives are listed below the computer's entry, at level 2.
    AbsoluteIDList computer;
    ASSERT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()));
    int computerAt = -1;
    for (int i = 0; i < combo->Count(); ++i)
        if (idlist::IDListCompare(idlist::DesktopFolder(), combo->Entry(i)->IDList.get(), computer.get()) == 0)
            computerAt = i;
    ASSERT_GT(computerAt, 0);
    EXPECT_EQ(levels[computerAt], 1);
    int end = computerAt + 1;
    while (end < int(levels.size()) && levels[end] == 2)
        ++end;
    for (const wchar_t* drive : {L"C:\\", L"Z:\\"}) {
        SCOPED_TRACE(drive);
        int at = PositionOf(drive);
        EXPECT_GT(at, computerAt);
        EXPECT_LT(at, end);
    }
    EXPECT_LT(PositionOf(L"C:\\"), PositionOf(L"Z:\\"));
}

TEST_F(ComboViewTest, ShowFolderInsertsTheMissingAncestorsBelowTheirDriveAndRemovesThemNextTime)
{
    const int fixed = combo->Count();
    const int drive = PositionOf(L"C:\\");
    ASSERT_GT(drive, 0);
    struct Step {
        std::wstring shown;
        std::vector<std::wstring> inserted; // right after the drive's entry, in order
        int selected;                       // expected position, relative to the drive (-1000: entry 0)
    };
    const Step steps[] = {
        {L"C:\\", {}, 0},
        {deep, {deepRoot, deepB, deep}, 3},
        {L"C:\\", {}, 0},
        {deepB, {deepRoot, deepB}, 2},
        {L"", {}, -1000},
        {deep, {deepRoot, deepB, deep}, 3},
        {L"", {}, -1000},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.shown.empty() ? L"desktop" : step.shown);
        AbsoluteIDList id = IdOf(step.shown);
        ASSERT_TRUE(id);
        combo->ShowFolder(id.get());
        const int n = int(step.inserted.size());
        EXPECT_EQ(combo->Count(), fixed + n);
        EXPECT_EQ(int(combo->PathEntries().size()), n);
        EXPECT_EQ(int(combo->FixedEntries().size()), fixed);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(PositionOf(step.inserted[i]), drive + 1 + i);
            ASSERT_TRUE(combo->Entry(drive + 1 + i));
            EXPECT_EQ(combo->Entry(drive + 1 + i)->Level, 3 + i);
        }
        EXPECT_EQ(combo->Current(), step.selected == -1000 ? 0 : drive + step.selected);
        EXPECT_TRUE(Shows(step.shown));
    }
    combo->ShowFolder(nullptr);
    EXPECT_EQ(combo->Current(), 0) << "none changes nothing";
}

TEST_F(ComboViewTest, TheTreesSelectionIsShownInTheBox)
{
    int changes = 0;
    combo->OnChange = [&](ui::Control*) { ++changes; };
    const std::wstring shown[] = {a, c, L"C:\\", deep, b, L"Z:\\", deepRoot};
    for (const std::wstring& path : shown) {
        SCOPED_TRACE(path);
        tree->SelectPath(path);
        ASSERT_TRUE(TreeShows(path));
        EXPECT_TRUE(Shows(path));
        // Everything below the drive is inserted for the folder.
        AbsoluteIDList id = IdOf(path);
        EXPECT_EQ(combo->PathEntries().size(), std::size_t(idlist::IDListCount(id.get()) - 2));
    }
    tree->Select(tree->Root());
    EXPECT_EQ(combo->Current(), 0);
    EXPECT_TRUE(combo->PathEntries().empty());
    EXPECT_EQ(changes, 0) << "the box's own selections raise nothing";
}

TEST_F(ComboViewTest, RenamingTheShownFolderInTheTreeShowsTheNewName)
{
    tree->SelectPath(c);
    ASSERT_TRUE(Shows(c));
    ASSERT_TRUE(EditAndConfirm(tree->Selected(), L"c renamed"));
    const std::wstring renamed = PathOf(L"a\\b\\c renamed");
    ASSERT_TRUE(TreeShows(renamed));
    EXPECT_TRUE(Shows(renamed));
}

TEST_F(ComboViewTest, ChoosingAnEntrySelectsItsFolderInTheTree)
{
    tree->SelectPath(deep);
    ASSERT_TRUE(Shows(deep));
    int changes = 0;
    combo->OnChange = [&](ui::Control*) { ++changes; };
    struct Choice {
        WORD key;
        int step;              // from the selected entry; 0: entry 0
        std::wstring folder; // the folder chosen, where the test knows it
    };
    // The first choices are entries that the tree's answer removes and inserts again.
    const Choice choices[] = {{VK_UP, -1, L"b"}, {VK_UP, -1, L"root"}, {VK_UP, -1, L"C:"}, {VK_UP, -1, L""},
                              {VK_HOME, 0, L"desktop"}};
    int expectedChanges = 0;
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.folder);
        int target = choice.step ? combo->Current() + choice.step : 0;
        ASSERT_TRUE(combo->Entry(target));
        AbsoluteIDList chosen = idlist::IDListCombine(combo->Entry(target)->IDList.get(), nullptr);
        if (choice.folder == L"b") {
            EXPECT_EQ(target, PositionOf(deepB));
        }
        if (choice.folder == L"C:") {
            EXPECT_EQ(target, PositionOf(L"C:\\"));
        }
        Press(choice.key);
        ++expectedChanges;
        EXPECT_TRUE(TreeShowsId(chosen.get()));
        EXPECT_TRUE(ShowsId(chosen.get()));
        EXPECT_EQ(changes, expectedChanges);
    }
    EXPECT_EQ(tree->Selected(), tree->Root());
}

TEST_F(ComboViewTest, TheLinkEndsWithEitherSide)
{
    enum class Ends { Unlinked, BoxGoes, TreeGoes };
    for (Ends ends : {Ends::Unlinked, Ends::BoxGoes, Ends::TreeGoes}) {
        SCOPED_TRACE(int(ends));
        if (!combo) {
            combo = std::make_unique<TComboView>();
            ASSERT_TRUE(combo->Create(host, 7));
        }
        if (!tree) {
            tree = std::make_unique<TFolderView>();
            ASSERT_TRUE(tree->Create(host));
        }
        tree->SetComboView(combo.get());
        ASSERT_EQ(combo->FolderView(), tree.get());
        ASSERT_EQ(tree->ComboView(), combo.get());
        switch (ends) {
        case Ends::Unlinked:
            tree->SetComboView(nullptr);
            EXPECT_EQ(combo->FolderView(), nullptr);
            break;
        case Ends::BoxGoes:
            combo.reset();
            break;
        case Ends::TreeGoes:
            tree.reset();
            EXPECT_EQ(combo->FolderView(), nullptr);
            break;
        }
        if (tree) {
            EXPECT_EQ(tree->ComboView(), nullptr);
            tree->SelectPath(a); // tells nobody
            EXPECT_TRUE(TreeShows(a));
        }
        if (combo) {
            int before = combo->Current();
            Press(VK_DOWN); // selects nothing anywhere else
            EXPECT_EQ(combo->Current(), before + 1);
            if (tree) {
                EXPECT_TRUE(TreeShows(a));
            }
        }
    }
}

TEST_F(ComboViewTest, AFolderTheListCannotReadLeavesTheBoxOnThePreviousFolder)
{
    TFileView list;
    ASSERT_TRUE(list.Create(host));
    list.SetBounds(500, 100, 290, 400);
    tree->SetFileView(&list);
    tree->SelectPath(a);
    ASSERT_TRUE(Shows(a));
    ui::TreeNode bNode = tree->FindChild(tree->Selected(), idlist::IDListLast(IdOf(b).get()).get());
    ASSERT_TRUE(bNode);
    auto desktop = testsupport::TestFolder::Over(idlist::DesktopFolder());
    desktop->unreadable = {b};
    {
        idlist::ScopedShellObjects scope(nullptr, desktop.get());
        tree->Select(bNode);
    }
    ASSERT_GE(desktop->enumFailures, 1);
    ASSERT_TRUE(TreeShows(a));
    EXPECT_TRUE(Shows(a));
    EXPECT_EQ(PositionOf(b), -1);
    tree->SetFileView(nullptr);
}

TEST_F(ComboViewTest, EveryEntrysIdentifierIsFreedWithIt)
{
    enum class Ends { Box, WindowThenBox, Rebuild };
    for (Ends ends : {Ends::Box, Ends::WindowThenBox, Ends::Rebuild}) {
        SCOPED_TRACE(int(ends));
        if (!combo) {
            combo = std::make_unique<TComboView>();
            ASSERT_TRUE(combo->Create(host, 7));
        }
        combo->ShowFolder(IdOf(deep).get());
        const int entries = combo->Count();
        ASSERT_EQ(entries, int(combo->FixedEntries().size() + combo->PathEntries().size()));
        testsupport::CountingMalloc counting;
        {
            idlist::ScopedShellObjects scope(&counting, nullptr);
            switch (ends) {
            case Ends::Box:
                combo.reset();
                break;
            case Ends::WindowThenBox:
                DestroyWindow(combo->Handle());
                EXPECT_EQ(combo->Handle(), nullptr);
                combo.reset();
                break;
            case Ends::Rebuild:
                combo->BuildList();
                break;
            }
        }
        if (ends == Ends::Rebuild) {
            // The old entries, and the new ones' working copies.
            EXPECT_GT(counting.AllFrees(), entries);
            EXPECT_TRUE(combo->PathEntries().empty());
            combo.reset();
        } else {
            EXPECT_EQ(counting.AllFrees(), entries);
        }
    }
}

} // namespace
} // namespace cvtest
