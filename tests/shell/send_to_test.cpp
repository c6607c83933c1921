// The menu sequence on folders of made-up items: the shell's menu shown as it
// was built, the Send To sub-menu filled from the SendTo folder, a Send To
// choice run as a copy of the selection and a paste into the target, and the
// report of a command the shell refuses.
#include "tests/support/fake_folder.h"
#include "tests/shell/shell_fixture.h"

#include "res/texts.h"
#include "shell/ContextMenuEx.h"
#include "tests/support/busy_recorder.h"
#include "ui/handles.h"

#include <functional>
#include <stdexcept>

using namespace shelltest;
using namespace testsupport;

namespace {

class SendToTest : public ShellFixture {
protected:
    SendToTest()
    {
        items.menu = {Command(L"開く(&O)", 0), Separator(), Command(L"コピー(&C)", 25), SendToSubmenu(),
                      Command(L"削除(&D)", 17)};
        targets.menu = {Command(L"開く(&O)", 0), Command(L"貼り付け(&P)", 26)};
        Report(menu);
    }

    // The Send To targets come from `targets` (nothing when it is null).
    void UseSendTo(FakeFolder* folder)
    {
        sendTo_.emplace(ui::CurrentSeams().sendToFolder, [folder](HWND) {
            return ui::ComPtr<IShellFolder>::Share(folder);
        });
    }

    bool Show(std::vector<int> numbers)
    {
        idlist::RelativeIDList packed = FakeFolder::Packed(numbers);
        return menu.ShowItemMenu(window, &items, POINT{120, 80}, static_cast<int>(numbers.size()), packed.get());
    }

    FakeFolder items{3};
    FakeFolder targets{5};
    TContextMenuEx menu;

private:
    std::optional<ui::ScopedSeam<ui::SendToFolderFn>> sendTo_;
};

} // namespace

TEST_F(SendToTest, ASendToChoiceCopiesTheSelectionThenPastesIntoTheTarget)
{
    UseSendTo(&targets);
    ChooseFromMenu(TContextMenuEx::kFirstSendToId + 3);
    EXPECT_TRUE(Show({0, 2}));

    ASSERT_EQ(1u, items.invoked.size());
    const Invocation& copy = items.invoked[0];
    EXPECT_EQ((std::vector<int>{0, 2}), copy.items);
    EXPECT_TRUE(copy.integerVerb);
    EXPECT_EQ(25u, copy.verb);
    EXPECT_EQ(sizeof(CMINVOKECOMMANDINFO), copy.cbSize);
    EXPECT_EQ(0u, copy.fMask);
    EXPECT_EQ(window, copy.hwnd);
    EXPECT_EQ(SW_SHOWNORMAL, copy.nShow);

    ASSERT_EQ(1u, targets.invoked.size());
    EXPECT_EQ((std::vector<int>{3}), targets.invoked[0].items);
    EXPECT_TRUE(targets.invoked[0].integerVerb);
    EXPECT_EQ(26u, targets.invoked[0].verb);
    EXPECT_TRUE(failures.empty());

    // The shell's menu was asked for as the shell gives it, and shown at the point.
    // Its range ends below the Send To ids (1525 to 1624).
    EXPECT_EQ(1u, items.lastQueryFirst);
    EXPECT_EQ(1524u, items.lastQueryLast);
    EXPECT_EQ(UINT(CMF_EXPLORE), items.lastQueryFlags);
    EXPECT_EQ(UINT(TPM_RETURNCMD | TPM_RIGHTBUTTON), trackFlags);
    EXPECT_EQ(120, trackPoint.x);
    EXPECT_EQ(80, trackPoint.y);
    EXPECT_EQ(window, trackOwner);
}

