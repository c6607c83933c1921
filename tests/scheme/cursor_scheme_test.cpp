// Assigning cursor files to roles: what is written to the per-user scheme and
// which system calls are made. Wine's SetSystemCursor changes nothing, so the
// calls are watched through the applier seam.
#include "scheme/cursor_scheme.h"

#include "res/texts.h"
#include "scheme/error_box.h"
#include "scheme/mouse_registry.h"
#include "scheme/registry.h"
#include "scheme/text_utils.h"
#include "tests/scheme/read_only_key.h"
#include "tests/support/wine_ui.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using scheme::SetMouseCursor;

const std::wstring SchemeKey = L"Control Panel\\Cursors";

struct SetCall {
    HCURSOR cursor;
    DWORD id;
};

struct SpiCall {
    UINT action, param;
    void* data;
    UINT winIni;
};

struct ErrorCall {
    HWND owner;
    std::wstring text;
};

class CursorSchemeTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, SchemeKey.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, SchemeKey.c_str());
    }

    // Installs a recording applier for the given platform family. Loading is
    // the real thing, so a file Wine cannot read really fails.
    void UsePlatform(DWORD platformId)
    {
        scheme::CursorApplier a;
        a.platformId = [platformId] { return platformId; };
        a.loadCursor = [this](const std::wstring& path) {
            loads_.push_back(path);
            ui::UniqueCursor cursor = scheme::SystemCursorApplier().loadCursor(path);
            loaded_.push_back(cursor.get());
            return cursor;
        };
        a.setSystemCursor = [this](ui::UniqueCursor cursor, DWORD id) { sets_.push_back({cursor.get(), id}); };
        a.systemParametersInfo = [this](UINT action, UINT param, void* data, UINT winIni) {
            spis_.push_back({action, param, data, winIni});
            return FALSE; // as under Wine
        };
        applier_.emplace(std::move(a));
    }

    // The data of a scheme value as stored, or nothing.
    static std::optional<std::wstring> Stored(const wchar_t* valueName)
    {
        wchar_t buf[1024] = {};
        DWORD size = sizeof(buf), type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, SchemeKey.c_str(), valueName, RRF_RT_ANY, &type, buf, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        EXPECT_EQ(type, DWORD(REG_SZ));
        EXPECT_EQ(size % sizeof(wchar_t), 0u);
        EXPECT_EQ(buf[size / sizeof(wchar_t) - 1], L'\0') << "stored without its terminator";
        return std::wstring(buf);
    }

    static DWORD ValueCount()
    {
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, SchemeKey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return 0;
        DWORD values = 0;
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(k);
        return values;
    }

    // The caller hands the path over lower-cased.
    static std::wstring Corpus(const wchar_t* relative) { return ui::LowerCase(testsupport::CorpusFile(relative)); }

    void ExpectNothingHappened()
    {
        EXPECT_EQ(ValueCount(), 0u);
        EXPECT_TRUE(sets_.empty());
        EXPECT_TRUE(spis_.empty());
        EXPECT_TRUE(errors_.empty());
    }

    // The one call a 9x assignment makes: reload every cursor, tell everyone.
    void ExpectOneReload() const
    {
        ASSERT_EQ(spis_.size(), 1u);
        EXPECT_EQ(spis_[0].action, 87u); // SPI_SETCURSORS
        EXPECT_EQ(spis_[0].param, 0u);
        EXPECT_EQ(spis_[0].data, nullptr);
        EXPECT_EQ(spis_[0].winIni, 2u); // SPIF_SENDWININICHANGE
    }

    std::vector<std::wstring> loads_;
    std::vector<HCURSOR> loaded_;
    std::vector<SetCall> sets_;
    std::vector<SpiCall> spis_;
    std::vector<ErrorCall> errors_;
    scheme::ScopedErrorSink sink_{[this](HWND owner, const std::wstring& text) { errors_.push_back({owner, text}); }};
    std::optional<scheme::ScopedCursorApplier> applier_;
    testsupport::TempDir temp_;
};

