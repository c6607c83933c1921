// The names a renamed item is looked for under when the shell does not hand
// back its new identifier.
#include <gtest/gtest.h>

#include "shview/rename_names.h"

namespace {

TEST(RenamedNames, TheHiddenExtensionComesBackFirst)
{
    using Names = std::vector<std::wstring>;
    struct Row {
        const wchar_t* typed;
        const wchar_t* shown;
        const wchar_t* parsing;
        Names expected;
    };
    const Row rows[] = {
        // Extensions shown: the typed name is the whole name.
        {L"pointer.cur", L"arrow.cur", L"C:\\c\\arrow.cur", {L"pointer.cur"}},
        {L"pointer", L"arrow.cur", L"C:\\c\\arrow.cur", {L"pointer"}},
        {L"pointer.CUR", L"ARROW.Cur", L"C:\\c\\arrow.cur", {L"pointer.CUR"}},
        // Extension hidden: the shell keeps it on the new name.
        {L"pointer", L"arrow", L"C:\\c\\arrow.cur", {L"pointer.cur", L"pointer"}},
        {L"pointer.cur", L"arrow", L"C:\\c\\arrow.cur", {L"pointer.cur.cur", L"pointer.cur"}},
        {L"新しい", L"砂時計", L"C:\\c\\砂時計.ani", {L"新しい.ani", L"新しい"}},
        // Only the last extension is hidden.
        {L"b", L"a.tar", L"C:\\c\\a.tar.gz", {L"b.gz", L"b"}},
        // No extension, or a dot in a folder's name only.
        {L"b", L"a", L"C:\\c\\a", {L"b"}},
        {L"b", L"a", L"C:\\c.d\\a", {L"b"}},
        {L"b", L"a.", L"C:\\c\\a.", {L"b"}},
        {L"x.y", L"my.folder", L"C:\\c\\my.folder", {L"x.y"}},
        // A virtual item has no parsing path to take an extension from.
        {L"b", L"a", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", {L"b"}},
        // Nothing typed, nothing to look for.
        {L"", L"arrow", L"C:\\c\\arrow.cur", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.typed) + L" / " + row.shown));
        EXPECT_EQ(shview::RenamedNames(row.typed, row.shown, row.parsing), row.expected);
    }
}

} // namespace
