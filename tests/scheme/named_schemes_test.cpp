// Named cursor schemes in the real registry: saving, replacing, applying
// (the user's and the system's) and deleting, and what the keys hold after
// each. Wine never reloads cursors, so the reload is watched through the seams.
#include "scheme/named_schemes.h"

#include "scheme/registry.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using scheme::SchemeApply;
using scheme::SchemeSource;

const std::wstring kCursors = L"Control Panel\\Cursors";

struct Stored {
    DWORD type = REG_NONE;
    std::wstring text;
    bool operator==(const Stored&) const = default;
};

std::optional<Stored> Value(HKEY root, const std::wstring& key, const wchar_t* name)
{
    wchar_t buf[2048] = {};
    DWORD size = sizeof(buf), type = 0;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, buf, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, buf, sizeof number);
        return Stored{type, std::to_wstring(number)};
    }
    return Stored{type, buf};
}

class NamedSchemesTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kCursors.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, scheme::kSystemSchemesKey);
        SetEnvironmentVariableW(L"TK_CURSORS", testsupport::CorpusDir().c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, scheme::kSystemSchemesKey); }

    static void SetRoles(const scheme::SchemePaths& paths)
    {
        for (std::size_t role = 0; role < paths.size(); ++role)
            scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, scheme::MouseRegistry[role].ValueName,
                                   paths[role]);
    }
    static std::optional<Stored> Role(std::size_t role)
    {
        return Value(HKEY_CURRENT_USER, kCursors, scheme::MouseRegistry[role].ValueName);
    }
    static std::optional<Stored> UserScheme(const wchar_t* name)
    {
        return Value(HKEY_CURRENT_USER, scheme::kUserSchemesKey, name);
    }
    static void ExpectCurrent(const std::wstring& name, SchemeSource source)
    {
        EXPECT_EQ(Value(HKEY_CURRENT_USER, kCursors, nullptr), (Stored{REG_SZ, name}));
        EXPECT_EQ(Value(HKEY_CURRENT_USER, kCursors, scheme::kSchemeSourceValue),
                  (Stored{REG_DWORD, std::to_wstring(DWORD(source))}));
        const scheme::CurrentScheme current = scheme::ReadCurrentScheme();
        EXPECT_EQ(current.name, name);
        EXPECT_EQ(current.source, name.empty() ? SchemeSource::None : source);
    }
    static scheme::SchemeApplyResult Apply(const std::wstring& name, SchemeSource source)
    {
        return scheme::ApplyScheme(name, source, [](const std::wstring&) { return true; });
    }

    const std::wstring cur_ = ui::LowerCase(testsupport::CorpusFile(L"reconstruct/xy.cur"));
    const std::wstring ani_ = ui::LowerCase(testsupport::CorpusFile(L"reconstruct/wait.ani"));
    testsupport::CursorSeamRecorder rec_{VER_PLATFORM_WIN32_NT};
    testsupport::TempDir temp_;
};

