// Taking back changes of the pointers on the real registry: after a role
// chosen or given back, a scheme applied and a pack installed, every value
// (with its type), the scheme's name and its source are as they were, and
// several steps go back in turn. Wine never reloads cursors: the seams watch.
#include "app/cursors/pointer_history.h"

#include "anicur/cursor_file.h"
#include "scheme/cursor_pack_install.h"
#include "scheme/named_schemes.h"
#include "scheme/pack_export.h"
#include "scheme/registry.h"
#include "tests/support/local_app_data.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <functional>

using testsupport::CorpusFile;

namespace {

constexpr wchar_t kPackName[] = L"Tarimoku Undo Pack";
constexpr wchar_t kSchemeName[] = L"Tarimoku Undo Scheme";

class PointerUndo : public testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"TK_CURSORS", testsupport::CorpusDir().c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Control Panel\\Cursors");
        // A start no change makes by itself: an expandable role, a role
        // missing, a text source and no name at all.
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        scheme::WriteRegistryText(key, L"Arrow", L"%TK_CURSORS%\\capitaine\\master\\normal-select.cur", REG_EXPAND_SZ);
        scheme::WriteRegistryText(key, L"Help", CorpusFile(L"capitaine/master/help-select.cur"));
        scheme::WriteRegistryText(key, L"Hand", L"");
        scheme::WriteRegistryText(key, scheme::kSchemeSourceValue, L"7");
        RegCloseKey(key);
        scheme::PointerSet set;
        set[0] = CorpusFile(L"capitaine/master/link-select.cur");
        set[3] = CorpusFile(L"capitaine/master/working-in-background.ani");
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kUserSchemesKey, kSchemeName, *scheme::WriteSchemeText(set));
        const auto exported = scheme::ExportCursorPack(out_.Path(), kPackName, set);
        ASSERT_EQ(exported.problem, scheme::PackProblem::None);
        inf_ = exported.infPath;
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Control Panel\\Cursors"); }

    std::wstring inf_;
    testsupport::CursorSeamRecorder seams_{VER_PLATFORM_WIN32_NT};
    testsupport::LocalAppData local_;
    testsupport::TempDir out_;
};

// Every change the program makes, in the order the steps take them.
const struct {
    const char* what;
    std::function<void(const std::wstring& inf)> change;
} kChanges[] = {
    {"a role chosen",
     [](const std::wstring&) {
         scheme::SetMouseCursor(3, CorpusFile(L"capitaine/master/busy.ani"), anicur::IsWholeCursorFile);
     }},
    {"a scheme applied",
     [](const std::wstring&) {
         scheme::ApplyScheme(kSchemeName, scheme::SchemeSource::User, anicur::IsWholeCursorFile);
     }},
    {"a role given back", [](const std::wstring&) { scheme::RestoreMouseCursor(0); }},
    {"a pack installed",
     [](const std::wstring& inf) {
         scheme::InstallCursorPack(
             inf, anicur::IsWholeCursorFile, [](const std::wstring&) { return true; },
             [](const std::wstring& name, const std::wstring&) {
                 return scheme::ApplyScheme(name, scheme::SchemeSource::User, anicur::IsWholeCursorFile).outcome ==
                        scheme::SchemeApply::Applied;
             });
     }},
};

// Each change, and a change refused before anything is written (no step of
// its own), then every step back in turn: each brings the pointers back
// exactly and reloads them once, down to the start's own values.
TEST_F(PointerUndo, StepsTakeEachChangeBackExactlyInTurn)
{
    PointerHistory history;
    std::vector<scheme::PointerSnapshot> states;
    for (const auto& row : kChanges) {
        SCOPED_TRACE(row.what);
        states.push_back(scheme::ReadPointerSnapshot());
        history.Remember();
        row.change(inf_);
        ASSERT_NE(scheme::ReadPointerSnapshot(), states.back()) << "the change changed nothing";
        history.Remember();
        scheme::SetMouseCursor(5, out_ / L"gone.cur", [](const std::wstring&) { return true; });
    }
    for (auto state = states.rbegin(); state != states.rend(); ++state) {
        seams_.spis.clear();
        EXPECT_EQ(history.Undo(), PointerHistory::Undone::Applied);
        EXPECT_EQ(scheme::ReadPointerSnapshot(), *state);
        EXPECT_EQ(seams_.spis.size(), 1u);
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(), PointerHistory::Undone::Nothing);
    // The start's own values, read without the snapshot: the type kept, the
    // missing role and name still missing.
    const auto type = [](const wchar_t* name) {
        DWORD found = REG_NONE;
        return RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", name, RRF_RT_ANY | RRF_NOEXPAND, &found,
                            nullptr, nullptr) == ERROR_SUCCESS
                   ? found
                   : DWORD(REG_NONE);
    };
    EXPECT_EQ(type(L"Arrow"), DWORD(REG_EXPAND_SZ));
    EXPECT_EQ(type(L"Wait"), DWORD(REG_NONE));
    EXPECT_EQ(type(nullptr), DWORD(REG_NONE));
}

} // namespace
