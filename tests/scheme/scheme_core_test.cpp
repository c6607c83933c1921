// Window-free parts of the scheme and the utilities.
#include "scheme/mouse_registry.h"
#include "scheme/text_utils.h"

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

TEST(MouseRoleTable, SeventeenRowsInMenuOrder)
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
        {L"リンクの選択", L"Hand", 32649},
        {L"位置の選択", L"Pin", 32671},
        {L"人の選択", L"Person", 32672},
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
