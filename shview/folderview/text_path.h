// Finding a tree node by its text path: the display names of the node and its
// ancestors from the root down, joined by "\". Window-free, so it takes the
// tree and the case-insensitive comparison from the caller.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace shview {

// What the search needs of a tree.
class TextTree {
public:
    using Node = const void*;
    virtual ~TextTree() = default;
    // The first child of `node`; for nullptr the first top-level node.
    virtual Node FirstChild(Node node) const = 0;
    virtual Node NextSibling(Node node) const = 0;
    virtual std::wstring Text(Node node) const = 0;
    virtual bool HasChildNodes(Node node) const = 0;
};

// Whether two texts are equal without regard to letter case.
using TextEqualsIgnoringCase = std::function<bool(std::wstring_view, std::wstring_view)>;

// The node whose text path is `path` (letter case ignored); failing that, the
// deepest node with child nodes whose text path begins `path` ("a\b" begins
// "a\b\c", "a\bc" does not); failing that, nullptr. Where siblings match
// alike (names differing only in case), the first in tree order wins, and a
// node with child nodes that matches ends the search among its siblings.
TextTree::Node FindByTextPath(const TextTree& tree, std::wstring_view path, const TextEqualsIgnoringCase& equal);

} // namespace shview
