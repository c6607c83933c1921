// The registry string routines, against the real (Wine) registry.
#include "scheme/registry.h"

#include "res/texts.h"
#include "tests/scheme/read_only_key.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using scheme::GetRegistryVal;
using scheme::SetRegistryVal;

// A key of its own below HKCU\Software, removed afterwards.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        key_ = L"Software\\TarimokuTests\\registry-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++counter);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    // Raw data and type of a value, read through the W or the A function.
    bool ReadW(const std::wstring& name, DWORD& type, std::string& data) const
    {
        DWORD size = 4096;
        data.assign(size, '\0');
        LSTATUS s = RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                                 &type, data.data(), &size);
        data.resize(s == ERROR_SUCCESS ? size : 0);
        return s == ERROR_SUCCESS;
    }
    DWORD SizeThroughA(const char* name) const
    {
        HKEY k = nullptr;
        std::string narrowKey(key_.begin(), key_.end());
        if (RegOpenKeyExA(HKEY_CURRENT_USER, narrowKey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return 0;
        char buf[1024] = {};
        DWORD size = sizeof(buf), type = 0;
        LSTATUS s = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(k);
        return s == ERROR_SUCCESS && type == REG_SZ ? size : 0;
    }
    void WriteRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes) const
    {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        RegCloseKey(k);
    }

    std::wstring key_;
};

TEST_F(RegistryTest, WritesRegSzWithItsTerminator)
{
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Wait", L"c:\\cursors\\a.ani");
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadW(L"Wait", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data.size(), 17u * sizeof(wchar_t));
    EXPECT_EQ(data.substr(32), std::string(2, '\0'));
    // Through the byte functions: the text's 16 bytes and one zero byte.
    EXPECT_EQ(SizeThroughA("Wait"), 17u);
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Wait"), L"c:\\cursors\\a.ani");

    // Writing again replaces the value.
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Wait", L"c:\\b.cur");
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Wait"), L"c:\\b.cur");
    EXPECT_EQ(SizeThroughA("Wait"), 9u);
}

TEST_F(RegistryTest, EmptyTextIsOneTerminator)
{
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Empty", L"");
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadW(L"Empty", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, std::string(sizeof(wchar_t), '\0'));
    EXPECT_EQ(SizeThroughA("Empty"), 1u);
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Empty"), L"");
}

TEST_F(RegistryTest, JapaneseTextRoundTrips)
{
    // The placement and cursor paths may hold any folder name.
    const std::wstring path = L"c:\\カーソル\\ﾃｷｽﾄ表.cur";
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"IBeam", path);
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"IBeam"), path);
    if (GetACP() == 932) { // Shift-JIS: the double-byte characters count twice
        EXPECT_EQ(SizeThroughA("IBeam"), DWORD(WideCharToMultiByte(932, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr)));
    }
}

TEST_F(RegistryTest, ReadingMissingKeyOrValueGivesEmpty)
{
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"frmPosi"), L"");
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Other", L"x");
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"frmPosi"), L"");
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_ + L"\\missing", L"Other"), L"");
}

TEST_F(RegistryTest, ReadsAtMost256Characters)
{
    // Exactly 256 characters, stored without and with a terminator: whole.
    const std::wstring full(256, L'w');
    WriteRaw(L"Bare", REG_SZ, full.data(), 256 * sizeof(wchar_t));
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Bare"), full);
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Full", full);
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Full"), full);

    // Shorter data without a terminator ends where the data ends.
    WriteRaw(L"Short", REG_SZ, L"12,34", 5 * sizeof(wchar_t));
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Short"), L"12,34");

    // 257 characters or more, with or without a terminator: nothing.
    const std::wstring over(257, L'x');
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Long", over);
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Long"), L"");
    WriteRaw(L"LongBare", REG_SZ, over.data(), 257 * sizeof(wchar_t));
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"LongBare"), L"");
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Longer", std::wstring(1000, L'x'));
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Longer"), L"");
}

TEST_F(RegistryTest, SetValueFailureThrowsItsMessage)
{
    // A value name of 16,384 characters or more is refused by RegSetValueEx
    // after the key itself was created.
    const std::wstring tooLong(16384, L'n');
    try {
        SetRegistryVal(HKEY_CURRENT_USER, key_, tooLong, L"x");
        FAIL() << "no exception";
    } catch (const scheme::ERegistryError& e) {
        EXPECT_EQ(e.Message(), texts::RegSetValueFailed);
    }
    HKEY k = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    if (k)
        RegCloseKey(k);
}

TEST_F(RegistryTest, ReadOnlyKeyThrowsTheCreateMessage)
{
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"Before", L"1");
    {
        schemetest::ReadOnlyKey readOnly(HKEY_CURRENT_USER, key_);
        ASSERT_TRUE(readOnly.Applied());
        try {
            SetRegistryVal(HKEY_CURRENT_USER, key_, L"After", L"2");
            FAIL() << "no exception";
        } catch (const scheme::ERegistryError& e) {
            EXPECT_EQ(e.Message(), texts::RegCreateKeyFailed);
        }
        // Still readable.
        EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"Before"), L"1");
    }
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"After"), L"");
    ASSERT_TRUE(schemetest::Writable(HKEY_CURRENT_USER, key_));
    SetRegistryVal(HKEY_CURRENT_USER, key_, L"After", L"2");
    EXPECT_EQ(GetRegistryVal(HKEY_CURRENT_USER, key_, L"After"), L"2");
}

TEST_F(RegistryTest, CreateFailureThrowsItsMessage)
{
    // A root handle that was already closed cannot hold a key.
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()), ERROR_SUCCESS);
    try {
        SetRegistryVal(parent, L"child", L"v", L"x");
        FAIL() << "no exception";
    } catch (const scheme::ERegistryError& e) {
        EXPECT_EQ(e.Message(), texts::RegCreateKeyFailed);
    }
    // Reading through it is quietly empty.
    EXPECT_EQ(GetRegistryVal(parent, L"", L"v"), L"");
    RegCloseKey(parent);
}

} // namespace