TEST_F(SendToTest, TheSubmenuHoldsTheTargetsInPlaceOfTheShellsItem)
{
    UseSendTo(&targets);
    HMENU seen = nullptr;
    std::vector<std::wstring> entries;
    std::vector<UINT> ids;
    ui::ScopedSeam track(ui::CurrentSeams().trackMenu, [&](HMENU m, UINT, POINT, HWND) {
        seen = m;
        HMENU sub = GetSubMenu(m, 3);
        entries = Captions(sub);
        for (int i = 0; i < GetMenuItemCount(sub); ++i)
            ids.push_back(GetMenuItemID(sub, i));
        return 0u;
    });
    EXPECT_FALSE(Show({1}));
    ASSERT_TRUE(seen);
    ASSERT_EQ(5u, entries.size());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FakeFolder::NameOf(i), entries[i]);
        EXPECT_EQ(TContextMenuEx::kFirstSendToId + i, ids[i]);
    }
    // Dismissed: nothing ran.
    EXPECT_TRUE(items.invoked.empty());
    EXPECT_TRUE(targets.invoked.empty());
}

TEST_F(SendToTest, TheHundredthEntryIsASendToChoiceLikeTheOthers)
{
    FakeFolder many{130};
    many.menu = targets.menu;
    UseSendTo(&many);
    ChooseFromMenu(TContextMenuEx::kLastSendToId);
    EXPECT_TRUE(Show({0}));
    ASSERT_EQ(1u, items.invoked.size());
    EXPECT_EQ(25u, items.invoked[0].verb);
    ASSERT_EQ(1u, many.invoked.size());
    EXPECT_EQ((std::vector<int>{99}), many.invoked[0].items);
}

TEST_F(SendToTest, APlainCommandRunsByItsVerbOffset)
{
    UseSendTo(&targets);
    ChooseFromMenu(18);
    EXPECT_TRUE(Show({0, 1, 2}));
    ASSERT_EQ(1u, items.invoked.size());
    EXPECT_EQ(17u, items.invoked[0].verb);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), items.invoked[0].items);
    EXPECT_TRUE(targets.menusMade.empty());
}

TEST_F(SendToTest, WithoutASendToItemTheMenuIsTheShellsAndItsIdsMeanNothingSpecial)
{
    items.menu = {Command(L"コピー(&C)", 25), Command(L"送る(&N)", 40, MFS_GRAYED), SendToSubmenu(L"Send to(&N)")};
    UseSendTo(&targets);
    ChooseFromMenu(TContextMenuEx::kFirstSendToId + 5);
    Show({0});
    EXPECT_EQ((std::vector<std::wstring>{L"コピー(&C)", L"送る(&N)", L"Send to(&N)"}), shownCaptions);
    ASSERT_EQ(1u, items.invoked.size());
    EXPECT_EQ(TContextMenuEx::kFirstSendToId + 4, items.invoked[0].verb);
    EXPECT_TRUE(targets.menusMade.empty());
}

// A Send To that cannot finish pastes nothing it should not: after a failed
// copy the clipboard holds whatever it held before, which must not reach the
// target. Failures of the copy or the paste are reported once, with the
// window that asked (the main window shows the box); a target without a
// usable paste item, or an entry gone since the menu was filled, is not.
TEST_F(SendToTest, ASendToThatCannotFinishPastesNothingItShouldNot)
{
    enum class Fault { Copy,
                       Paste,
                       NoPasteItem,
                       EntryGone };
    const struct Row {
        Fault fault;
        std::size_t pastes, reports;
    } rows[] = {{Fault::Copy, 0, 1}, {Fault::Paste, 1, 1}, {Fault::NoPasteItem, 0, 0}, {Fault::EntryGone, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.fault));
        items.invokeResult = targets.invokeResult = S_OK;
        items.invoked.clear();
        targets.invoked.clear();
        targets.menu = {Command(L"開く(&O)", 0), Command(L"貼り付け(&P)", 26)};
        targets.itemCount = 5;
        failures.clear();
        if (row.fault == Fault::Copy)
            items.invokeResult = E_FAIL;
        if (row.fault == Fault::Paste)
            targets.invokeResult = E_FAIL;
        if (row.fault == Fault::NoPasteItem)
            targets.menu = {Command(L"開く(&O)", 0), Command(L"貼り付け(&P)", 26, MFS_GRAYED)};
        UseSendTo(&targets);
        ui::ScopedSeam track(ui::CurrentSeams().trackMenu, [&](HMENU, UINT, POINT, HWND) {
            if (row.fault == Fault::EntryGone)
                targets.itemCount = 2; // the folder shrank while the menu was open
            return TContextMenuEx::kFirstSendToId + (row.fault == Fault::EntryGone ? 4 : 1);
        });
        EXPECT_FALSE(Show({0}));
        ASSERT_EQ(1u, items.invoked.size());
        EXPECT_EQ(25u, items.invoked[0].verb); // the copy
        EXPECT_EQ(row.pastes, targets.invoked.size());
        EXPECT_EQ(row.reports, failures.size());
        if (row.reports) {
            EXPECT_EQ(window, failures[0]);
        }
    }
}

