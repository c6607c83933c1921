// A role menu picture's pixels from a cursor drawn over black and over white.
#include "app/cursors/role_pixels.h"

#include <gtest/gtest.h>

namespace {

TEST(RolePixels, TransparencyAndColourComeFromTheTwoBackdrops)
{
    struct Row {
        const char* name;
        uint32_t onBlack, onWhite, expected;
    };
    const Row rows[] = {
        {"transparent", 0x000000, 0xFFFFFF, 0x00000000},
        {"opaque red", 0xFF0000, 0xFF0000, 0xFFFF0000},
        {"opaque black", 0x000000, 0x000000, 0xFF000000},
        {"half see-through white", 0x808080, 0xFFFFFF, 0x80808080},
        {"a quarter of blue", 0x000040, 0xBFBFFF, 0x40000040},
        // The channel letting the least through decides; no colour above alpha.
        {"rounding between the drawings", 0x7F8080, 0xFFFFFF, 0x807F8080},
        {"inverting the screen", 0xFFFFFF, 0x000000, 0xFF000000},
        {"inverting one channel", 0x00FF00, 0xFF00FF, 0xFF000000},
    };
    std::vector<uint32_t> black, white;
    for (const Row& row : rows) {
        black.push_back(row.onBlack);
        white.push_back(row.onWhite);
    }
    const std::vector<uint32_t> out = rolemenu::PremultipliedFromBackdrops(black, white);
    ASSERT_EQ(out.size(), std::size(rows));
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i], rows[i].expected) << rows[i].name << std::hex << " got " << out[i];

    EXPECT_TRUE(rolemenu::PremultipliedFromBackdrops({1, 2}, {3}).empty());
}

} // namespace
