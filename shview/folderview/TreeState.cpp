#include "shview/folderview/TreeState.h"

#include "shview/folderview/text_path.h"

#include <cwchar>

namespace shview {
namespace {

// A tree view seen by the window-free text-path search.
class TreeViewTexts : public TextTree {
public:
    explicit TreeViewTexts(const ui::TreeView& tree) : tree_(tree) {}
    Node FirstChild(Node node) const override
    {
        return node ? tree_.FirstChild(AsNode(node)) : tree_.Root();
    }
    Node NextSibling(Node node) const override { return tree_.NextSibling(AsNode(node)); }
    std::wstring Text(Node node) const override { return tree_.Text(AsNode(node)); }
    bool HasChildNodes(Node node) const override { return tree_.HasChildNodes(AsNode(node)); }

private:
    static ui::TreeNode AsNode(Node node) { return static_cast<ui::TreeNode>(const_cast<void*>(node)); }
    const ui::TreeView& tree_;
};

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    if (a.empty() || b.empty())
        return a.empty() && b.empty();
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(),
                          int(b.size())) == CSTR_EQUAL;
}

ui::TreeView::NodeInfo CopyOf(const ui::TreeView& tree, ui::TreeNode node)
{
    ui::TreeView::NodeInfo info;
    info.text = tree.Text(node);
    info.hasChildren = tree.ChildrenFlag(node);
    info.image = 0; // the copy has no image list; -1 would ask its parent for images
    info.selectedImage = 0;
    return info;
}

void CopyExpandedChildren(ui::TreeView& copy, ui::TreeNode target, const ui::TreeView& tree, ui::TreeNode source)
{
    for (ui::TreeNode child = tree.FirstChild(source); child; child = tree.NextSibling(child)) {
        if (!tree.IsExpanded(child))
            continue;
        ui::TreeNode added = copy.AddChild(target, CopyOf(tree, child));
        if (added)
            CopyExpandedChildren(copy, added, tree, child);
    }
}

void ExpandMatching(ui::TreeView& tree, ui::TreeNode node, const ui::TreeView& copy, ui::TreeNode saved)
{
    for (ui::TreeNode child = copy.FirstChild(saved); child; child = copy.NextSibling(child)) {
        ui::TreeNode match = FindChildByText(tree, node, copy.Text(child));
        if (!match)
            continue;
        tree.Expand(match);
        if (copy.ChildrenFlag(child))
            ExpandMatching(tree, match, copy, child);
    }
}

} // namespace

std::wstring NodeTextPath(const ui::TreeView& tree, ui::TreeNode node)
{
    if (!node)
        return {};
    std::wstring path;
    for (ui::TreeNode parent = tree.Parent(node); parent; node = parent, parent = tree.Parent(node))
        path = L'\\' + tree.Text(node) + path;
    return tree.Text(node) + path;
}

void SaveExpanded(ui::TreeView& copy, const ui::TreeView& tree)
{
    ui::RedrawOff update(copy);
    copy.DeleteAll();
    ui::TreeNode root = tree.Root();
    if (!root)
        return;
    ui::TreeNode copyRoot = copy.AddChild(nullptr, CopyOf(tree, root));
    if (copyRoot)
        CopyExpandedChildren(copy, copyRoot, tree, root);
}

ui::TreeNode FindChildByText(const ui::TreeView& tree, ui::TreeNode node, std::wstring_view text)
{
    for (ui::TreeNode child = tree.FirstChild(node); child; child = tree.NextSibling(child))
        if (tree.Text(child) == text)
            return child;
    return nullptr;
}

void RestoreExpanded(ui::TreeView& tree, const ui::TreeView& copy)
{
    ui::RedrawOff update(tree);
    ui::TreeNode root = tree.Root();
    ui::TreeNode savedRoot = copy.Root();
    if (root && savedRoot)
        ExpandMatching(tree, root, copy, savedRoot);
}

ui::TreeNode FindNodeByTextPath(const ui::TreeView& tree, std::wstring_view path)
{
    TreeViewTexts texts(tree);
    auto found = FindByTextPath(texts, path, &EqualIgnoringCase);
    return static_cast<ui::TreeNode>(const_cast<void*>(found));
}

ui::UniqueFont FontFromLogFont(const LOGFONTW& logFont)
{
    LOGFONTW font{};
    // At most LF_FACESIZE - 1 characters, so the copy is always terminated.
    std::size_t length = wcsnlen(logFont.lfFaceName, LF_FACESIZE - 1);
    wmemcpy(font.lfFaceName, logFont.lfFaceName, length);
    font.lfHeight = logFont.lfHeight;
    font.lfCharSet = logFont.lfCharSet;
    font.lfWeight = logFont.lfWeight > FW_NORMAL ? FW_BOLD : FW_NORMAL;
    font.lfItalic = logFont.lfItalic ? TRUE : FALSE;
    font.lfUnderline = logFont.lfUnderline ? TRUE : FALSE;
    font.lfStrikeOut = logFont.lfStrikeOut ? TRUE : FALSE;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    return ui::UniqueFont(CreateFontIndirectW(&font));
}

} // namespace shview
