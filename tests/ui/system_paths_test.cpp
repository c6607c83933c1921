// The system's folders read at the length they have.
#include "ui/system_paths.h"

#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The current folder comes back whole, however long its name; the system's
// programs are named by the system folder's full path.
TEST(SystemPaths, FoldersComeBackWholeAtAnyLength)
{
    testsupport::TempDir temp;
    const std::wstring before = ui::CurrentFolder();
    ASSERT_FALSE(before.empty());
    for (std::size_t length : {1u, 120u, 200u}) {
        SCOPED_TRACE(length);
        const std::wstring folder = temp.Folder(std::wstring(length, L'f'));
        ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
        wchar_t full[1024] = {};
        ASSERT_GT(GetCurrentDirectoryW(1024, full), 0u);
        EXPECT_EQ(ui::CurrentFolder(), full);
    }
    ASSERT_TRUE(SetCurrentDirectoryW(before.c_str()));

    wchar_t system[1024] = {};
    ASSERT_GT(GetSystemDirectoryW(system, 1024), 0u);
    EXPECT_EQ(ui::SystemFolder(), system);
    EXPECT_EQ(ui::SystemProgram(L"control.exe"), std::wstring(system) + L"\\control.exe");
}

} // namespace
