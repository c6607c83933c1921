// A person's way through the program's main path: open a folder of cursor
// files, right-click a cursor, choose a role from the menu with the keyboard,
// and find the assignment in the registry.
#include "tests/e2e/program_driver.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

std::wstring Lower(std::wstring s)
{
    CharLowerBuffW(s.data(), DWORD(s.size()));
    return s;
}


std::wstring ArtifactsFolder()
{
    wchar_t buf[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TK_ARTIFACTS", buf, MAX_PATH))
        return {};
    CreateDirectoryW(buf, nullptr);
    return buf;
}

int FindItem(HWND list, const std::wstring& caption)
{
    int n = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        if (e2e::RemoteListItemText(list, i) == caption)
            return i;
    return -1;
}

TEST(RoleMenuByHand, RightClickACursorChooseWaitAndTheSchemeHoldsIt)
{
    testsupport::TempDir dir;
    std::wstring cur = dir.File(L"Pointer.CUR", testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur")));
    dir.File(L"wait.ani", testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/wait.ani")));
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Wait");

    e2e::RunningProgram program(L"\"" + dir.Path() + L"\"");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    auto lists = e2e::ChildrenOfClass(main, L"SysListView32");
    ASSERT_EQ(lists.size(), 1u);
    HWND list = lists[0];
    int item = -1;
    for (int tries = 0; tries < 100 && item < 0; ++tries, Sleep(50))
        item = FindItem(list, L"Pointer.CUR");
    ASSERT_GE(item, 0) << "the folder of the command line is not shown";
    EXPECT_NE(e2e::WindowText(main).find(dir.Path()), std::wstring::npos);

    SetForegroundWindow(main);
    RECT icon = e2e::RemoteListItemRect(list, item, LVIR_ICON);
    POINT at{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    ClientToScreen(list, &at);
    e2e::ClickAt(at, true);

    HWND menu = nullptr;
    for (int tries = 0; tries < 100 && !menu; ++tries, Sleep(50))
        menu = e2e::FindProcessMenu(program.ProcessId());
    ASSERT_NE(menu, nullptr) << "the role menu did not open";
    std::wstring artifacts = ArtifactsFolder();
    if (!artifacts.empty())
        e2e::SaveScreen(artifacts + L"\\role-menu.bmp");

    // The fourth role, "待ち状態" (Wait).
    for (int i = 0; i < 4; ++i)
        e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_RETURN);

    std::wstring expected = Lower(cur);
    std::wstring stored;
    for (int tries = 0; tries < 100 && stored != expected; ++tries, Sleep(50))
        stored = testsupport::ReadSchemeValue(L"Wait");
    EXPECT_EQ(stored, expected);

    // The registry tool of the system sees the same value.
    std::string printed = e2e::RunAndCapture(L"reg.exe query \"HKCU\\Control Panel\\Cursors\" /v Wait");
    EXPECT_NE(printed.find("Wait"), std::string::npos) << printed;
    EXPECT_NE(printed.find("pointer.cur"), std::string::npos) << printed;

    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace
