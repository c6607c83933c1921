// The real program's keyboard, with real key presses: it starts in the tree,
// and Tab and F6 go between the panes.
#include "tests/e2e/program_driver.h"
#include "tests/support/program_process.h"

#include <gtest/gtest.h>

namespace {

// The window of another process's thread that has the keyboard focus.
HWND FocusOf(HWND main)
{
    GUITHREADINFO info{sizeof(info)};
    DWORD thread = GetWindowThreadProcessId(main, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND OnlyChild(HWND main, const wchar_t* cls)
{
    auto children = e2e::ChildrenOfClass(main, cls);
    return children.size() == 1 ? children[0] : nullptr;
}

TEST(Keyboard, StartsInTheTreeAndTabAndF6GoBetweenThePanes)
{
    e2e::RunningProgram program;
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND tree = OnlyChild(main, L"SysTreeView32");
    HWND list = OnlyChild(main, L"SysListView32");
    ASSERT_TRUE(tree && list);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return FocusOf(main) == tree; }, 5000));

    SetForegroundWindow(main);
    struct Step {
        WORD key;
        HWND expected;
    };
    for (const Step& s : {Step{VK_TAB, list}, Step{VK_TAB, tree}, Step{VK_F6, list}, Step{VK_F6, tree}}) {
        e2e::PressKey(s.key);
        EXPECT_TRUE(testsupport::WaitUntil([&] { return FocusOf(main) == s.expected; }, 5000)) << s.key;
    }
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace
