// A host window, the shell module, and recorders put in place of the menu
// tracker and the message box, and of the window that is told of a refused
// command.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/ContextMenuEx.h"
#include "ui/seams.h"
#include "idlist/idlist.h"
#include "tests/support/menu_items.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"

namespace shelltest {

// A TempDir whose paths are absolute: the shell parses no relative path, and
// TempDir may hand out one.
class TestDir {
public:
    std::wstring Path() const { return Full(dir_.Path()); }
    std::wstring operator/(std::wstring_view name) const { return Full(dir_ / name); }
    std::wstring File(std::wstring_view name, std::string_view bytes = {}) const { return Full(dir_.File(name, bytes)); }
    std::wstring Folder(std::wstring_view name) const { return Full(dir_.Folder(name)); }

private:
    static std::wstring Full(const std::wstring& path)
    {
        wchar_t full[MAX_PATH] = {};
        DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
        return n > 0 && n < MAX_PATH ? std::wstring(full) : path;
    }
    testsupport::TempDir dir_;
};

class ShellFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(idlist::ShellModule::Ready());
        window = testsupport::CreateHostWindow();
        ASSERT_TRUE(window);
    }
    void TearDown() override
    {
        // The shell components report what happened; they open no box.
        EXPECT_TRUE(boxes_.boxes.empty());
        if (window)
            DestroyWindow(window);
        testsupport::PumpUntilIdle(10, 500);
    }

    // Notes each command of `menu` that the shell refuses in `failures`.
    void Report(TContextMenuEx& menu)
    {
        menu.OnCommandFailed = [this](TContextMenuEx*, HWND asking) { failures.push_back(asking); };
    }

    // Answers `id` instead of showing the menu, remembering what it was shown.
    void ChooseFromMenu(UINT id)
    {
        tracker_.emplace(ui::CurrentSeams().trackMenu, [this, id](HMENU menu, UINT flags, POINT at, HWND owner) {
            ++menusShown;
            trackFlags = flags;
            trackPoint = at;
            trackOwner = owner;
            shownCaptions = Captions(menu);
            return id;
        });
    }

    static std::vector<std::wstring> Captions(HMENU menu) { return testsupport::MenuTexts(menu); }

    idlist::ShellModule module;
    HWND window = nullptr;
    int menusShown = 0;
    UINT trackFlags = 0;
    POINT trackPoint{};
    HWND trackOwner = nullptr;
    std::vector<std::wstring> shownCaptions;
    std::vector<HWND> failures; // the window that asked, for each refused command

private:
    std::optional<ui::ScopedSeam<ui::TrackMenuFn>> tracker_;
    testsupport::BoxRecorder boxes_;
};

} // namespace shelltest
