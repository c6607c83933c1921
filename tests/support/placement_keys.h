// Registry places for window placement tests: a key of its own under HKCU
// per object, removed with everything below it when the object goes.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

class TestRegistryKey {
public:
    TestRegistryKey()
    {
        static LONG counter = 0;
        path_ = L"SOFTWARE\\RUVANE\\TarimokuTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(InterlockedIncrement(&counter));
    }
    ~TestRegistryKey() { RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    const std::wstring& Path() const { return path_; }

    // Stores a string value under the key (creating it).
    bool Write(const std::wstring& name, const std::wstring& value) const
    {
        return Write(path_, name, value);
    }
    static bool Write(const std::wstring& path, const std::wstring& name, const std::wstring& value)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        LONG rc = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 DWORD((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }
    // The string value's text; empty when missing.
    std::wstring Read(const std::wstring& name) const { return Read(path_, name); }
    static std::wstring Read(const std::wstring& path, const std::wstring& name)
    {
        wchar_t buffer[512] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
            ERROR_SUCCESS)
            return {};
        return buffer;
    }

private:
    std::wstring path_;
};

} // namespace testsupport
