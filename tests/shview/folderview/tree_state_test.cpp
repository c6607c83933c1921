// Tree state utilities on plain tree views in a shown window, and the font
// made from a LOGFONT.
#include "shview/folderview/TreeState.h"

#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

namespace {

using shview::FindChildByText;
using shview::FindNodeByTextPath;
using shview::NodeTextPath;

class TreeStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = testsupport::CreateHostWindow(L"tree state");
        ASSERT_TRUE(host);
        ASSERT_TRUE(tree.Create(host, TVS_HASBUTTONS | TVS_HASLINES));
        ASSERT_TRUE(copy.Create(host, 0));
        tree.SetBounds(0, 0, 300, 500);
        copy.SetVisible(false);
    }
    void TearDown() override
    {
        DestroyWindow(host);
        testsupport::PumpUntilIdle(10, 500);
    }
    static ui::TreeNode Add(ui::TreeView& t, ui::TreeNode parent, const wchar_t* text)
    {
        ui::TreeView::NodeInfo info;
        info.text = text;
        info.image = info.selectedImage = 0;
        ui::TreeNode node = t.AddChild(parent, info);
        if (parent)
            t.SetChildrenFlag(parent, true);
        return node;
    }
    HWND host = nullptr;
    ui::TreeView tree;
    ui::TreeView copy;
};

TEST_F(TreeStateTest, TextPathsJoinTheNamesFromTheRoot)
{
    ui::TreeNode root = Add(tree, nullptr, L"Desktop");
    ui::TreeNode child = Add(tree, root, L"My Folder");
    ui::TreeNode grandchild = Add(tree, child, L"sub");
    EXPECT_EQ(NodeTextPath(tree, root), L"Desktop");
    EXPECT_EQ(NodeTextPath(tree, child), L"Desktop\\My Folder");
    EXPECT_EQ(NodeTextPath(tree, grandchild), L"Desktop\\My Folder\\sub");
    EXPECT_EQ(NodeTextPath(tree, nullptr), L"");
    EXPECT_EQ(FindNodeByTextPath(tree, NodeTextPath(tree, grandchild)), grandchild);
}

TEST_F(TreeStateTest, SiblingsDifferingOnlyInCase)
{
    ui::TreeNode root = Add(tree, nullptr, L"Desktop");
    ui::TreeNode upper = Add(tree, root, L"Data");
    ui::TreeNode lower = Add(tree, root, L"data");
    // The restore matches exactly ...
    EXPECT_EQ(FindChildByText(tree, root, L"Data"), upper);
    EXPECT_EQ(FindChildByText(tree, root, L"data"), lower);
    EXPECT_EQ(FindChildByText(tree, root, L"DATA"), nullptr);
    // ... the path lookup ignores case and takes the first in tree order.
    EXPECT_EQ(FindNodeByTextPath(tree, L"Desktop\\data"), upper);
    EXPECT_EQ(FindNodeByTextPath(tree, L"DESKTOP\\DATA"), upper);
}

TEST_F(TreeStateTest, PathLookupIgnoresCaseBeyondAscii)
{
    ui::TreeNode root = Add(tree, nullptr, L"Desktop");
    ui::TreeNode umlaut = Add(tree, root, L"\u00c4rger");      // Ärger
    ui::TreeNode wide = Add(tree, root, L"\uff21\uff22\uff23"); // full-width ABC
    EXPECT_EQ(FindNodeByTextPath(tree, L"desktop\\\u00e4rger"), umlaut);
    EXPECT_EQ(FindNodeByTextPath(tree, L"Desktop\\\uff41\uff42\uff43"), wide);
}

