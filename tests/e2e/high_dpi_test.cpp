// The real program on a prefix that looks like a stock Windows 10 system at
// 150 % (144 DPI), started as a user starts it.
#include "tests/e2e/program_driver.h"
#include "tests/support/windows_profile.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The stored placement, moved aside for the object's life: the program
// opens at its design size.
class NoStoredPlacement {
public:
    static constexpr wchar_t kKey[] = L"SOFTWARE\\RUVANE\\Tarimoku";
    static constexpr wchar_t kName[] = L"frmPosi";
    NoStoredPlacement()
    {
        wchar_t text[256] = {};
        DWORD size = sizeof(text);
        if (RegGetValueW(HKEY_CURRENT_USER, kKey, kName, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS)
            saved_ = text;
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kName);
    }
    ~NoStoredPlacement()
    {
        if (saved_)
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kName, REG_SZ, saved_->c_str(),
                            DWORD((saved_->size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kName);
    }
    NoStoredPlacement(const NoStoredPlacement&) = delete;
    NoStoredPlacement& operator=(const NoStoredPlacement&) = delete;

private:
    std::optional<std::wstring> saved_;
};

TEST(ProgramAt144Dpi, OpensAtTheScaledSizeWithNothingCut)
{
    testsupport::WindowsProfile profile(144);
    NoStoredPlacement placement;
    e2e::CursorFolder folder;
    e2e::RunningProgram program(L"\"" + std::wstring(e2e::CursorFolder::kPath) + L"\"");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 737);
    EXPECT_EQ(r.bottom - r.top, 614);
    testsupport::ExpectControlsWhole(main, false);

    SetForegroundWindow(main);
    Sleep(700); // the animated cursors of the folder have loaded and moved on
    // The README shows this beside the 96-DPI pictures (scripts/readme-pictures.sh).
    const std::wstring artifacts = e2e::ArtifactsFolder();
    if (!artifacts.empty())
        e2e::SaveScreen(artifacts + L"\\main-window-144.bmp");
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace
