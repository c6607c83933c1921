// The main window's layout tests again, in a program started at 144 DPI on a
// prefix that looks like Windows 10.
#include "tests/support/windows_profile.h"

#include <gtest/gtest.h>

namespace {

TEST(HighDpi, TheMainWindowKeepsItsLayoutAt144)
{
    EXPECT_EQ(testsupport::RunTestsLikeWindows(L"MainWindow.*"), 0u);
}

} // namespace
