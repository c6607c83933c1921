// The new folder's name: the base name, or the first numbered form no
// existing name of the parent has.
#include "app/commands/new_folder_name.h"
#include "res/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::wstring kBase = texts::NewFolderName;
std::wstring Numbered(int n) { return kBase + L" (" + std::to_wstring(n) + L")"; }

TEST(NewFolderName, NumberedFormIsTheBaseOneBlankAndTheNumberInParentheses)
{
    EXPECT_EQ(commands::NumberedFolderName(2), L"新しいﾌｫﾙﾀﾞ (2)");
    EXPECT_EQ(commands::NumberedFolderName(1234567), L"新しいﾌｫﾙﾀﾞ (1234567)");
}

TEST(NewFolderName, SkipsEveryTakenNameFromTwoUpward)
{
    struct Case {
        const char* what;
        std::wstring parent;
        std::vector<std::wstring> taken; // names present in the parent, files or folders
        std::wstring expected;           // name under the parent
    };
    const Case cases[] = {
        {"empty folder", L"C:\\dir\\", {}, kBase},
        {"base taken", L"C:\\dir\\", {kBase}, Numbered(2)},
        {"base and (2) taken", L"C:\\dir\\", {kBase, Numbered(2)}, Numbered(3)},
        {"first gap wins", L"C:\\dir\\", {kBase, Numbered(2), Numbered(4)}, Numbered(3)},
        {"numbered taken, base free", L"C:\\dir\\", {Numbered(2)}, kBase},
        {"drive root", L"C:\\", {}, kBase},
        {"drive root, base taken", L"C:\\", {kBase}, Numbered(2)},
        {"beyond nine", L"D:\\x\\", {kBase, Numbered(2), Numbered(3), Numbered(4), Numbered(5), Numbered(6),
                                     Numbered(7), Numbered(8), Numbered(9), Numbered(10)},
         Numbered(11)},
    };
    for (const Case& c : cases) {
        std::set<std::wstring> present;
        for (const auto& name : c.taken)
            present.insert(c.parent + name);
        std::vector<std::wstring> asked;
        std::wstring path = commands::NewFolderPath(c.parent, [&](const std::wstring& candidate) {
            asked.push_back(candidate);
            return present.count(candidate) > 0;
        });
        EXPECT_EQ(path, c.parent + c.expected) << c.what;
        // Every candidate is asked about once, the answer last.
        ASSERT_FALSE(asked.empty()) << c.what;
        EXPECT_EQ(asked.back(), path) << c.what;
        EXPECT_EQ(std::set<std::wstring>(asked.begin(), asked.end()).size(), asked.size()) << c.what;
    }
}

} // namespace
