// Window-free parts of the scheme and the utilities.
#include "scheme/mouse_registry.h"
#include "scheme/text_utils.h"
#include "tests/scheme/center_rows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(AddBackslash, AppendsOnlyWhereMissing)
{
    std::wstring p = L"C:\\temp";
    scheme::AddBackslash(p);
    EXPECT_EQ(p, L"C:\\temp\\");
    scheme::AddBackslash(p);
    EXPECT_EQ(p, L"C:\\temp\\");
    p = L"C:\\";
    scheme::AddBackslash(p);
    EXPECT_EQ(p, L"C:\\");
    p.clear();
    scheme::AddBackslash(p);
    EXPECT_EQ(p, L"\\");
    // 表 is 0x95 0x5C in Shift-JIS; as text it is one character, no separator.
    p = L"C:\\一覧表";
    scheme::AddBackslash(p);
    EXPECT_EQ(p, L"C:\\一覧表\\");
}

TEST(VersionText, BuildIsTheFourthWholeNumber)
{
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.34"), 34);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.0.0.0"), 0);
    EXPECT_EQ(scheme::ParseVersionBuild(L"a.b.c.7"), 7);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.2147483647"), 2147483647);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.-5"), -5);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1"), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.34.5"), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1."), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.-"), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.34 "), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.3x"), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.2147483648"), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.99999999999999999999"), -1);
    EXPECT_EQ(scheme::ParseVersionBuild(L""), -1);
    // Full-width digits are no number.
    EXPECT_EQ(scheme::ParseVersionBuild(L"1.1.1.３４"), -1);
}

TEST(MouseRoleTable, EveryRoleReplacesACursorOfItsOwn)
{
    std::set<int> ids;
    for (const auto& role : scheme::MouseRegistry)
        ids.insert(role.CursorId);
    EXPECT_EQ(ids.size(), scheme::MouseRegistry.size());
}

TEST(CenterPosition, CentresOnTheReferenceAndStaysInsideTheWorkArea)
{
    for (const schemetest::CenterRow& row : schemetest::kCenterRows) {
        const scheme::Point at = scheme::CenterPosition(row.window, row.reference, row.work);
        EXPECT_EQ(at.x, row.at.x) << row.name;
        EXPECT_EQ(at.y, row.at.y) << row.name;
    }
}

TEST(SchemeText, FillPlaceholderTakesTheArgumentLiterally)
{
    EXPECT_EQ(scheme::FillPlaceholder(L"「%s」を読めません", L"c:\\a%s%d.cur"), L"「c:\\a%s%d.cur」を読めません");
    EXPECT_EQ(scheme::FillPlaceholder(L"no place", L"x"), L"no place");
}

} // namespace