TEST_F(TreeStateTest, SaveCopiesExpandedNodesOnlyAndRestoreExpandsTheirMatches)
{
    ui::TreeNode root = Add(tree, nullptr, L"Desktop");
    ui::TreeNode open = Add(tree, root, L"open");
    ui::TreeNode deep = Add(tree, open, L"deep");
    Add(tree, deep, L"leaf");
    ui::TreeNode closed = Add(tree, root, L"closed");
    ui::TreeNode hidden = Add(tree, closed, L"hidden");
    Add(tree, hidden, L"leaf");
    tree.Expand(root);
    tree.Expand(open);
    tree.Expand(deep);
    // Expanded under a parent that is collapsed afterwards.
    tree.Expand(closed);
    tree.Expand(hidden);
    tree.Collapse(closed);

    shview::SaveExpanded(copy, tree);
    ui::TreeNode savedRoot = copy.Root();
    ASSERT_TRUE(savedRoot);
    EXPECT_EQ(copy.Text(savedRoot), L"Desktop");
    EXPECT_TRUE(copy.ChildrenFlag(savedRoot));
    ui::TreeNode savedOpen = copy.FirstChild(savedRoot);
    ASSERT_TRUE(savedOpen);
    EXPECT_EQ(copy.Text(savedOpen), L"open");
    EXPECT_EQ(copy.NextSibling(savedOpen), nullptr) << "a collapsed node is not copied";
    ui::TreeNode savedDeep = copy.FirstChild(savedOpen);
    ASSERT_TRUE(savedDeep);
    EXPECT_EQ(copy.Text(savedDeep), L"deep");
    EXPECT_EQ(copy.FirstChild(savedDeep), nullptr) << "children that were not expanded are not copied";
    EXPECT_EQ(copy.Count(), 3);

    // A rebuilt tree with the same names, all collapsed.
    ui::TreeView rebuilt;
    ASSERT_TRUE(rebuilt.Create(host, TVS_HASBUTTONS));
    ui::TreeNode r = Add(rebuilt, nullptr, L"Desktop");
    ui::TreeNode rOpen = Add(rebuilt, r, L"open");
    ui::TreeNode rDeep = Add(rebuilt, rOpen, L"deep");
    Add(rebuilt, rDeep, L"leaf");
    ui::TreeNode rClosed = Add(rebuilt, r, L"closed");
    ui::TreeNode rHidden = Add(rebuilt, rClosed, L"hidden");
    Add(rebuilt, rHidden, L"leaf");
    shview::RestoreExpanded(rebuilt, copy);
    EXPECT_TRUE(rebuilt.IsExpanded(rOpen));
    EXPECT_TRUE(rebuilt.IsExpanded(rDeep));
    EXPECT_FALSE(rebuilt.IsExpanded(rClosed));
    EXPECT_FALSE(rebuilt.IsExpanded(rHidden)) << "expanded under a collapsed parent: not restored";
    EXPECT_FALSE(rebuilt.IsExpanded(r)) << "the roots are not expanded here";
}

TEST_F(TreeStateTest, RestoreMatchesNamesExactlyAndSkipsVanishedOnes)
{
    ui::TreeNode root = Add(tree, nullptr, L"Desktop");
    ui::TreeNode lower = Add(tree, root, L"data");
    Add(tree, lower, L"x");
    ui::TreeNode vanished = Add(tree, root, L"vanished");
    Add(tree, vanished, L"x");
    tree.Expand(root);
    tree.Expand(lower);
    tree.Expand(vanished);
    shview::SaveExpanded(copy, tree);

    ui::TreeView rebuilt;
    ASSERT_TRUE(rebuilt.Create(host, TVS_HASBUTTONS));
    ui::TreeNode r = Add(rebuilt, nullptr, L"Desktop");
    ui::TreeNode rUpper = Add(rebuilt, r, L"Data");
    Add(rebuilt, rUpper, L"x");
    ui::TreeNode rLower = Add(rebuilt, r, L"data");
    Add(rebuilt, rLower, L"x");
    shview::RestoreExpanded(rebuilt, copy);
    EXPECT_FALSE(rebuilt.IsExpanded(rUpper));
    EXPECT_TRUE(rebuilt.IsExpanded(rLower));
}

LOGFONTW FontRecord(LONG weight)
{
    LOGFONTW lf{};
    wcscpy(lf.lfFaceName, L"Tahoma");
    lf.lfHeight = -13;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

LOGFONTW Described(const ui::UniqueFont& font)
{
    LOGFONTW out{};
    GetObjectW(font.get(), sizeof(out), &out);
    return out;
}

TEST(FontFromLogFont, WeightAbove400IsBold)
{
    ui::UniqueFont regular = shview::FontFromLogFont(FontRecord(400));
    ui::UniqueFont bold = shview::FontFromLogFont(FontRecord(401));
    ASSERT_TRUE(regular);
    ASSERT_TRUE(bold);
    EXPECT_EQ(Described(regular).lfWeight, FW_NORMAL);
    EXPECT_EQ(Described(bold).lfWeight, FW_BOLD);
    // A light weight is not kept: only regular or bold.
    EXPECT_EQ(Described(shview::FontFromLogFont(FontRecord(100))).lfWeight, FW_NORMAL);
}

TEST(FontFromLogFont, TakesFaceHeightCharsetAndStyleOnly)
{
    LOGFONTW lf = FontRecord(400);
    lf.lfItalic = 7;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 0;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfWidth = 40;
    lf.lfEscapement = 900;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    LOGFONTW got = Described(shview::FontFromLogFont(lf));
    EXPECT_STREQ(got.lfFaceName, L"Tahoma");
    EXPECT_EQ(got.lfHeight, -13);
    EXPECT_EQ(got.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_TRUE(got.lfItalic);
    EXPECT_TRUE(got.lfUnderline);
    EXPECT_FALSE(got.lfStrikeOut);
    EXPECT_EQ(got.lfWidth, 0);
    EXPECT_EQ(got.lfEscapement, 0);
    EXPECT_EQ(got.lfQuality, DEFAULT_QUALITY);

    // A face name without its terminator is cut to what fits with one.
    for (wchar_t& ch : lf.lfFaceName)
        ch = L'X';
    got = Described(shview::FontFromLogFont(lf));
    EXPECT_EQ(std::wstring(got.lfFaceName), std::wstring(LF_FACESIZE - 1, L'X'));
}

} // namespace