// Save, replace, apply another and delete: the keys after each step.
TEST_F(NamedSchemesTest, SaveReplaceApplyAndDeleteAUserScheme)
{
    scheme::SchemePaths roles;
    roles[0] = cur_;
    roles[3] = ani_;
    roles[16] = cur_;
    SetRoles(roles);
    EXPECT_TRUE(scheme::SaveScheme(L"私の矢印", roles).empty());
    EXPECT_EQ(UserScheme(L"私の矢印"),
              (Stored{REG_EXPAND_SZ, cur_ + L",,," + ani_ + std::wstring(13, L',') + cur_}));
    ExpectCurrent(L"私の矢印", SchemeSource::User);

    // The same name again replaces it in place.
    roles[3].clear();
    EXPECT_TRUE(scheme::SaveScheme(L"私の矢印", roles).empty());
    EXPECT_EQ(UserScheme(L"私の矢印"), (Stored{REG_EXPAND_SZ, cur_ + std::wstring(16, L',') + cur_}));

    // Another scheme with an environment string, an empty entry and too few
    // entries: every role is written, the empty ones emptied.
    const std::wstring text = L"%TK_CURSORS%\\reconstruct\\wait.ani, ," + ani_;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"待ち", REG_EXPAND_SZ, text.c_str(),
                              DWORD((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_EQ(scheme::SchemeNames(SchemeSource::User), (std::vector<std::wstring>{L"待ち", L"私の矢印"}));
    const scheme::SchemeApplyResult result = Apply(L"待ち", SchemeSource::User);
    EXPECT_EQ(result.outcome, SchemeApply::Applied);
    EXPECT_TRUE(result.unloadable.empty());
    EXPECT_EQ(Role(0), (Stored{REG_EXPAND_SZ, L"%TK_CURSORS%\\reconstruct\\wait.ani"}));
    EXPECT_EQ(Role(1), (Stored{REG_SZ, L""}));
    EXPECT_EQ(Role(2), (Stored{REG_SZ, ani_}));
    for (std::size_t role = 3; role < scheme::kMouseRoleCount; ++role)
        EXPECT_EQ(Role(role), (Stored{REG_SZ, L""})) << role;
    ExpectCurrent(L"待ち", SchemeSource::User);
    ASSERT_EQ(rec_.spis.size(), 1u);
    EXPECT_EQ(rec_.spis[0].action, UINT(SPI_SETCURSORS));
    EXPECT_EQ(rec_.spis[0].winIni, UINT(SPIF_SENDWININICHANGE));
    EXPECT_TRUE(rec_.sets.empty());

    // Deleting the scheme in use names none; the roles stay.
    EXPECT_TRUE(scheme::DeleteScheme(L"待ち"));
    EXPECT_FALSE(UserScheme(L"待ち"));
    ExpectCurrent(L"", SchemeSource::None);
    EXPECT_EQ(Role(2), (Stored{REG_SZ, ani_}));
    EXPECT_FALSE(scheme::DeleteScheme(L"待ち"));
    // Another scheme's deletion leaves the name in use alone.
    EXPECT_TRUE(scheme::SaveScheme(L"A", roles).empty());
    EXPECT_TRUE(scheme::DeleteScheme(L"私の矢印"));
    ExpectCurrent(L"A", SchemeSource::User);
    EXPECT_EQ(scheme::SchemeNames(SchemeSource::User), std::vector<std::wstring>{L"A"});
}

// A system scheme under HKEY_LOCAL_MACHINE; the system not reloading is said.
TEST_F(NamedSchemesTest, SystemSchemeAppliesWithItsSource)
{
    const std::wstring text = cur_ + L"," + cur_;
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, scheme::kSystemSchemesKey, L"Windows 標準", REG_EXPAND_SZ,
                              text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_EQ(scheme::SchemeNames(SchemeSource::System), std::vector<std::wstring>{L"Windows 標準"});
    EXPECT_TRUE(scheme::SchemeNames(SchemeSource::User).empty());
    EXPECT_EQ(Apply(L"Windows 標準", SchemeSource::User).outcome, SchemeApply::NotFound);
    rec_.spiAnswer = FALSE;
    EXPECT_EQ(Apply(L"Windows 標準", SchemeSource::System).outcome, SchemeApply::StoredForNextSignIn);
    EXPECT_EQ(Role(1), (Stored{REG_SZ, cur_}));
    ExpectCurrent(L"Windows 標準", SchemeSource::System);
    EXPECT_FALSE(scheme::DeleteScheme(L"Windows 標準")); // not the user's
    EXPECT_EQ(rec_.loads.size(), 1u);                    // the same file is checked once
}

// One file that cannot be loaded, or that the reader refuses: nothing is
// written, and each such file is named once.
TEST_F(NamedSchemesTest, AnUnloadableFileWritesNothing)
{
    const std::wstring text = temp_.File(L"text.cur", "not a cursor");
    const std::wstring missing = temp_ / L"missing.ani";
    scheme::SchemePaths roles;
    roles[0] = L"c:\\before.cur";
    SetRoles(roles);
    scheme::SaveScheme(L"前", roles);
    const std::wstring schemeText = cur_ + L"," + text + L"," + missing + L"," + text + L",," + ani_;
    RegSetKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"壊れ", REG_SZ, schemeText.c_str(),
                    DWORD((schemeText.size() + 1) * sizeof(wchar_t)));
    scheme::SchemeApplyResult result = Apply(L"壊れ", SchemeSource::User);
    EXPECT_EQ(result.outcome, SchemeApply::Unloadable);
    EXPECT_EQ(result.unloadable, (std::vector<std::wstring>{text, missing}));
    // The reader's refusal counts as much as the system's.
    result = scheme::ApplyScheme(L"壊れ", SchemeSource::User, [&](const std::wstring& p) { return p != ani_; });
    EXPECT_EQ(result.unloadable, (std::vector<std::wstring>{text, missing, ani_}));
    EXPECT_EQ(Role(0), (Stored{REG_SZ, L"c:\\before.cur"}));
    EXPECT_EQ(Role(1), (Stored{REG_SZ, L""}));
    ExpectCurrent(L"前", SchemeSource::User);
    EXPECT_TRUE(rec_.spis.empty());

    // A path a scheme text cannot hold is not saved either.
    roles[2] = L"c:\\a,b.cur";
    EXPECT_EQ(scheme::SaveScheme(L"コンマ", roles), std::vector<std::wstring>{L"c:\\a,b.cur"});
    EXPECT_FALSE(UserScheme(L"コンマ"));
    ExpectCurrent(L"前", SchemeSource::User);
}

} // namespace
