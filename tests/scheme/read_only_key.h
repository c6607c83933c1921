// Makes a registry key read-only for everyone while the object lives, and
// puts its own access list back afterwards.
#pragma once
#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace schemetest {

class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::wstring& path)
    {
        // The handle keeps the right to change the access list back.
        if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | WRITE_DAC | READ_CONTROL, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size ? size : 1);
        if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS)
            return;
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                  nullptr))
            return;
        applied_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    ~ReadOnlyKey()
    {
        if (applied_)
            RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
        if (key_)
            RegCloseKey(key_);
    }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    bool Applied() const { return applied_; }

private:
    HKEY key_ = nullptr;
    std::vector<BYTE> saved_;
    bool applied_ = false;
};

// Whether the key can be opened for writing right now.
inline bool Writable(HKEY root, const std::wstring& path)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_WRITE, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

} // namespace schemetest
