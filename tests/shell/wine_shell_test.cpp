// The context menu component against Wine's own shell: its menus, its delete
// with its confirmation, and a SendTo folder built by the test.
#include "tests/support/fake_folder.h"
#include "tests/shell/shell_fixture.h"

#include "shell/ContextMenuEx.h"
#include "ui/handles.h"

using namespace shelltest;
using namespace testsupport;

namespace {

class WineShellTest : public ShellFixture {
protected:
    WineShellTest() { Report(menu); }
    TestDir dir;
    TContextMenuEx menu;
};

} // namespace

TEST_F(WineShellTest, DeleteRunsTheShellsOwnDeleteWithItsConfirmation)
{
    const std::wstring doomed = dir.Folder(L"doomed");
    dir.File(L"doomed\\inside.txt", "x");
    testsupport::DialogWatchdog yes(IDYES);
    EXPECT_TRUE(menu.InvokePathCommand(window, doomed, icDelete));
    testsupport::PumpUntilIdle();
    EXPECT_FALSE(testsupport::FileExists(doomed));
    EXPECT_GE(yes.Pressed(), 1);
    EXPECT_TRUE(failures.empty());
}

TEST_F(WineShellTest, AnItemThatCannotBeDeletedIsLeftAloneWithoutAWord)
{
    testsupport::DialogWatchdog no(IDNO);
    EXPECT_FALSE(menu.InvokePathCommand(window, L"C:\\", icDelete));
    EXPECT_EQ(0, no.Pressed());
    EXPECT_TRUE(failures.empty());
}

TEST_F(WineShellTest, PathCommandsNeedAWindowAndAPathTheShellKnows)
{
    const std::wstring file = dir.File(L"kept.txt", "x");
    testsupport::DialogWatchdog no(IDNO);
    EXPECT_FALSE(menu.InvokePathCommand(nullptr, file, icDelete));
    EXPECT_FALSE(menu.InvokePathCommand(window, dir / L"missing.txt", icDelete));
    EXPECT_FALSE(menu.InvokePathCommand(window, L"/tmp", icDelete));
    EXPECT_FALSE(menu.InvokePathCommand(window, file, static_cast<TItemCommand>(7)));
    EXPECT_EQ(0, no.Pressed());
    EXPECT_TRUE(testsupport::FileExists(file));
    // Wine's shell has no paste item for a file.
    EXPECT_FALSE(menu.InvokePathCommand(window, file, icPaste));
    EXPECT_TRUE(failures.empty());
}

TEST_F(WineShellTest, DismissingTheShellsMenuInvokesNothing)
{
    const std::wstring file = dir.File(L"menu.txt", "x");
    idlist::AbsoluteIDList absolute = idlist::IDListFromPath(file);
    ui::ComPtr<IShellFolder> folder;
    idlist::ChildIDList item;
    ASSERT_TRUE(idlist::IDListBindParent(absolute.get(), folder, item));
    testsupport::DialogWatchdog no(IDNO);
    testsupport::MenuCloser closer(200);
    EXPECT_FALSE(menu.ShowItemMenu(window, folder.get(), POINT{100, 100}, 1, item.get()));
    EXPECT_EQ(1, closer.Fired());
    EXPECT_EQ(0, no.Pressed());
    EXPECT_TRUE(failures.empty());
    EXPECT_TRUE(testsupport::FileExists(file));
}

TEST_F(WineShellTest, TheShellsMenuIsShownAsTheShellBuiltIt)
{
    const std::wstring file = dir.File(L"menu.txt", "x");
    idlist::AbsoluteIDList absolute = idlist::IDListFromPath(file);
    ui::ComPtr<IShellFolder> folder;
    idlist::ChildIDList item;
    ASSERT_TRUE(idlist::IDListBindParent(absolute.get(), folder, item));
    std::vector<UINT> ids;
    ui::ScopedSeam track(ui::CurrentSeams().trackMenu, [&](HMENU m, UINT, POINT, HWND) {
        for (int i = 0; i < GetMenuItemCount(m); ++i)
            ids.push_back(GetMenuItemID(m, i));
        return 0u;
    });
    EXPECT_FALSE(menu.ShowItemMenu(window, folder.get(), POINT{100, 100}, 1, item.get()));
    // Wine's ids for copy and delete, as the command table has them.
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), 26u));
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), 18u));
}

TEST_F(WineShellTest, TheSubmenuIsFilledWithTheFirstHundredFilesOfTheSendToFolder)
{
    for (int i = 0; i < 120; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"target%03d.txt", i);
        dir.File(name, "x");
    }
    dir.Folder(L"a folder");
    ui::ScopedSeam sendTo(ui::CurrentSeams().sendToFolder, [this](HWND) {
        return idlist::BindFolder(idlist::IDListFromPath(dir.Path()).get());
    });
    ui::UniqueMenu m(BuildMenu({Command(L"コピー(&C)", 25), SendToSubmenu()}));
    ASSERT_TRUE(menu.FillSendToMenu(window, m.get()));
    HMENU sub = GetSubMenu(m.get(), 1);
    ASSERT_EQ(100, GetMenuItemCount(sub));
    auto captions = Captions(sub);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(TContextMenuEx::kFirstSendToId + i, GetMenuItemID(sub, i));
        wchar_t stem[32];
        swprintf(stem, 32, L"target%03d", i);
        EXPECT_EQ(0u, captions[i].rfind(stem, 0)) << captions[i];
    }
    EXPECT_EQ(2, GetMenuItemCount(m.get()));
}

TEST_F(WineShellTest, TheSystemsSendToFolderCanBeRead)
{
    // Whatever Wine's SendTo holds (usually nothing), the shell's placeholder goes.
    ui::UniqueMenu m(BuildMenu({SendToSubmenu()}));
    ASSERT_TRUE(menu.FillSendToMenu(window, m.get()));
    HMENU sub = GetSubMenu(m.get(), 0);
    for (int i = 0; i < GetMenuItemCount(sub); ++i)
        EXPECT_EQ(TContextMenuEx::kFirstSendToId + i, GetMenuItemID(sub, i));
}
