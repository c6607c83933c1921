// The paths the shell's file operations refuse for their length.
#include <gtest/gtest.h>

#include "shview/fileview/path_limits.h"

namespace {

TEST(PathLimits, TheFirstPathPast259CharactersIsNamed)
{
    const std::wstring fits = L"C:\\" + std::wstring(256, L'a'); // 259
    const std::wstring over = fits + L"b";                       // 260
    const std::wstring farOver = L"C:\\" + std::wstring(400, L'c');
    struct Row {
        const char* name;
        std::vector<std::wstring> paths;
        int named; // index of the path named, -1: none
    };
    const Row rows[] = {
        {"none", {}, -1},
        {"all fit", {L"C:\\a.cur", fits}, -1},
        {"one just over", {L"C:\\a.cur", over}, 1},
        {"the first of two", {fits, farOver, over}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring* named = shview::FirstTooLongForShell(row.paths);
        EXPECT_EQ(named, row.named < 0 ? nullptr : &row.paths[static_cast<std::size_t>(row.named)]);
    }
    // The box names the file whole, however long.
    EXPECT_EQ(shview::TooLongToDeleteText(farOver).rfind(farOver + L"\n\n", 0), 0u);
}

// A folder is read through "<folder>\\*": it fits MAX_PATH up to 257 characters.
TEST(PathLimits, AFolderPast257CharactersIsTooLongToRead)
{
    const std::wstring fits = L"C:\\" + std::wstring(254, L'a'); // 257
    EXPECT_FALSE(shview::TooLongToRead(fits));
    EXPECT_TRUE(shview::TooLongToRead(fits + L"b"));
    EXPECT_EQ(shview::TooLongToReadText(fits + L"b").rfind(fits + L"b\n\n", 0), 0u);
}

} // namespace
