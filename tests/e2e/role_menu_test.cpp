// A person's way through the program's main path: open a folder of cursor
// files, right-click a cursor, choose a role from the menu with the keyboard,
// and find the assignment in the registry.
#include "tests/e2e/program_driver.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <utility>

namespace {


int FindItem(HWND list, const std::wstring& caption)
{
    int n = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        if (e2e::RemoteListItemText(list, i) == caption)
            return i;
    return -1;
}

// As Wine shows the list (extensions shown) and as a stock Windows system
// does (extensions hidden).
class RoleMenuByHand : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Extensions, RoleMenuByHand, ::testing::ValuesIn(testsupport::kExtensionSettings),
                         [](const auto& info) { return testsupport::ExtensionSettingName(info.param); });

TEST_P(RoleMenuByHand, RightClickACursorChooseWaitAndTheSchemeHoldsIt)
{
    testsupport::ScopedFileExtensions extensions(GetParam());
    e2e::CursorFolder folder;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", L"Wait");
    // A scheme of the user's, for the スキーム menu to list.
    constexpr wchar_t kSchemes[] = L"Control Panel\\Cursors\\Schemes", kScheme[] = L"カーソル フォルダ";
    constexpr wchar_t kFiles[] = L",,,c:\\cursors\\busy.ani";
    RegSetKeyValueW(HKEY_CURRENT_USER, kSchemes, kScheme, REG_SZ, kFiles, sizeof kFiles);

    e2e::RunningProgram program(L"\"" + std::wstring(e2e::CursorFolder::kPath) + L"\"");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    auto lists = e2e::ChildrenOfClass(main, L"SysListView32");
    ASSERT_EQ(lists.size(), 1u);
    HWND list = lists[0];
    // What the user sees: the name with or without its extension.
    const std::wstring caption = GetParam() ? L"busy" : L"busy.ani";
    int item = -1;
    for (int tries = 0; tries < 100 && item < 0; ++tries, Sleep(50))
        item = FindItem(list, caption);
    ASSERT_GE(item, 0) << "the folder of the command line is not shown";
    EXPECT_NE(e2e::WindowText(main).find(e2e::CursorFolder::kPath), std::wstring::npos);

    SetForegroundWindow(main);
    Sleep(700); // the animated cursors of the folder have loaded and moved on
    // The README's pictures are these (scripts/readme-pictures.sh).
    const std::wstring artifacts = e2e::ArtifactsFolder();
    const std::wstring suffix = GetParam() ? L"-hidden.bmp" : L".bmp";
    if (!artifacts.empty())
        e2e::SaveScreen(artifacts + L"\\main-window" + suffix);
    RECT icon = e2e::RemoteListItemRect(list, item, LVIR_ICON);
    POINT at{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    ClientToScreen(list, &at);
    auto openMenu = [&] {
        e2e::ClickAt(at, true);
        HWND menu = nullptr;
        for (int tries = 0; tries < 100 && !menu; ++tries, Sleep(50))
            menu = e2e::FindProcessMenu(program.ProcessId());
        return menu;
    };
    // Esc closes the menu and assigns nothing.
    ASSERT_NE(openMenu(), nullptr) << "the role menu did not open";
    e2e::PressKey(VK_ESCAPE);
    bool open = true;
    for (int tries = 0; tries < 100 && open; ++tries, Sleep(50))
        open = e2e::FindProcessMenu(program.ProcessId()) != nullptr;
    EXPECT_FALSE(open) << "Esc left the role menu open";
    EXPECT_EQ(testsupport::ReadSchemeValue(L"Wait"), L"");

    Sleep(GetDoubleClickTime() + 100); // the next click is not the second of a double click
    ASSERT_NE(openMenu(), nullptr) << "the role menu did not open again";
    if (!artifacts.empty())
        e2e::SaveScreen(artifacts + L"\\role-menu" + suffix);

    // The fourth role, "待ち状態" (Wait).
    for (int i = 0; i < 4; ++i)
        e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_RETURN);

    const std::wstring expected = L"c:\\cursors\\busy.ani";
    std::wstring stored;
    for (int tries = 0; tries < 100 && stored != expected; ++tries, Sleep(50))
        stored = testsupport::ReadSchemeValue(L"Wait");
    EXPECT_EQ(stored, expected);

    // The registry tool of the system sees the same value.
    std::string printed = e2e::RunAndCapture(L"reg.exe query \"HKCU\\Control Panel\\Cursors\" /v Wait");
    EXPECT_NE(printed.find("Wait"), std::string::npos) << printed;
    EXPECT_NE(printed.find("busy.ani"), std::string::npos) << printed;

    // The スキーム menu from the menu bar, by its access key.
    SetForegroundWindow(main);
    e2e::PressKey(VK_F10);
    e2e::PressKey('S');
    EXPECT_TRUE(testsupport::WaitUntil([&] { return e2e::FindProcessMenu(program.ProcessId()) != nullptr; }, 5000))
        << "the スキーム menu did not open";
    Sleep(300); // drawn
    if (!artifacts.empty())
        e2e::SaveScreen(artifacts + L"\\scheme-menu" + suffix);
    e2e::PressKey(VK_ESCAPE);
    e2e::PressKey(VK_ESCAPE);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSchemes, kScheme);

    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace
