// Where dropped files lie and the list the shell's file operation takes.
#include "app/drops/drop_rules.h"

#include <gtest/gtest.h>

TEST(DropRules, FolderPartKeepsTheSeparatorOfARootOnly)
{
    struct Row {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Row rows[] = {
        {L"C:\\a\\b.txt", L"C:\\a"},   {L"C:\\b.txt", L"C:\\"},   {L"C:b.txt", L"C:"},
        {L"\\b.txt", L"\\"},           {L"b.txt", L""},           {L"", L""},
        {L"\\\\srv\\share\\b", L"\\\\srv\\share"}, {L"C:\\a\\", L"C:\\a"}, {L"C:\\한글\\😀.ani", L"C:\\한글"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.folder, drop::FolderPart(row.path)) << row.path;
}

TEST(DropRules, FilesAlreadyInTheTargetByTheirFirstNameExactly)
{
    struct Row {
        std::vector<std::wstring> files;
        const wchar_t* target;
        bool already;
    };
    const Row rows[] = {
        {{L"C:\\v\\a.txt"}, L"C:\\v", true},
        {{L"C:\\v\\a.txt", L"C:\\w\\b.txt"}, L"C:\\v", true}, // the first decides
        {{L"C:\\w\\b.txt", L"C:\\v\\a.txt"}, L"C:\\v", false},
        {{L"C:\\v\\a.txt"}, L"C:\\v\\sub", false}, // into its own subfolder
        {{L"C:\\v\\a.txt"}, L"c:\\V", false},      // letter case counts
        {{L"C:\\a.txt"}, L"C:\\", true},
        {{}, L"C:\\v", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.already, drop::AlreadyIn(row.files, row.target)) << row.target;
}

TEST(DropRules, AFolderCannotGoIntoItself)
{
    struct Row {
        std::vector<std::wstring> files;
        const wchar_t* target;
        bool inside;
    };
    const Row rows[] = {
        {{L"C:\\v\\sub"}, L"C:\\v\\sub", true},
        {{L"C:\\v\\sub"}, L"c:\\V\\SUB\\deeper", true},
        {{L"C:\\v\\a.txt", L"C:\\v\\sub\\"}, L"C:\\v\\sub", true},
        {{L"C:\\"}, L"C:\\v", true},
        {{L"C:\\v\\sub"}, L"C:\\v\\subway", false},
        {{L"C:\\v\\sub"}, L"C:\\v", false},
        {{L"C:\\v\\a.txt"}, L"C:\\w", false},
        {{}, L"C:\\v", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.inside, drop::TargetInsideSource(row.files, row.target)) << row.target;
}

TEST(DropRules, TheSourceListEndsInTwoZerosAndSkipsEmptyNames)
{
    using namespace std::string_literals;
    struct Row {
        std::vector<std::wstring> names;
        std::wstring list;
    };
    const Row rows[] = {
        {{L"C:\\a", L"C:\\한글"}, L"C:\\a\0C:\\한글\0\0"s},
        {{L"C:\\a", L"", L"C:\\b"}, L"C:\\a\0C:\\b\0\0"s},
        {{}, L"\0"s},
        {{L""}, L"\0"s},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.list, drop::DoubleNullList(row.names));
}

TEST(DropRules, DriveAndShareRootsAreRoots)
{
    struct Row {
        const wchar_t* path;
        bool root;
    };
    const Row rows[] = {
        {L"C:\\", true},           {L"C:", true},           {L"\\", true},
        {L"\\\\srv\\share", true}, {L"\\\\srv\\share\\", true}, {L"\\\\srv", true},
        {L"C:\\a", false},         {L"C:\\a\\", false},     {L"\\\\srv\\share\\a", false},
        {L"", false},              {L"a", false},           {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.root, drop::IsRootPath(row.path)) << row.path;
}
