// What the program leaves out of the shell's menu (the rename it cannot host)
// and how it takes the shell's answers: a cancel by the user is no failure.
#include "tests/support/fake_folder.h"
#include "tests/shell/shell_fixture.h"

#include "res/texts.h"
#include "shell/ContextMenuEx.h"

using namespace shelltest;
using namespace testsupport;

namespace {

class MenuVerbs : public ShellFixture {
protected:
    MenuVerbs() { Report(menu); }
    bool Show()
    {
        idlist::RelativeIDList packed = FakeFolder::Packed({0});
        return menu.ShowItemMenu(window, &items, POINT{10, 10}, 1, packed.get());
    }
    FakeFolder items{1};
    TContextMenuEx menu;
};

} // namespace

TEST_F(MenuVerbs, TheShellsRenameIsLeftOutOfTheMenuWithTheSeparatorsItLeaves)
{
    const MenuEntry open = VerbCommand(L"開く(&O)", 0, L"open"), remove = VerbCommand(L"削除(&D)", 17, L"delete");
    const MenuEntry rename = VerbCommand(L"名前の変更(&M)", 18, L"RENAME");
    const struct {
        std::vector<MenuEntry> built;
        std::vector<std::wstring> shown;
    } rows[] = {
        {{open, Separator(), rename, remove}, {L"開く(&O)", L"", L"削除(&D)"}},
        {{open, Separator(), rename, Separator(), remove}, {L"開く(&O)", L"", L"削除(&D)"}},
        {{rename, Separator(), remove}, {L"削除(&D)"}},
        // Known by its verb: a caption alone proves nothing, and nothing else is touched.
        {{Separator(), open, Command(L"名前の変更(&M)", 18)}, {L"", L"開く(&O)", L"名前の変更(&M)"}},
    };
    for (const auto& row : rows) {
        items.menu = row.built;
        items.invoked.clear();
        ChooseFromMenu(18); // the delete command, whatever was taken out around it
        Show();
        EXPECT_EQ(row.shown, shownCaptions);
        ASSERT_EQ(1u, items.invoked.size());
        EXPECT_EQ(17u, items.invoked[0].verb);
    }
    EXPECT_TRUE(failures.empty());
}

TEST_F(MenuVerbs, ACancelIsSilentAndAFailureIsReported)
{
    items.menu = {VerbCommand(L"削除(&D)", 17, L"delete")};
    const struct {
        HRESULT answer;
        bool done;
        size_t reported;
    } rows[] = {
        {S_OK, true, 0},
        {HRESULT_FROM_WIN32(ERROR_CANCELLED), false, 0}, // No to the shell's question
        {E_ABORT, false, 0},
        {E_FAIL, false, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer);
        items.invokeResult = row.answer;
        // From the menu, and as a single command without one.
        failures.clear();
        ChooseFromMenu(18);
        EXPECT_EQ(row.done, Show());
        idlist::ChildIDList item = FakeFolder::Item(0);
        EXPECT_EQ(row.done, menu.InvokeItemCommand(window, &items, icDelete, item.get()));
        EXPECT_EQ(2 * row.reported, failures.size());
    }
}

TEST_F(MenuVerbs, ACursorPackIsInstalledByTheProgramInPlaceOfTheShellsInstall)
{
    MenuEntry open = VerbCommand(L"開く(&O)", 0, L"open");
    open.state = MFS_DEFAULT;
    const MenuEntry remove = VerbCommand(L"削除(&D)", 17, L"delete");
    const MenuEntry install = VerbCommand(L"インストール(&I)", 5, L"Install");
    const MenuEntry print = VerbCommand(L"印刷(&P)", 6, L"print");
    MenuEntry edit = VerbCommand(L"編集(&E)", 7, L"edit");
    edit.state = MFS_DEFAULT;
    const std::wstring own = texts::kInstallPack;
    const struct {
        bool offered;
        std::vector<MenuEntry> built;
        std::vector<std::wstring> shown;
    } rows[] = {
        {true, {open, install, remove}, {L"開く(&O)", own, L"削除(&D)"}},
        // Right after 開く, wherever the shell put its install or its default.
        {true, {open, print, install, remove}, {L"開く(&O)", own, L"印刷(&P)", L"削除(&D)"}},
        {true, {edit, open, remove}, {L"編集(&E)", L"開く(&O)", own, L"削除(&D)"}},
        // Neither: after the default command, or first.
        {true, {edit, remove}, {L"編集(&E)", own, L"削除(&D)"}},
        {true, {remove}, {own, L"削除(&D)"}},
        {false, {open, install}, {L"開く(&O)", L"インストール(&I)"}},
    };
    std::vector<std::wstring> asked, installed;
    menu.offersInstall = [&](const std::wstring& path) {
        asked.push_back(path);
        return true;
    };
    menu.OnInstall = [&](TContextMenuEx*, HWND asking, const std::wstring& path) {
        EXPECT_EQ(window, asking);
        installed.push_back(path);
    };
    for (const auto& row : rows) {
        items.menu = row.built;
        items.invoked.clear();
        asked.clear();
        installed.clear();
        if (!row.offered)
            menu.offersInstall = [](const std::wstring&) { return false; };
        ChooseFromMenu(TContextMenuEx::kInstallId);
        Show();
        EXPECT_EQ(row.shown, shownCaptions);
        EXPECT_TRUE(items.invoked.empty()); // the shell installs nothing
        EXPECT_EQ(row.offered ? std::vector<std::wstring>{FakeFolder::NameOf(0)} : std::vector<std::wstring>{},
                  installed);
    }
    // Two items are no pack.
    menu.offersInstall = [&](const std::wstring& path) { return asked.push_back(path), true; };
    asked.clear();
    idlist::RelativeIDList two = FakeFolder::Packed({0, 1});
    items.itemCount = 2;
    menu.ShowItemMenu(window, &items, POINT{10, 10}, 2, two.get());
    EXPECT_TRUE(asked.empty());
}