TEST_F(CursorSchemeTest, NtWritesTheRoleAndReplacesItsCursor)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring wait = Corpus(L"reconstruct/wait.ani");
    SetMouseCursor(3, wait);

    EXPECT_EQ(Stored(L"Wait"), wait);
    EXPECT_EQ(ValueCount(), 1u);
    ASSERT_EQ(loads_.size(), 1u);
    EXPECT_EQ(loads_[0], wait);
    ASSERT_EQ(sets_.size(), 1u);
    EXPECT_NE(sets_[0].cursor, nullptr);
    EXPECT_EQ(sets_[0].cursor, loaded_[0]);
    EXPECT_EQ(sets_[0].id, 32514u);
    EXPECT_TRUE(spis_.empty());
    EXPECT_TRUE(errors_.empty());
}

TEST_F(CursorSchemeTest, NineXWritesTheRoleAndReloadsTheScheme)
{
    UsePlatform(VER_PLATFORM_WIN32_WINDOWS);
    const std::wstring wait = Corpus(L"reconstruct/wait.ani");
    SetMouseCursor(3, wait);

    EXPECT_EQ(Stored(L"Wait"), wait);
    EXPECT_TRUE(loads_.empty());
    EXPECT_TRUE(sets_.empty());
    ExpectOneReload();
    EXPECT_TRUE(errors_.empty());

    // Read back as bytes: the path and one zero byte.
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\", 0, KEY_READ, &k), ERROR_SUCCESS);
    char buf[1024];
    DWORD size = sizeof(buf), type = 0;
    EXPECT_EQ(RegQueryValueExA(k, "Wait", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_EQ(size, DWORD(wait.size() + 1));
}

TEST_F(CursorSchemeTest, EveryRoleUsesItsOwnValueAndCursorId)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    for (int role = 0; role < int(scheme::MouseRoleCount); ++role)
        SetMouseCursor(role, cur);

    ASSERT_EQ(sets_.size(), scheme::MouseRoleCount);
    for (std::size_t i = 0; i < scheme::MouseRoleCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Stored(scheme::MouseRegistry[i].ValueName), cur);
        EXPECT_EQ(sets_[i].cursor, loaded_[i]);
        EXPECT_NE(sets_[i].cursor, nullptr);
        EXPECT_EQ(sets_[i].id, DWORD(scheme::MouseRegistry[i].CursorId));
    }
    EXPECT_EQ(ValueCount(), scheme::MouseRoleCount);
    // Help and handwriting replace OCR_HELP and OCR_NWPEN.
    EXPECT_EQ(sets_[1].id, 32651u);
    EXPECT_EQ(sets_[6].id, 32631u);
}

TEST_F(CursorSchemeTest, MissingFileOrFolderIsIgnored)
{
    for (DWORD platform : {DWORD(VER_PLATFORM_WIN32_NT), DWORD(VER_PLATFORM_WIN32_WINDOWS)}) {
        SCOPED_TRACE(platform);
        UsePlatform(platform);
        SetMouseCursor(3, temp_ / L"missing.ani");
        SetMouseCursor(3, temp_.Folder(L"folder.ani"));
        SetMouseCursor(3, L"");
        SetMouseCursor(3, testsupport::CorpusDir());
        EXPECT_TRUE(loads_.empty());
        ExpectNothingHappened();
    }
}

TEST_F(CursorSchemeTest, SameAssignmentTwiceWritesAndAppliesTwice)
{
    for (DWORD platform : {DWORD(VER_PLATFORM_WIN32_NT), DWORD(VER_PLATFORM_WIN32_WINDOWS)}) {
        SCOPED_TRACE(platform);
        UsePlatform(platform);
        sets_.clear();
        spis_.clear();
        const std::wstring cur = Corpus(L"reconstruct/xy.cur");
        SetMouseCursor(12, cur);
        EXPECT_EQ(Stored(L"SizeAll"), cur);
        // Something else changes the value in between: the second call writes again.
        scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::CursorSchemeKey, L"SizeAll", L"c:\\other.cur");
        SetMouseCursor(12, cur);
        EXPECT_EQ(Stored(L"SizeAll"), cur);
        EXPECT_EQ(sets_.size() + spis_.size(), 2u);
        EXPECT_TRUE(errors_.empty());
    }
}

