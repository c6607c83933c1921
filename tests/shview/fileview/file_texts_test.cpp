// Size and date texts and the extension mask of the file list.
#include <gtest/gtest.h>

#include <cstdint>

#include "shview/file_texts.h"

namespace {

using shview::FileDateText;
using shview::FileSizeText;
using shview::MaskShows;

TEST(FileSizeText, WholeKilobytesPlusOneInAFieldOfEightThatGrows)
{
    EXPECT_EQ(FileSizeText(0, L"KB"), L"       1KB");
    EXPECT_EQ(FileSizeText(1023, L"KB"), L"       1KB");
    EXPECT_EQ(FileSizeText(1024, L"KB"), L"       2KB");
    // Beyond the low 32 bits.
    EXPECT_EQ(FileSizeText(0xFFFFFFFFull, L"KB"), L" 4194304KB");
    EXPECT_EQ(FileSizeText(0x100000000ull, L"KB"), L" 4194305KB");
    EXPECT_EQ(FileSizeText((99999999ull - 1) << 10, L"KB"), L"99999999KB");
    EXPECT_EQ(FileSizeText(99999999ull << 10, L"KB"), L"100000000KB");
    EXPECT_EQ(FileSizeText(UINT64_MAX, L"KB"), L"18014398509481984KB");
    EXPECT_EQ(FileSizeText(0, L""), L"       1");
}

TEST(FileDateText, TwoDigitFieldsWithTheSystemSeparators)
{
    EXPECT_EQ(FileDateText(1999, 3, 7, 14, 5, L"/", L":"), L"99/03/07 14:05");
    EXPECT_EQ(FileDateText(2000, 1, 1, 0, 0, L"/", L":"), L"00/01/01 00:00");
    EXPECT_EQ(FileDateText(2107, 12, 31, 23, 59, L"/", L":"), L"07/12/31 23:59");
    EXPECT_EQ(FileDateText(2024, 10, 2, 9, 30, L"-", L"."), L"24-10-02 09.30");
    EXPECT_EQ(FileDateText(1601, 1, 1, 0, 0, L"", L""), L"010101 0000");
}

TEST(MaskShows, FoldersAndMatchingExtensionsInAnyAsciiCase)
{
    const std::vector<std::wstring> none;
    const std::vector<std::wstring> cursors = {L".cur", L".ani"};
    EXPECT_TRUE(MaskShows(none, L"C:\\x\\readme.txt", false));
    EXPECT_TRUE(MaskShows(none, L"C:\\x\\cur", false));

    EXPECT_TRUE(MaskShows(cursors, L"C:\\x\\a.cur", false));
    EXPECT_TRUE(MaskShows(cursors, L"C:\\x\\B.CUR", false));
    EXPECT_TRUE(MaskShows(cursors, L"C:\\x\\c.Ani", false));
    EXPECT_FALSE(MaskShows(cursors, L"C:\\x\\cur", false));
    EXPECT_FALSE(MaskShows(cursors, L"C:\\x\\a.cur.txt", false));
    EXPECT_FALSE(MaskShows(cursors, L"C:\\x.cur\\plain", false));
    EXPECT_FALSE(MaskShows(cursors, L"C:\\x\\a.cu", false));
    // Folders pass whatever their name.
    EXPECT_TRUE(MaskShows(cursors, L"C:\\x\\sub.txt", true));
    EXPECT_TRUE(MaskShows(cursors, L"C:\\x\\sub", true));
    // Only ASCII letters are folded: full-width letters are other characters.
    EXPECT_FALSE(MaskShows(cursors, L"C:\\x\\a.\xFF23\xFF35\xFF32", false));
}

TEST(MaskShows, EntriesAreComparedWhole)
{
    const std::vector<std::wstring> mask = {L"cur", L".c", L"."};
    EXPECT_FALSE(MaskShows(mask, L"a.cur", false)); // ".cur" is not "cur"
    EXPECT_TRUE(MaskShows(mask, L"a.C", false));
    EXPECT_TRUE(MaskShows(mask, L"trailing.", false));
    EXPECT_FALSE(MaskShows(mask, L"nodot", false)); // an empty extension matches nothing
    EXPECT_FALSE(MaskShows({L""}, L"nodot", false));
}

} // namespace
