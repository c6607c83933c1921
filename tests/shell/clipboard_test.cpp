// Copy through the shell: the selection lands on the clipboard as a file drop.
#include "tests/shell/shell_fixture.h"

#include <shellapi.h>

#include "shell/ContextMenuEx.h"
#include "ui/handles.h"

using namespace shelltest;

namespace {

std::vector<std::wstring> ClipboardFiles(HWND window)
{
    std::vector<std::wstring> out;
    if (!OpenClipboard(window))
        return out;
    if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = {};
            DragQueryFileW(drop, i, name, MAX_PATH);
            out.emplace_back(name);
        }
    }
    CloseClipboard();
    return out;
}

void EmptyTheClipboard(HWND window)
{
    if (OpenClipboard(window)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

class ClipboardTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        Report(menu);
        EmptyTheClipboard(window);
    }
    TestDir dir;
    TContextMenuEx menu;
};

} // namespace

TEST_F(ClipboardTest, CopyPutsTheFileOnTheClipboard)
{
    const std::wstring file = dir.File(L"copied.txt", "x");
    EXPECT_TRUE(menu.InvokePathCommand(window, file, icCopy));
    testsupport::PumpUntilIdle();
    EXPECT_EQ((std::vector<std::wstring>{file}), ClipboardFiles(window));
    EXPECT_TRUE(failures.empty());
}

TEST_F(ClipboardTest, ChoosingCopyFromTheMenuCopiesTheWholeSelection)
{
    const std::wstring a = dir.File(L"a.txt", "a");
    const std::wstring b = dir.File(L"b.txt", "b");
    idlist::AbsoluteIDList absolute = idlist::IDListFromPath(a);
    ui::ComPtr<IShellFolder> folder;
    idlist::ChildIDList first;
    ASSERT_TRUE(idlist::IDListBindParent(absolute.get(), folder, first));
    idlist::ChildIDList second = idlist::IDListLast(idlist::IDListFromPath(b).get());
    idlist::RelativeIDList packed = idlist::IDListCombineRelative(first.get(), second.get());

    ChooseFromMenu(TContextMenuEx::kCopyId);
    EXPECT_TRUE(menu.ShowItemMenu(window, folder.get(), POINT{50, 50}, 2, packed.get()));
    testsupport::PumpUntilIdle();
    EXPECT_EQ(1, menusShown);
    EXPECT_EQ((std::vector<std::wstring>{a, b}), ClipboardFiles(window));
}
