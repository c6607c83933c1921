// The dialogs' layout tests again, in a program started at 144 DPI on a
// prefix that looks like Windows 10.
#include "tests/support/windows_profile.h"

#include <gtest/gtest.h>

namespace {

TEST(HighDpi, TheDialogsKeepTheirLayoutAt144)
{
    EXPECT_EQ(testsupport::RunTestsLikeWindows(
                  L"GoDialog.OpensEmptyWithItsLayoutCentredOnTheWindowGiven:AboutBox.HasItsLayout*"),
              0u);
}

} // namespace
