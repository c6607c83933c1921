#include "tests/shview/folderview/folder_view_fixture.h"

#include <commctrl.h>

namespace fvtest {

bool SamePath(const std::wstring& x, const std::wstring& y)
{
    return CompareStringOrdinal(x.c_str(), int(x.size()), y.c_str(), int(y.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FolderViewTest::PathOf(std::wstring_view name) const { return temp / name; }

void FolderViewTest::SetUp()
{
    ASSERT_TRUE(idlist::ShellModule::Ready());
    a = PathOf(L"a");
    b = PathOf(L"a\\b");
    c = PathOf(L"a\\b\\c");
    empty = PathOf(L"empty");
    files = PathOf(L"files");
    temp.Folder(L"a\\b\\c");
    temp.Folder(L"empty");
    temp.Folder(L"files");
    temp.File(L"files\\note.txt", "x");
    host = testsupport::CreateHostWindow(L"folder tree");
    ASSERT_TRUE(host);
    tree = std::make_unique<TFolderView>();
    ASSERT_TRUE(tree->Create(host));
    tree->SetBounds(0, 0, 500, 580);
    testsupport::PumpUntilIdle(20, 2000);
}

void FolderViewTest::TearDown()
{
    tree.reset();
    if (host)
        DestroyWindow(host);
    testsupport::PumpUntilIdle(10, 500);
}

ui::TreeNode FolderViewTest::NodeOf(const std::wstring& path)
{
    idlist::AbsoluteIDList absolute = idlist::IDListFromPath(path);
    return absolute ? tree->FindNode(absolute.get()) : nullptr;
}

POINT FolderViewTest::PointOf(ui::TreeNode node)
{
    TreeView_EnsureVisible(TreeWindow(), node);
    RECT rc{};
    TreeView_GetItemRect(TreeWindow(), node, &rc, TRUE);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void FolderViewTest::RightClick(ui::TreeNode node)
{
    POINT p = PointOf(node);
    PostMessageW(TreeWindow(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(TreeWindow(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    testsupport::PumpUntilIdle(10, 500);
}

void FolderViewTest::LeftClick(ui::TreeNode node)
{
    POINT p = PointOf(node);
    PostMessageW(TreeWindow(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(TreeWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    testsupport::PumpUntilIdle(10, 500);
}

void FolderViewTest::ClickButton(ui::TreeNode node)
{
    POINT p = PointOf(node);
    TVHITTESTINFO hit{};
    hit.pt = p;
    // The button lies left of the icon, somewhere along the node's row.
    for (hit.pt.x = 0; hit.pt.x < p.x; ++hit.pt.x)
        if (TreeView_HitTest(TreeWindow(), &hit) == node && (hit.flags & TVHT_ONITEMBUTTON))
            break;
    ASSERT_LT(hit.pt.x, p.x) << "the node shows no button";
    PostMessageW(TreeWindow(), WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageW(TreeWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    testsupport::PumpUntilIdle(10, 500);
}

void FolderViewTest::LeftDrag(ui::TreeNode node)
{
    POINT p = PointOf(node);
    PostMessageW(TreeWindow(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x + 40, p.y + 40));
    SendMessageW(TreeWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    testsupport::PumpUntilIdle(10, 500);
}

bool FolderViewTest::EditAndConfirm(ui::TreeNode node, const std::wstring& text)
{
    tree->SetFocus();
    HWND edit = TreeView_EditLabel(TreeWindow(), node);
    if (!edit)
        return false;
    SetWindowTextW(edit, text.c_str());
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    testsupport::PumpUntilIdle(10, 500);
    return true;
}

std::vector<std::wstring> FolderViewTest::ChildTexts(ui::TreeNode node) const
{
    std::vector<std::wstring> texts;
    for (ui::TreeNode child = tree->FirstChild(node); child; child = tree->NextSibling(child))
        texts.push_back(tree->Text(child));
    return texts;
}

} // namespace fvtest
