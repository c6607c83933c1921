#include "tests/shview/fileview/fileview_fixture.h"

#include "tests/support/test_folder.h"

#include <windowsx.h>

namespace fvtest {

using testsupport::TestFolder;

void RecordingFileView::Execute(PCIDLIST_ABSOLUTE absolute)
{
    executed.push_back(idlist::IDListDisplayName(absolute, SHGDN_FORPARSING));
    if (onExecute)
        onExecute();
}

void FileViewTest::SetUp()
{
    host = testsupport::CreateHostWindow(L"file list");
    // A fill counted in items waits for a reader thread however loaded the
    // machine: a test's small folder is in when the fill returns.
    view.fillSliceItems = 1000;
    ASSERT_TRUE(view.Create(host));
    view.SetBounds(0, 0, 780, 560);
    testsupport::PumpUntilIdle();
}

void FileViewTest::TearDown()
{
    if (host)
        DestroyWindow(host);
    testsupport::PumpUntilIdle();
}

void FileViewTest::Show(const std::wstring& path)
{
    idlist::AbsoluteIDList id = idlist::IDListFromPath(path);
    ASSERT_TRUE(id) << "cannot parse " << testing::PrintToString(path);
    view.SetFolder(id.get());
    testsupport::PumpUntilIdle();
}

void FileViewTest::ShowThrough(PCIDLIST_ABSOLUTE id, IShellFolder* folder, HRESULT bindResult)
{
    auto desktop = TestFolder::Over(idlist::DesktopFolder());
    desktop->answerBinds = true;
    desktop->bindAnswer = ui::ComPtr<IShellFolder>::Share(folder);
    desktop->bindResult = bindResult;
    idlist::ScopedShellObjects scope(nullptr, desktop.get());
    view.SetFolder(id);
}

void FileViewTest::Rename(const std::wstring& caption, const std::wstring& typed)
{
    int i = Find(caption);
    ASSERT_GE(i, 0) << testing::PrintToString(caption);
    view.SetFocus();
    view.EditLabel(i);
    HWND edit = reinterpret_cast<HWND>(SendMessageW(view.Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(edit);
    SetWindowTextW(edit, typed.c_str());
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    testsupport::PumpUntilIdle();
}

int FileViewTest::Find(const std::wstring& caption) const
{
    for (int i = 0; i < view.Count(); ++i)
        if (view.ItemText(i) == caption)
            return i;
    return -1;
}

std::vector<std::wstring> FileViewTest::Captions() const
{
    std::vector<std::wstring> out;
    for (int i = 0; i < view.Count(); ++i)
        out.push_back(view.ItemText(i));
    return out;
}

void FileViewTest::SelectOnly(const std::vector<std::wstring>& captions)
{
    for (int i = 0; i < view.Count(); ++i)
        view.SetSelected(i, false);
    for (const auto& c : captions) {
        int i = Find(c);
        ASSERT_GE(i, 0) << testing::PrintToString(c);
        view.SetSelected(i, true);
    }
}

POINT FileViewTest::IconCentre(int index) const
{
    RECT r{};
    r.left = LVIR_ICON;
    SendMessageW(view.Handle(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void FileViewTest::Click(UINT down, UINT up, int index)
{
    POINT p = IconCentre(index);
    LPARAM lp = MAKELPARAM(p.x, p.y);
    WPARAM held = down == WM_RBUTTONDOWN || down == WM_RBUTTONDBLCLK ? MK_RBUTTON : MK_LBUTTON;
    PostMessageW(view.Handle(), down, held, lp);
    PostMessageW(view.Handle(), up, 0, lp);
    testsupport::PumpUntilIdle();
}

void MakeSizedFile(const std::wstring& path, ULONGLONG size)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(size);
    EXPECT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
}

void SetWriteTime(const std::wstring& path, WORD year, WORD month, WORD day)
{
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = 12;
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
}

} // namespace fvtest
