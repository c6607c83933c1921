// Panes for the drop handling without windows: places on a line of screen x
// positions, folders by name, and a record of every highlight asked for.
#pragma once
#include "app/drops/drops_port.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

class FakeDropPanes final : public DropPanes {
public:
    std::map<LONG, ui::TreeNode> nodesAt;             // x -> a real folder's node
    std::map<ui::TreeNode, std::wstring> nodeFolders; // node -> its folder
    std::map<LONG, int> itemsAt;                      // x -> a folder item
    std::vector<std::wstring> itemFolders;            // item -> its folder
    std::set<int> lit;                                // items the list shows highlighted
    ui::TreeNode litNode = nullptr;
    std::wstring view; // empty: a virtual folder in view
    bool listChanged = false;
    std::vector<std::pair<int, bool>> itemCalls; // every HighlightItem asked for

    // The list filled again: new items, none highlighted.
    void Refill(std::vector<std::wstring> folders)
    {
        itemFolders = std::move(folders);
        lit.clear();
    }

    HWND TreeWindow() const override { return nullptr; }
    HWND ListWindow() const override { return nullptr; }
    ui::TreeNode FolderNodeAt(POINT screen) const override
    {
        auto it = nodesAt.find(screen.x);
        return it == nodesAt.end() ? nullptr : it->second;
    }
    std::wstring NodeFolder(ui::TreeNode node) const override
    {
        auto it = nodeFolders.find(node);
        return it == nodeFolders.end() ? std::wstring() : it->second;
    }
    void HighlightNode(ui::TreeNode node) override { litNode = node; }
    int FolderItemAt(POINT screen) const override
    {
        auto it = itemsAt.find(screen.x);
        return it == itemsAt.end() || it->second >= int(itemFolders.size()) ? -1 : it->second;
    }
    std::wstring ItemFolder(int item) const override
    {
        return item >= 0 && item < int(itemFolders.size()) ? itemFolders[item] : std::wstring();
    }
    bool ItemHighlighted(int item) const override { return lit.count(item) > 0; }
    void HighlightItem(int item, bool on) override
    {
        itemCalls.emplace_back(item, on);
        if (on)
            lit.insert(item);
        else
            lit.erase(item);
    }
    std::wstring ViewFolder() const override { return view; }
    HWND Owner() const override { return reinterpret_cast<HWND>(0x1234); }
    void ListChanged() override { listChanged = true; }
};

} // namespace testsupport
