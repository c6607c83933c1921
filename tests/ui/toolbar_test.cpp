// The tool bar's choice among the sizes a picture comes in.
#include "ui/toolbar.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolBarPictures, TheSmallestNotSmallerElseTheLargest)
{
    struct Case {
        const char* what;
        std::vector<int> sizes;
        int size, expected;
    };
    const std::vector<int> made{24, 30, 36, 48};
    const Case cases[] = {
        {"100 %", made, 24, 0},
        {"125 %", made, 30, 1},
        {"150 %", made, 36, 2},
        {"200 %", made, 48, 3},
        {"175 %: the next larger", made, 42, 3},
        {"between two", made, 27, 1},
        {"smaller than all", made, 20, 0},
        {"larger than all", made, 60, 3},
        {"in another order", {48, 24, 36}, 30, 2},
        {"one that failed to load", {0, 24}, 36, 1},
        {"none loaded", {0, 0}, 24, -1},
        {"none at all", {}, 24, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::NearestPicture(c.sizes, c.size), c.expected) << c.what;
}

} // namespace
