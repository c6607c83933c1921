// What the program leaves out of the shell's menu (the rename it cannot host)
// and how it takes the shell's answers: a cancel by the user is no failure.
#include "tests/shell/fake_shell.h"
#include "tests/shell/shell_fixture.h"

#include "shell/ContextMenuEx.h"

using namespace shelltest;

namespace {

class MenuVerbs : public ShellFixture {
protected:
    MenuVerbs() { Report(menu); }
    bool Show()
    {
        shview::RelativeIDList packed = FakeFolder::Packed({0});
        return menu.ShowItemMenu(window, &items, POINT{10, 10}, 1, packed.get());
    }
    FakeFolder items{1};
    TContextMenuEx menu;
};

} // namespace

TEST_F(MenuVerbs, TheShellsRenameIsLeftOutOfTheMenuWithTheSeparatorsItLeaves)
{
    const MenuEntry open = VerbCommand(L"開く(&O)", 0, L"open");
    const MenuEntry copy = VerbCommand(L"コピー(&C)", 25, L"copy");
    const MenuEntry remove = VerbCommand(L"削除(&D)", 17, L"delete");
    const MenuEntry properties = VerbCommand(L"プロパティ(&R)", 19, L"properties");
    const MenuEntry rename = VerbCommand(L"名前の変更(&M)", 18, L"rename");
    struct Row {
        const char* name;
        std::vector<MenuEntry> built;
        std::vector<std::wstring> shown;
    };
    const Row rows[] = {
        {"between commands", {open, Separator(), copy, rename, remove}, {L"開く(&O)", L"", L"コピー(&C)", L"削除(&D)"}},
        {"alone between separators", {open, Separator(), rename, Separator(), properties},
         {L"開く(&O)", L"", L"プロパティ(&R)"}},
        {"last, after a separator", {open, Separator(), rename}, {L"開く(&O)"}},
        {"first, before a separator", {rename, Separator(), open}, {L"開く(&O)"}},
        {"by its verb in any case", {open, VerbCommand(L"Rename", 18, L"RENAME")}, {L"開く(&O)"}},
        {"a caption without the verb stays", {open, Separator(), Command(L"名前の変更(&M)", 18)},
         {L"開く(&O)", L"", L"名前の変更(&M)"}},
        {"no rename: the shell's menu as it is", {Separator(), open, Separator(), Separator(), copy},
         {L"", L"開く(&O)", L"", L"", L"コピー(&C)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        items.menu = row.built;
        items.invoked.clear();
        ChooseFromMenu(0); // dismissed
        Show();
        EXPECT_EQ(row.shown, shownCaptions);
    }
    // The commands left run by their own verbs.
    items.menu = rows[0].built;
    items.invoked.clear();
    ChooseFromMenu(18);
    EXPECT_TRUE(Show());
    ASSERT_EQ(1u, items.invoked.size());
    EXPECT_EQ(17u, items.invoked[0].verb);
    EXPECT_TRUE(failures.empty());
}

TEST_F(MenuVerbs, ACancelIsSilentAndAFailureIsReported)
{
    items.menu = {VerbCommand(L"削除(&D)", 17, L"delete")};
    struct Row {
        const char* name;
        HRESULT answer;
        bool done;
        size_t reported;
    };
    const Row rows[] = {
        {"carried out", S_OK, true, 0},
        {"No to the shell's question", HRESULT_FROM_WIN32(ERROR_CANCELLED), false, 0},
        {"aborted", E_ABORT, false, 0},
        {"the copy engine stopped by the user", HRESULT(0x80270000L), false, 0},
        {"refused", E_FAIL, false, 1},
        {"access denied", E_ACCESSDENIED, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        items.invokeResult = row.answer;
        // From the menu, and as a single command without one.
        failures.clear();
        ChooseFromMenu(18);
        EXPECT_EQ(row.done, Show());
        EXPECT_EQ(row.reported, failures.size());
        failures.clear();
        shview::ChildIDList item = FakeFolder::Item(0);
        EXPECT_EQ(row.done, menu.InvokeItemCommand(window, &items, icDelete, item.get()));
        EXPECT_EQ(row.reported, failures.size());
    }
}
