// The real program keeps its placement under HKCU across runs, and ends
// cleanly when it cannot.
#include "res/resource.h"
#include "tests/e2e/program_driver.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/placement_keys.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using testsupport::TestRegistryKey;

constexpr wchar_t kKey[] = L"SOFTWARE\\RUVANE\\Tarimoku";
constexpr wchar_t kName[] = L"frmPosi";
constexpr wchar_t kMaximizedName[] = L"frmPosiMaximized";

// Presses OK on every message box of another process while it lives, and
// keeps their texts.
class ProcessBoxes {
public:
    explicit ProcessBoxes(DWORD pid)
        : thread_([this, pid] {
              HWND last = nullptr;
              while (!stop_) {
                  HWND box = testsupport::FindVisibleWindow(pid, L"#32770");
                  if (box && box != last) {
                      last = box;
                      std::wstring text;
                      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                          if (e2e::ClassOf(c) == L"Static")
                              text += e2e::WindowText(c);
                      {
                          std::lock_guard<std::mutex> hold(lock_);
                          texts_.push_back(text);
                      }
                      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                  }
                  Sleep(20);
              }
          })
    {
    }
    ~ProcessBoxes()
    {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::wstring> Texts()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return texts_;
    }

private:
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

// Puts the program's stored placement (the bounds and whether it was
// maximised) back as it was before the test.
class SavedPlacement {
public:
    SavedPlacement()
    {
        for (const wchar_t* name : {kName, kMaximizedName})
            before_.emplace_back(name, TestRegistryKey::Read(kKey, name));
    }
    ~SavedPlacement()
    {
        for (const auto& [name, text] : before_) {
            if (text.empty()) {
                HKEY key = nullptr;
                if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                    RegDeleteValueW(key, name.c_str());
                    RegCloseKey(key);
                }
            } else {
                TestRegistryKey::Write(kKey, name, text);
            }
        }
    }

private:
    std::vector<std::pair<std::wstring, std::wstring>> before_;
};

TEST(ProgramPlacement, OpensAtTheStoredBoundsAndWritesThemBackOnExit)
{
    SavedPlacement saved;
    ASSERT_TRUE(TestRegistryKey::Write(kKey, kName, L"10,20,300,200"));
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    SetWindowPos(main, nullptr, 40, 50, 360, 280, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(program.CloseAndWait(), 0u);
    EXPECT_EQ(TestRegistryKey::Read(kKey, kName), L"40,50,360,280");
}

TEST(ProgramPlacement, ClosedMaximisedItReopensMaximisedAndKeepsItsNormalBounds)
{
    SavedPlacement saved;
    ASSERT_TRUE(TestRegistryKey::Write(kKey, kName, L"10,20,300,200"));
    ASSERT_TRUE(TestRegistryKey::Write(kKey, kMaximizedName, L"1"));
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsZoomed(main));
    EXPECT_EQ(program.CloseAndWait(), 0u);
    // The normal bounds, not the maximised ones that cover the screen.
    EXPECT_EQ(TestRegistryKey::Read(kKey, kName), L"10,20,300,200");
    EXPECT_EQ(TestRegistryKey::Read(kKey, kMaximizedName), L"1");
}

TEST(ProgramPlacement, AReadOnlyKeyAtExitIsToldOnceAndTheProgramEndsWithZero)
{
    SavedPlacement saved;
    ASSERT_TRUE(TestRegistryKey::Write(kKey, kName, L"10,20,300,200"));
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    DWORD code = 0;
    std::vector<std::wstring> texts;
    {
        schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, kKey);
        if (!readOnly.Applied())
            GTEST_SKIP() << "the key could not be made read-only";
        ProcessBoxes boxes(program.ProcessId());
        code = program.CloseAndWait();
        texts = boxes.Texts();
    }
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(texts, std::vector<std::wstring>{L"ウィンドウの位置を保存できませんでした。"});
    EXPECT_EQ(TestRegistryKey::Read(kKey, kName), L"10,20,300,200");
}

TEST(ProgramDialogs, TheAboutBoxShowsTheBuildOfTheProgramFile)
{
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
    HWND box = nullptr;
    for (int i = 0; i < 300 && !box; ++i) {
        box = testsupport::FindVisibleWindow(program.ProcessId(), L"#32770");
        if (!box)
            Sleep(20);
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(e2e::WindowText(box), L"バージョン情報");
    EXPECT_EQ(e2e::WindowText(GetDlgItem(box, IDC_ABOUT_LBLVERSION)),
              L"Version 1.11 (" + std::to_wstring(TARIMOKU_VERSION_BUILD) + L")");
    wchar_t artifacts[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TK_ARTIFACTS", artifacts, MAX_PATH)) {
        Sleep(300);
        e2e::SaveScreen(std::wstring(artifacts) + L"\\about-box.bmp");
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (int i = 0; i < 300 && IsWindow(box); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

} // namespace