TEST_F(SendToTest, NoMenuForAnEmptyOrOversizedSelectionOrAShortList)
{
    UseSendTo(&targets);
    ChooseFromMenu(18);
    idlist::RelativeIDList packed = FakeFolder::Packed({0, 1});
    EXPECT_FALSE(menu.ShowItemMenu(window, &items, {}, 0, packed.get()));
    EXPECT_FALSE(menu.ShowItemMenu(window, &items, {}, 1025, packed.get()));
    EXPECT_FALSE(menu.ShowItemMenu(window, &items, {}, 3, packed.get()));
    EXPECT_FALSE(menu.ShowItemMenu(nullptr, &items, {}, 1, packed.get()));
    EXPECT_FALSE(menu.ShowItemMenu(window, nullptr, {}, 1, packed.get()));
    EXPECT_FALSE(menu.ShowItemMenu(window, &items, {}, 1, nullptr));
    EXPECT_EQ(0, menusShown);
    EXPECT_TRUE(items.menusMade.empty());
    EXPECT_TRUE(items.invoked.empty());
}

TEST_F(SendToTest, AnUnreadableSendToFolderLeavesAnEmptySubmenu)
{
    UseSendTo(nullptr);
    ui::UniqueMenu m(BuildMenu({SendToSubmenu()}));
    EXPECT_TRUE(menu.FillSendToMenu(window, m.get()));
    EXPECT_EQ(0, GetMenuItemCount(GetSubMenu(m.get(), 0)));
    EXPECT_FALSE(menu.SendToItem(window, 0));

    targets.enumResult = E_FAIL;
    UseSendTo(&targets);
    ui::UniqueMenu m2(BuildMenu({SendToSubmenu()}));
    EXPECT_TRUE(menu.FillSendToMenu(window, m2.get()));
    EXPECT_EQ(0, GetMenuItemCount(GetSubMenu(m2.get(), 0)));
    EXPECT_FALSE(menu.SendToItem(window, 0));
}

TEST_F(SendToTest, ASendToItemWithoutASubmenuIsNotFilled)
{
    UseSendTo(&targets);
    ui::UniqueMenu m(BuildMenu({Command(L"送る(&N)", 3)}));
    EXPECT_FALSE(menu.FillSendToMenu(window, m.get()));
    EXPECT_EQ(1, GetMenuItemCount(m.get()));
    EXPECT_TRUE(targets.menusMade.empty());
}

