#include "shview/folderview/text_path.h"

namespace shview {
namespace {

// Searches the row of siblings starting at `first`, whose text paths all
// begin with `prefix` (empty for the top level, else ending in "\").
TextTree::Node SearchRow(const TextTree& tree, TextTree::Node first, const std::wstring& prefix,
                         std::wstring_view path, std::wstring_view pathWithSep, const TextEqualsIgnoringCase& equal)
{
    for (TextTree::Node node = first; node; node = tree.NextSibling(node)) {
        if (tree.HasChildNodes(node)) {
            std::wstring candidate = prefix + tree.Text(node) + L'\\';
            std::wstring_view head = pathWithSep.substr(0, candidate.size());
            if (!equal(head, candidate))
                continue;
            if (pathWithSep.size() == candidate.size())
                return node;
            TextTree::Node deeper = SearchRow(tree, tree.FirstChild(node), candidate, path, pathWithSep, equal);
            return deeper ? deeper : node;
        }
        if (equal(path, prefix + tree.Text(node)))
            return node;
    }
    return nullptr;
}

} // namespace

TextTree::Node FindByTextPath(const TextTree& tree, std::wstring_view path, const TextEqualsIgnoringCase& equal)
{
    std::wstring pathWithSep(path);
    pathWithSep += L'\\';
    return SearchRow(tree, tree.FirstChild(nullptr), std::wstring(), path, pathWithSep, equal);
}

} // namespace shview
