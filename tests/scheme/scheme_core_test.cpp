// Window-free parts of the scheme and the utilities.
#include "scheme/center_math.h"
#include "scheme/mouse_registry.h"
#include "scheme/text_utils.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using scheme::CenterPosition;
using scheme::Rect;

TEST(CenterWindowMath, CentresOnTheReference)
{
    // 300 x 200 dialog on a 501 x 301 window at (100, 100).
    auto p = CenterPosition({0, 0, 300, 200}, {100, 100, 601, 401}, {0, 0, 1024, 738});
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 150);
    // Odd sizes round toward zero on both halves: 100 + 0 - 0.
    p = CenterPosition({50, 50, 51, 51}, {100, 100, 101, 101}, {0, 0, 1024, 738});
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 100);
}

TEST(CenterWindowMath, ClampsIntoTheWorkArea)
{
    const Rect work{0, 30, 1024, 738};
    // Near the right and bottom edges: the far edges end on the work area's.
    auto p = CenterPosition({0, 0, 300, 200}, {900, 650, 1100, 800}, work);
    EXPECT_EQ(p.x, 1024 - 300);
    EXPECT_EQ(p.y, 738 - 200);
    // Near the left and top edges.
    p = CenterPosition({0, 0, 300, 200}, {-50, 0, 50, 40}, work);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 30);
    // Larger than the work area: aligned with its left and top edges.
    p = CenterPosition({0, 0, 2000, 1000}, {100, 100, 601, 401}, work);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 30);
    // A work area that does not start at the origin (taskbar on the left).
    p = CenterPosition({0, 0, 300, 200}, {0, 100, 100, 401}, {60, 0, 1024, 738});
    EXPECT_EQ(p.x, 60);
}

TEST(CenterWindowMath, ExtremeRectanglesDoNotOverflow)
{
    const int big = 2147483647;
    auto p = CenterPosition({-big, -big, big, big}, {-big, -big, big, big}, {0, 0, 1024, 738});
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    // A minimised reference window sits at (-32000, -32000).
    p = CenterPosition({0, 0, 300, 200}, {-32000, -32000, -31840, -31972}, {0, 0, 1024, 738});
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

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

TEST(MouseRoleTable, FourteenRowsInMenuOrder)
{
    struct Row {
        const wchar_t* caption;
        const wchar_t* value;
        int id;
    };
    const Row expected[] = {
        {L"標準の選択", L"Arrow", 32512},
        {L"ヘルプの選択", L"Help", 32651},
        {L"ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞで作業中", L"AppStarting", 32650},
        {L"待ち状態", L"Wait", 32514},
        {L"領域選択", L"Crosshair", 32515},
        {L"ﾃｷｽﾄ選択", L"IBeam", 32513},
        {L"手書き", L"NWPen", 32631},
        {L"作業領域外", L"No", 32648},
        {L"上下に拡大/縮小", L"SizeNS", 32645},
        {L"左右に拡大/縮小", L"SizeWE", 32644},
        {L"斜めに拡大/縮小１", L"SizeNWSE", 32642},
        {L"斜めに拡大/縮小２", L"SizeNESW", 32643},
        {L"移動", L"SizeAll", 32646},
        {L"代替選択", L"UpArrow", 32516},
    };
    ASSERT_EQ(scheme::MouseRegistry.size(), std::size(expected));
    std::set<int> ids;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::wstring(scheme::MouseRegistry[i].Caption), expected[i].caption);
        EXPECT_EQ(std::wstring(scheme::MouseRegistry[i].ValueName), expected[i].value);
        EXPECT_EQ(scheme::MouseRegistry[i].CursorId, expected[i].id);
        ids.insert(scheme::MouseRegistry[i].CursorId);
    }
    // Every role replaces a cursor of its own.
    EXPECT_EQ(ids.size(), std::size(expected));
    EXPECT_EQ(std::wstring(scheme::CursorSchemeKey), L"Control Panel\\Cursors\\");
}

TEST(SchemeText, FillPlaceholderTakesTheArgumentLiterally)
{
    EXPECT_EQ(scheme::FillPlaceholder(L"「%s」を読めません", L"c:\\a%s%d.cur"), L"「c:\\a%s%d.cur」を読めません");
    EXPECT_EQ(scheme::FillPlaceholder(L"no place", L"x"), L"no place");
}

} // namespace
