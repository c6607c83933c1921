#include "tests/shview/comboview/combo_view_fixture.h"

#include <string>

namespace cvtest {

void ComboViewTest::SetUp()
{
    FolderViewTest::SetUp();
    if (HasFatalFailure())
        return;
    deepRoot = L"C:\\tkcombo-" + std::to_wstring(GetCurrentProcessId());
    deepB = deepRoot + L"\\b";
    deep = deepB + L"\\c";
    for (const std::wstring& folder : {deepRoot, deepB, deep})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    combo = std::make_unique<TComboView>();
    ASSERT_TRUE(combo->Create(host, 7));
    SetWindowPos(combo->Handle(), nullptr, 520, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    tree->SetComboView(combo.get());
    testsupport::PumpUntilIdle(20, 2000);
}

void ComboViewTest::TearDown()
{
    combo.reset();
    FolderViewTest::TearDown();
    if (!deepRoot.empty())
        testsupport::RemoveTree(deepRoot);
}

idlist::AbsoluteIDList ComboViewTest::IdOf(const std::wstring& path)
{
    return path.empty() ? idlist::IDListCombine(nullptr, nullptr) : idlist::IDListFromPath(path);
}

int ComboViewTest::PositionOfId(PCIDLIST_ABSOLUTE id) const
{
    if (!id)
        return -1;
    for (int i = 0; i < combo->Count(); ++i)
        if (const TComboData* entry = combo->Entry(i))
            if (idlist::IDListCompare(idlist::DesktopFolder(), entry->IDList.get(), id) == 0)
                return i;
    return -1;
}

bool ComboViewTest::ShowsId(PCIDLIST_ABSOLUTE id) const
{
    int current = combo->Current();
    return current >= 0 && current == PositionOfId(id);
}

bool ComboViewTest::TreeShowsId(PCIDLIST_ABSOLUTE id) const
{
    ui::TreeNode selected = tree->Selected();
    if (!id || !selected)
        return false;
    idlist::AbsoluteIDList shown = tree->NodeIDList(selected);
    return shown && idlist::IDListCompare(idlist::DesktopFolder(), shown.get(), id) == 0;
}

std::vector<int> ComboViewTest::Levels() const
{
    std::vector<int> levels;
    for (int i = 0; i < combo->Count(); ++i)
        levels.push_back(combo->Entry(i) ? combo->Entry(i)->Level : -1);
    return levels;
}

void ComboViewTest::Press(WORD key)
{
    SendMessageW(combo->Handle(), WM_KEYDOWN, key, 1);
    SendMessageW(combo->Handle(), WM_KEYUP, key, 0xC0000001);
    testsupport::PumpUntilIdle(10, 1000);
}

ComboViewTest::Drawn ComboViewTest::Draw(int index, UINT state)
{
    Drawn drawn;
    const int height = combo->ItemHeight(0);
    ui::WindowDC screen(nullptr);
    HDC dc = CreateCompatibleDC(screen.get());
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), kDrawWidth, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT rect{0, 0, kDrawWidth, height};
    // A colour the entry never paints, so a missing fill shows.
    HBRUSH off = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(dc, &rect, off);
    DeleteObject(off);

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = 7;
    item.itemID = UINT(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = combo->Handle();
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = ULONG_PTR(combo->Data(index));
    SendMessageW(host, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));

    drawn.background = GetPixel(dc, kDrawWidth - 1, height / 2);
    for (int x = 0; x < kDrawWidth && drawn.left < 0; ++x)
        for (int y = 0; y < height; ++y)
            if (GetPixel(dc, x, y) != drawn.background) {
                drawn.left = x;
                break;
            }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn;
}

} // namespace cvtest
