// The text-path search on an in-memory tree, with an ASCII case-insensitive
// comparison standing in for the locale's.
#include "shview/folderview/text_path.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <vector>

namespace {

struct Entry {
    std::wstring text;
    std::vector<std::unique_ptr<Entry>> children;
    Entry* parent = nullptr;
    Entry* Add(std::wstring t)
    {
        children.push_back(std::make_unique<Entry>());
        children.back()->text = std::move(t);
        children.back()->parent = this;
        return children.back().get();
    }
};

class MemoryTree : public shview::TextTree {
public:
    Entry top; // holds the top-level nodes
    Entry* FromHandle(shview::TextTree::Node n) const { return static_cast<Entry*>(const_cast<void*>(n)); }
    shview::TextTree::Node FirstChild(shview::TextTree::Node n) const override
    {
        const Entry* p = n ? FromHandle(n) : &top;
        return p->children.empty() ? nullptr : p->children.front().get();
    }
    shview::TextTree::Node NextSibling(shview::TextTree::Node n) const override
    {
        Entry* node = FromHandle(n);
        auto& row = node->parent->children;
        for (std::size_t i = 0; i + 1 < row.size(); ++i)
            if (row[i].get() == node)
                return row[i + 1].get();
        return nullptr;
    }
    std::wstring Text(shview::TextTree::Node n) const override { return FromHandle(n)->text; }
    bool HasChildNodes(shview::TextTree::Node n) const override { return !FromHandle(n)->children.empty(); }
};

bool AsciiEqualIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

class TextPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = tree.top.Add(L"Desktop");
        computer = root->Add(L"Computer");
        drive = computer->Add(L"C:");
        windows = drive->Add(L"Windows");
        system = windows->Add(L"System");
        users = drive->Add(L"Users");
        docs = root->Add(L"Docs");
    }
    const Entry* Find(std::wstring_view path)
    {
        return static_cast<const Entry*>(shview::FindByTextPath(tree, path, AsciiEqualIgnoringCase));
    }
    MemoryTree tree;
    Entry *root, *computer, *drive, *windows, *system, *users, *docs;
};

TEST_F(TextPathTest, ExactPathsFindTheirNodesWhateverTheCase)
{
    EXPECT_EQ(Find(L"Desktop"), root);
    EXPECT_EQ(Find(L"desktop\\COMPUTER"), computer);
    EXPECT_EQ(Find(L"Desktop\\Computer\\C:\\Windows\\System"), system); // a node without children
    EXPECT_EQ(Find(L"Desktop\\Computer\\c:\\users"), users);
    EXPECT_EQ(Find(L"Desktop\\Docs"), docs);
}

TEST_F(TextPathTest, AVanishedFolderGivesItsDeepestAncestorWithChildren)
{
    // The last folder is gone: its parent still has children.
    EXPECT_EQ(Find(L"Desktop\\Computer\\C:\\Windows\\Temp"), windows);
    // Two levels gone, and the parent that is left has no children of its own:
    // System has none, so the answer is Windows.
    EXPECT_EQ(Find(L"Desktop\\Computer\\C:\\Windows\\System\\Drivers"), windows);
    EXPECT_EQ(Find(L"Desktop\\Elsewhere"), root);
}

TEST_F(TextPathTest, NoAnswerWhenEvenTheRootDiffers)
{
    EXPECT_EQ(Find(L"Other"), nullptr);
    EXPECT_EQ(Find(L"Other\\Computer"), nullptr);
    EXPECT_EQ(Find(L""), nullptr);
}

TEST_F(TextPathTest, ANamePrefixIsNotAPathPrefix)
{
    // "Win" begins "Windows" as text but names no folder on the way.
    EXPECT_EQ(Find(L"Desktop\\Computer\\C:\\Win"), drive);
    EXPECT_EQ(Find(L"Desktop\\Computer\\C:\\WindowsOld"), drive);
}

TEST_F(TextPathTest, SiblingsDifferingInCaseAnswerTheFirst)
{
    Entry* upper = docs->Add(L"ABC");
    Entry* lower = docs->Add(L"abc");
    upper->Add(L"x");
    lower->Add(L"y");
    // The first match with children ends the search of its row, even though
    // only the second one holds "y".
    EXPECT_EQ(Find(L"Desktop\\Docs\\abc"), upper);
    EXPECT_EQ(Find(L"Desktop\\Docs\\abc\\y"), upper);
    EXPECT_EQ(Find(L"Desktop\\Docs\\ABC\\x"), upper->children.front().get());
}

TEST_F(TextPathTest, ALeafThatMatchesOnlyAsPrefixIsSkipped)
{
    Entry* leaf = docs->Add(L"Notes");
    Entry* folder = docs->Add(L"notes");
    folder->Add(L"old");
    // The first "notes" has no children: a longer path passes it by.
    EXPECT_EQ(Find(L"Desktop\\Docs\\Notes\\old"), folder->children.front().get());
    EXPECT_EQ(Find(L"Desktop\\Docs\\NOTES"), leaf);
}

} // namespace