TEST_F(SendToTest, ItemCommandsNeedTheirAttribute)
{
    idlist::ChildIDList item = FakeFolder::Item(1);
    items.attributes = SFGAO_CANCOPY | SFGAO_CANLINK;
    EXPECT_FALSE(menu.InvokeItemCommand(window, &items, icDelete, item.get()));
    EXPECT_FALSE(menu.InvokeItemCommand(window, &items, icProperties, item.get()));
    EXPECT_TRUE(items.menusMade.empty());

    EXPECT_TRUE(menu.InvokeItemCommand(window, &items, icCopy, item.get()));
    EXPECT_TRUE(menu.InvokeItemCommand(window, &items, icCreateShortcut, item.get()));
    items.attributes = SFGAO_CANDELETE | SFGAO_HASPROPSHEET;
    EXPECT_TRUE(menu.InvokeItemCommand(window, &items, icDelete, item.get()));
    EXPECT_TRUE(menu.InvokeItemCommand(window, &items, icProperties, item.get()));
    ASSERT_EQ(4u, items.invoked.size());
    EXPECT_EQ(25u, items.invoked[0].verb);
    EXPECT_EQ(16u, items.invoked[1].verb);
    EXPECT_EQ(17u, items.invoked[2].verb);
    EXPECT_EQ(19u, items.invoked[3].verb);
    EXPECT_EQ((std::vector<int>{1}), items.invoked[0].items);

    // The paste needs no attribute, only a usable paste item.
    items.attributes = 0;
    EXPECT_FALSE(menu.InvokeItemCommand(window, &items, icPaste, item.get()));
    EXPECT_TRUE(menu.InvokeItemCommand(window, &targets, icPaste, item.get()));
    EXPECT_TRUE(failures.empty());
}

TEST_F(SendToTest, ItemCommandsRefuseWhatTheyCannotRun)
{
    idlist::ChildIDList item = FakeFolder::Item(0);
    EXPECT_FALSE(menu.InvokeItemCommand(window, &items, static_cast<TItemCommand>(5), item.get()));
    items.attributesResult = E_FAIL;
    EXPECT_FALSE(menu.InvokeItemCommand(window, &items, icCopy, item.get()));
    EXPECT_TRUE(items.menusMade.empty());

    items.attributesResult = S_OK;
    items.invokeResult = E_FAIL;
    EXPECT_FALSE(menu.InvokeItemCommand(window, &items, icCopy, item.get()));
    EXPECT_EQ(1u, failures.size());
}

TEST_F(SendToTest, EveryCommandRunsBusyInPairsAndTheMenuItselfDoesNot)
{
    struct Row {
        const char* name;
        UINT choice; // 0: dismissed
        std::function<void()> setUp;
        int pairs;   // commands run
        int deepest; // the paste runs inside the Send To choice
    };
    const Row rows[] = {
        {"dismissed", 0, [] {}, 0, 0},
        {"plain command", 18, [] {}, 1, 1},
        {"send to", TContextMenuEx::kFirstSendToId, [] {}, 2, 2},
        {"failed copy", TContextMenuEx::kFirstSendToId, [this] { items.invokeResult = E_FAIL; }, 1, 1},
        {"failed paste", TContextMenuEx::kFirstSendToId, [this] { targets.invokeResult = E_FAIL; }, 2, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        items.invokeResult = S_OK;
        targets.invokeResult = S_OK;
        row.setUp();
        testsupport::BusyRecorder busy;
        busy.Attach(menu.OnBusy);
        int depthInMenu = -1;
        ui::ScopedSeam track(ui::CurrentSeams().trackMenu, [&](HMENU, UINT, POINT, HWND) {
            depthInMenu = busy.depth;
            return row.choice;
        });
        UseSendTo(&targets);
        Show({0});
        EXPECT_EQ(0, depthInMenu);
        EXPECT_TRUE(busy.Balanced());
        EXPECT_EQ(row.pairs, busy.pairs);
        EXPECT_EQ(row.deepest, busy.deepest);
    }
}

TEST_F(SendToTest, AReportThatThrowsStillEndsTheBusyPair)
{
    items.invokeResult = E_FAIL;
    testsupport::BusyRecorder busy;
    busy.Attach(menu.OnBusy);
    int depthAtReport = -1;
    menu.OnCommandFailed = [&](TContextMenuEx*, HWND) {
        depthAtReport = busy.depth;
        throw std::runtime_error("no box");
    };
    idlist::ChildIDList item = FakeFolder::Item(0);
    EXPECT_THROW(menu.InvokeItemCommand(window, &items, icCopy, item.get()), std::runtime_error);
    EXPECT_EQ(1, depthAtReport);
    EXPECT_TRUE(busy.Balanced());
    EXPECT_EQ(1, busy.pairs);
}
