// The system's own drag loop with the drop source.
#include "tests/shell/shell_fixture.h"

#include "shell/DropSourceEx.h"

using namespace shelltest;

// The real drag loop: no button is held, so the source drops at once, over a
// window that takes no drops.
class RealDragTest : public ShellFixture {};

TEST_F(RealDragTest, TheDragEndsAtOnceWhenNoButtonIsHeld)
{
    TestDir dir;
    const std::wstring file = dir.File(L"drag.txt", "x");
    SetCursorPos(400, 300);
    HRESULT result = E_FAIL;
    int calls = 0;
    ui::ScopedSeam real(ui::CurrentSeams().doDragDrop,
                        [&](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
                            ++calls;
                            result = DoDragDrop(data, source, allowed, effect);
                            return result;
                        });
    TDropSourceEx source;
    source.DragFile(window, file);
    EXPECT_EQ(1, calls);
    // Dropped over a window that takes nothing: Wine may report either.
    EXPECT_TRUE(result == DRAGDROP_S_DROP || result == DRAGDROP_S_CANCEL) << std::hex << result;
    EXPECT_TRUE(testsupport::FileExists(file));
}