TEST_F(CursorSchemeTest, NtUnloadableFileIsReportedAndNotStored)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring text = temp_.File(L"readme.cur", "This is not a cursor.\r\n");
    HWND owner = testsupport::CreateHostWindow();
    SetMouseCursor(3, text, owner);
    DestroyWindow(owner);

    EXPECT_EQ(loads_.size(), 1u);
    EXPECT_EQ(ValueCount(), 0u);
    EXPECT_TRUE(sets_.empty());
    EXPECT_TRUE(spis_.empty());
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].owner, owner);
    EXPECT_EQ(errors_[0].text, scheme::FillPlaceholder(texts::CursorLoadFailed, text));
    EXPECT_NE(errors_[0].text.find(text), std::wstring::npos);
}

TEST_F(CursorSchemeTest, NineXStoresAnyExistingFileAndLetsTheSystemDecide)
{
    UsePlatform(VER_PLATFORM_WIN32_WINDOWS);
    const std::wstring text = temp_.File(L"readme.cur", "This is not a cursor.\r\n");
    SetMouseCursor(0, text);
    EXPECT_EQ(Stored(L"Arrow"), text);
    ExpectOneReload();
    EXPECT_TRUE(errors_.empty());
}

TEST_F(CursorSchemeTest, ReadOnlySchemeThrowsAndAppliesNothing)
{
    for (DWORD platform : {DWORD(VER_PLATFORM_WIN32_NT), DWORD(VER_PLATFORM_WIN32_WINDOWS)}) {
        SCOPED_TRACE(platform);
        UsePlatform(platform);
        {
            schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, SchemeKey);
            ASSERT_TRUE(readOnly.Applied());
            try {
                SetMouseCursor(3, Corpus(L"reconstruct/wait.ani"));
                ADD_FAILURE() << "no exception";
            } catch (const scheme::ERegistryError& e) {
                EXPECT_EQ(e.Message(), texts::RegCreateKeyFailed);
            }
        }
        ASSERT_TRUE(schemetest::Writable(HKEY_CURRENT_USER, SchemeKey));
        ExpectNothingHappened();
    }
}

TEST_F(CursorSchemeTest, RoleOutsideTheTableIsRefused)
{
    UsePlatform(VER_PLATFORM_WIN32_NT);
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    EXPECT_THROW(SetMouseCursor(14, cur), std::out_of_range);
    EXPECT_THROW(SetMouseCursor(-1, cur), std::out_of_range);
    EXPECT_TRUE(loads_.empty());
    ExpectNothingHappened();
}

TEST_F(CursorSchemeTest, SystemApplierOnWine)
{
    scheme::CursorApplier system = scheme::SystemCursorApplier();
    EXPECT_EQ(system.platformId(), DWORD(VER_PLATFORM_WIN32_NT));
    EXPECT_TRUE(system.loadCursor(Corpus(L"reconstruct/wait.ani")));
    EXPECT_TRUE(system.loadCursor(Corpus(L"reconstruct/xy.cur")));
    EXPECT_FALSE(system.loadCursor(temp_.File(L"text.cur", "text")));
    EXPECT_FALSE(system.loadCursor(temp_ / L"missing.cur"));

    // The real path end to end (Wine's SetSystemCursor changes nothing).
    const std::wstring cur = Corpus(L"reconstruct/xy.cur");
    SetMouseCursor(5, cur);
    EXPECT_EQ(Stored(L"IBeam"), cur);
    EXPECT_TRUE(errors_.empty());
}

} // namespace
