// Mouse and key events of the subclassed controls, with real controls.
#include "tests/support/wine_ui.h"
#include "ui/combobox.h"
#include "ui/listview.h"
#include "ui/treeview.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::string> events;
    void Attach(ui::Control& c)
    {
        c.OnMouseDown = [this](ui::Control*, ui::MouseButton b, ui::ShiftState, int, int) {
            events.push_back(std::string("down ") + Name(b));
        };
        c.OnMouseUp = [this](ui::Control*, ui::MouseButton b, ui::ShiftState, int, int) {
            events.push_back(std::string("up ") + Name(b));
        };
        c.OnDblClick = [this](ui::Control*) { events.push_back("dblclick"); };
    }
    static const char* Name(ui::MouseButton b)
    {
        return b == ui::MouseButton::Left ? "left" : b == ui::MouseButton::Right ? "right" : "middle";
    }
};

void Click(HWND w, UINT down, UINT up, WPARAM keys, int x, int y)
{
    PostMessageW(w, down, keys, MAKELPARAM(x, y));
    PostMessageW(w, up, 0, MAKELPARAM(x, y));
    testsupport::PumpUntilIdle();
}

class ControlEvents : public ::testing::Test {
protected:
    void SetUp() override { host = testsupport::CreateHostWindow(); }
    void TearDown() override { DestroyWindow(host); }
    HWND host = nullptr;
};

TEST_F(ControlEvents, EveryClickOnAListRaisesOneDownThenOneUp)
{
    ui::ListView list;
    ASSERT_TRUE(list.Create(host, LVS_REPORT));
    list.SetBounds(0, 0, 600, 400);
    list.AddColumn(L"名前", 200);
    for (int i = 0; i < 3; ++i)
        list.AddItem(L"item" + std::to_wstring(i), -1, i);
    Recorder rec;
    rec.Attach(list);
    RECT label{};
    ListView_GetItemRect(list.Handle(), 1, &label, LVIR_LABEL);
    POINT p{(label.left + label.right) / 2 - 20, (label.top + label.bottom) / 2 - 10};
    Click(list.Handle(), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, p.x + 20, p.y + 10);
    // The right press selected the item under the pointer before the events ran.
    EXPECT_TRUE(list.IsSelected(1));
    Click(list.Handle(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, p.x + 20, p.y + 10);
    Click(list.Handle(), WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, 500, 300);
    Click(list.Handle(), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 500, 300); // on empty space
    std::vector<std::string> expected{"down right", "up right", "down left", "up left",
                                      "down middle", "up middle", "down right", "up right"};
    EXPECT_EQ(rec.events, expected);
}

TEST_F(ControlEvents, ClicksOnATreeRaiseOneDownThenOneUp)
{
    ui::TreeView tree;
    ASSERT_TRUE(tree.Create(host, TVS_HASBUTTONS | TVS_HASLINES));
    tree.SetBounds(0, 0, 300, 400);
    ui::TreeNode root = tree.AddChild(nullptr, {L"root", -1, -1, true, 1});
    tree.AddChild(root, {L"child", -1, -1, false, 2});
    tree.Expand(root);
    Recorder rec;
    rec.Attach(tree);
    RECT r{};
    TreeView_GetItemRect(tree.Handle(), root, &r, TRUE);
    Click(tree.Handle(), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, r.left + 3, r.top + 3);
    Click(tree.Handle(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, r.left + 3, r.top + 3);
    std::vector<std::string> expected{"down right", "up right", "down left", "up left"};
    EXPECT_EQ(rec.events, expected);
    EXPECT_EQ(tree.Level(tree.FirstChild(root)), 1);
    EXPECT_EQ(tree.Text(tree.FirstChild(root)), L"child");
}

// Counts the commands a combo box reports while a press is handled.
class WatchedCombo : public ui::ComboBox {
public:
    int commandsInPress = 0;
    bool inPress = false;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        bool press = msg == WM_LBUTTONDOWN;
        if (press)
            inPress = true;
        LRESULT r = ui::ComboBox::WndProc(msg, wp, lp);
        if (press)
            inPress = false;
        return r;
    }
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        bool handled = ui::ComboBox::Reflected(msg, wp, lp, result);
        if (msg == WM_COMMAND && inPress)
            ++commandsInPress;
        return handled;
    }
};

// A combo box tells its parent of a press with WM_COMMAND, whose lParam is
// the box's handle, not a notification header.
TEST_F(ControlEvents, AClickOnAComboBoxDropsItsListAndRaisesThePress)
{
    WatchedCombo combo;
    ASSERT_TRUE(combo.Create(host, CBS_DROPDOWNLIST, 77));
    combo.SetBounds(10, 10, 200, 200);
    combo.Add(L"一", 1);
    combo.Add(L"二", 2);
    Recorder rec;
    rec.Attach(combo);
    PostMessageW(combo.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 8));
    testsupport::PumpUntilIdle();
    EXPECT_TRUE(SendMessageW(combo.Handle(), CB_GETDROPPEDSTATE, 0, 0));
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    testsupport::PumpUntilIdle();
    ASSERT_FALSE(rec.events.empty());
    EXPECT_EQ(rec.events.front(), "down left");
    EXPECT_EQ(combo.Count(), 2);
    // The commands of the press went through the base's reflection.
    EXPECT_GT(combo.commandsInPress, 0);
}

TEST_F(ControlEvents, KeyHandlersSeeKeysFirstAndCanSwallowThem)
{
    ui::ListView list;
    ASSERT_TRUE(list.Create(host, LVS_REPORT));
    std::vector<WORD> keys;
    list.OnKeyDown = [&](ui::Control*, WORD& key, ui::ShiftState) {
        keys.push_back(key);
        if (key == VK_DELETE)
            key = 0;
    };
    std::wstring typed;
    list.OnKeyPress = [&](ui::Control*, wchar_t& ch) { typed += ch; };
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_F2, 0);
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_DELETE, 0);
    SendMessageW(list.Handle(), WM_CHAR, L'あ', 0);
    EXPECT_EQ(keys, (std::vector<WORD>{VK_F2, VK_DELETE}));
    EXPECT_EQ(typed, L"あ");
}

TEST_F(ControlEvents, RedrawIsSuspendedUntilTheLastEndUpdate)
{
    ui::ListView list;
    ASSERT_TRUE(list.Create(host, LVS_REPORT));
    list.BeginUpdate();
    list.BeginUpdate();
    list.EndUpdate();
    // Still suspended: an item added now is there, the control stays usable.
    list.AddItem(L"x", -1, 0);
    list.EndUpdate();
    list.EndUpdate(); // one too many is harmless
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.ItemText(0), L"x");
}

} // namespace
