// Scheme texts: what Windows writes reads back role by role, and what it
// does not write never moves or breaks a role.
#include "scheme/scheme_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using scheme::SchemePaths;

// The roles given, the others empty.
SchemePaths Roles(std::initializer_list<std::pair<std::size_t, std::wstring>> set)
{
    SchemePaths paths;
    for (const auto& [role, path] : set)
        paths[role] = path;
    return paths;
}

TEST(SchemeRolesText, WindowsTextRoundTripsInTableOrder)
{
    SchemePaths paths;
    for (std::size_t role = 0; role < paths.size(); ++role)
        paths[role] = L"%SystemRoot%\\cursors\\" + std::wstring(scheme::MouseRegistry[role].ValueName) + L".cur";
    paths[5].clear(); // IBeam keeps the system's own
    const std::optional<std::wstring> text = scheme::WriteSchemeText(paths);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(0, 60), L"%SystemRoot%\\cursors\\Arrow.cur,%SystemRoot%\\cursors\\Help.cur");
    EXPECT_NE(text->find(L"Wait.cur,%SystemRoot%\\cursors\\Crosshair.cur,,%SystemRoot%\\cursors\\NWPen.cur"),
              std::wstring::npos);
    EXPECT_EQ(text->substr(text->size() - 11), L"\\Person.cur");
    EXPECT_EQ(std::count(text->begin(), text->end(), L','), 16);
    EXPECT_EQ(scheme::ReadSchemeText(*text), paths);
    EXPECT_EQ(scheme::WriteSchemeText(SchemePaths{}), std::wstring(16, L','));
}

TEST(SchemeRolesText, TextsWindowsDoesNotWriteReadRoleByRole)
{
    const struct {
        const char* name;
        std::wstring text;
        SchemePaths roles;
    } rows[] = {
        {"empty", L"", {}},
        {"fourteen entries", L"a.cur,b.cur,,,,,,,,,,,,z.cur", Roles({{0, L"a.cur"}, {1, L"b.cur"}, {13, L"z.cur"}})},
        {"one entry", L"c:\\a.cur", Roles({{0, L"c:\\a.cur"}})},
        {"more than seventeen", std::wstring(16, L',') + L"p.cur,extra.cur,more", Roles({{16, L"p.cur"}})},
        {"blanks", L"  c:\\my cursors\\a.cur\t, \r\n,   ", Roles({{0, L"c:\\my cursors\\a.cur"}})},
        {"quotes", L"\"c:\\a b\\x.cur\", \" c:\\y.ani \",\"\",c:\\\"z\".cur",
         Roles({{0, L"c:\\a b\\x.cur"}, {1, L"c:\\y.ani"}, {3, L"c:\\z.cur"}})},
        // A quoted comma still ends the entry, as the system sees it.
        {"quoted comma", L"\"c:\\a,b.cur\",x.cur", Roles({{0, L"c:\\a"}, {1, L"b.cur"}, {2, L"x.cur"}})},
        {"environment", L"%SystemRoot%\\cursors\\a.cur,%UNSET%x.cur",
         Roles({{0, L"%SystemRoot%\\cursors\\a.cur"}, {1, L"%UNSET%x.cur"}})},
        {"control characters", std::wstring(L"c:\\a\x01.cur,c:\\b\x7F,ok.cur"), Roles({{2, L"ok.cur"}})},
        {"a zero ends the text", std::wstring(L"a.cur,b.cur\0,c.cur", 18), Roles({{0, L"a.cur"}, {1, L"b.cur"}})},
        {"only commas", std::wstring(40, L','), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const SchemePaths read = scheme::ReadSchemeText(row.text);
        EXPECT_EQ(read, row.roles);
        // What was read can be stored again and reads back the same.
        const std::optional<std::wstring> again = scheme::WriteSchemeText(read);
        ASSERT_TRUE(again);
        EXPECT_EQ(scheme::ReadSchemeText(*again), read);
    }
}

TEST(SchemeRolesText, PathsThatWouldMoveOrChangeARoleAreNotWritten)
{
    for (const std::wstring path : {L"c:\\a,b.cur", L"c:\\\"a\".cur", L" c:\\a.cur", L"c:\\a.cur ", L"c:\\a\n.cur"}) {
        SCOPED_TRACE(testing::PrintToString(path));
        EXPECT_FALSE(scheme::FitsSchemeText(path));
        EXPECT_FALSE(scheme::WriteSchemeText(Roles({{9, path}})));
    }
    for (const std::wstring path : {L"", L"c:\\my cursors\\a.cur", L"\\\\server\\share\\x.ani", L"%WINDIR%\\x.cur"})
        EXPECT_TRUE(scheme::FitsSchemeText(path)) << testing::PrintToString(path);
}

} // namespace
