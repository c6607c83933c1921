// The real program, started as a user starts it.
#include "tests/e2e/pe_imports.h"
#include "tests/e2e/program_driver.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace {

TEST(Program, ImportsSystemLibrariesOnly)
{
    std::vector<std::string> dlls = e2e::ImportedDlls(testsupport::ReadBytes(e2e::ProgramPath()));
    ASSERT_FALSE(dlls.empty());
    const std::set<std::string> system{"kernel32.dll", "user32.dll",  "gdi32.dll",   "comctl32.dll",
                                       "shell32.dll",  "ole32.dll",   "oleaut32.dll", "advapi32.dll",
                                       "msvcrt.dll",   "version.dll", "shlwapi.dll",  "comdlg32.dll"};
    for (std::string d : dlls) {
        std::transform(d.begin(), d.end(), d.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        EXPECT_TRUE(system.count(d)) << d << " is not a system library";
    }
}

TEST(Program, StartsShowsItsPanesAndClosesCleanly)
{
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(e2e::WindowText(main).rfind(L"タリモク", 0), 0u);
    EXPECT_EQ(e2e::ChildrenOfClass(main, L"SysTreeView32").size(), 1u);
    EXPECT_EQ(e2e::ChildrenOfClass(main, L"SysListView32").size(), 1u);
    EXPECT_NE(GetMenu(main), nullptr);
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace
