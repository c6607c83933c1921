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

// The whole name handed to the shell for an edit: none for a text left as
// it was, the hidden extension put back only where the shown name lacked it.
TEST(RenamedNames, TheNameToSetIsWholeAndNoneWhenNothingChanged)
{
    struct Row {
        const wchar_t* typed;
        const wchar_t* shown;
        const wchar_t* parsing;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {L"x.cur", L"x.cur", L"C:\\c\\x.cur", L""},                     // a folder, left as it was
        {L"arrow", L"arrow", L"C:\\c\\arrow.cur", L""},                 // a file, extension hidden
        {L"", L"arrow", L"C:\\c\\arrow.cur", L""},                      // nothing typed
        {L"Arrow.cur", L"arrow.cur", L"C:\\c\\arrow.cur", L"Arrow.cur"}, // letter case counts
        {L"foldB.ani", L"fold.ani.ani", L"C:\\c\\fold.ani.ani", L"foldB.ani"},
        {L"pointer", L"arrow", L"C:\\c\\arrow.cur", L"pointer.cur"},
        {L"three.a", L"two.a", L"C:\\c\\two.a.txt", L"three.a.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.typed) + L" / " + row.shown));
        EXPECT_EQ(shview::NameToSet(row.typed, row.shown, row.parsing), row.expected);
    }
}

} // namespace
