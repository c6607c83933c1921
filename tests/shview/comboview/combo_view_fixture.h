// A folder combo box beside a real folder tree in one shown window, linked
// both ways, with the tree's folders <temp>\a\b\c and a folder three levels
// below drive C: (deep = C:\tkcombo-<process>\b\c, deepRoot and deepB above it).
#pragma once
#include "shview/comboview/ComboView.h"
#include "tests/shview/folderview/folder_view_fixture.h"

#include <memory>
#include <string>
#include <vector>

namespace cvtest {

class ComboViewTest : public fvtest::FolderViewTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The identifier of a path; the empty text gives the desktop's.
    static idlist::AbsoluteIDList IdOf(const std::wstring& path);
    // Position of the entry of `path` (or `id`), or -1.
    int PositionOf(const std::wstring& path) const { return PositionOfId(IdOf(path).get()); }
    int PositionOfId(PCIDLIST_ABSOLUTE id) const;
    // Whether the box's selected entry names the folder at `path` (or `id`).
    bool Shows(const std::wstring& path) const { return ShowsId(IdOf(path).get()); }
    bool ShowsId(PCIDLIST_ABSOLUTE id) const;
    // Whether the tree's selected node names the folder at `path` (or `id`).
    bool TreeShows(const std::wstring& path) const { return TreeShowsId(IdOf(path).get()); }
    bool TreeShowsId(PCIDLIST_ABSOLUTE id) const;
    std::vector<int> Levels() const;
    // Sends the user's key to the closed box and lets the messages run.
    void Press(WORD key);

    // One entry painted through the parent's WM_DRAWITEM into a bitmap of
    // kDrawWidth x the item height, first filled with an off colour.
    struct Drawn {
        int left = -1;       // first column the entry painted something other than its background
        COLORREF background; // the colour at the far right of the rectangle
    };
    Drawn Draw(int index, UINT state);
    static constexpr int kDrawWidth = 300;

    std::wstring deepRoot, deepB, deep;
    std::unique_ptr<TComboView> combo;
};

} // namespace cvtest
