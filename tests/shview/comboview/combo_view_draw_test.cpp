// How the folder combo box paints its entries, read back from the pixels.
#include "tests/shview/comboview/combo_view_fixture.h"
#include "ui/dpi.h"

#include <shellapi.h>

namespace cvtest {
namespace {

TEST_F(ComboViewTest, TheDroppedListIndentsTenPixelsPerLevelTheSelectionFieldNotAtAll)
{
    combo->ShowFolder(IdOf(deep).get());
    struct Row {
        std::wstring path;
        int level;
    };
    const Row rows[] = {{L"", 0}, {L"C:\\", 2}, {deepRoot, 3}, {deepB, 4}, {deep, 5}};
    int previousListLeft = -1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.empty() ? L"desktop" : row.path);
        int at = PositionOf(row.path);
        ASSERT_GE(at, 0);
        ASSERT_EQ(combo->Entry(at)->Level, row.level);
        // Selected in the list too, so that both show the icon's open form.
        Drawn list = Draw(at, ODS_SELECTED);
        Drawn field = Draw(at, ODS_COMBOBOXEDIT);
        ASSERT_GE(list.left, 0) << "nothing was painted";
        ASSERT_GE(field.left, 0);
        // The same icon and text, moved: by ten pixels a level in the list, one pixel in the field.
        EXPECT_EQ(list.left - field.left, 10 * row.level - 1);
        // The three plain folders one below the other step right by ten pixels each.
        if (row.level > 3) {
            EXPECT_EQ(list.left - previousListLeft, 10);
        }
        previousListLeft = list.left;
    }
}

TEST_F(ComboViewTest, OnlyTheDroppedListHighlightsTheSelectedEntry)
{
    const int drive = PositionOf(L"C:\\");
    ASSERT_GE(drive, 0);
    struct Row {
        UINT state;
        int colour; // system colour the whole rectangle is filled with first
    };
    const Row rows[] = {
        {ODS_SELECTED, COLOR_HIGHLIGHT},
        {0, COLOR_WINDOW},
        {ODS_SELECTED | ODS_COMBOBOXEDIT, COLOR_WINDOW},
        {ODS_COMBOBOXEDIT, COLOR_WINDOW},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        EXPECT_EQ(Draw(drive, row.state).background, GetSysColor(row.colour));
    }
    // No entry (an empty box's field): the background alone.
    Drawn none = Draw(-1, ODS_COMBOBOXEDIT);
    EXPECT_EQ(none.background, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(none.left, -1);
}

TEST_F(ComboViewTest, EntriesFollowTheDpi)
{
    const int dpi = 2 * ui::SystemDpi(), before = combo->ItemHeight(0);
    combo->SetDpi(dpi);
    for (int entry : {0, -1}) // the dropped list's and the selection field's
        EXPECT_GE(combo->ItemHeight(entry), ui::ShellIconSide(SHIL_SMALL, dpi) + 2) << entry;
    const int drive = PositionOf(L"C:\\");
    ASSERT_GE(drive, 0);
    EXPECT_EQ(Draw(drive, ODS_SELECTED).left - Draw(drive, ODS_COMBOBOXEDIT).left, 2 * ui::Scale(10, dpi) - 1);
    // What the system tells a child window after its parent moved to the
    // DPI the box is on now (WM_DPICHANGED_AFTERPARENT).
    SendMessageW(combo->Handle(), 0x02E3, 0, 0);
    EXPECT_EQ(combo->ItemHeight(0), before);
}

} // namespace
} // namespace cvtest
