#include "tests/support/hidden_extensions.h"

namespace testsupport {
namespace {
constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr wchar_t kValue[] = L"HideFileExt";
} // namespace

ScopedHiddenExtensions::ScopedHiddenExtensions(bool hide)
{
    DWORD size = sizeof old_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, kAdvanced, kValue, RRF_RT_REG_DWORD, nullptr, &old_, &size) ==
           ERROR_SUCCESS;
    DWORD value = hide ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kAdvanced, kValue, REG_DWORD, &value, sizeof value);
}

ScopedHiddenExtensions::~ScopedHiddenExtensions()
{
    if (had_)
        RegSetKeyValueW(HKEY_CURRENT_USER, kAdvanced, kValue, REG_DWORD, &old_, sizeof old_);
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kAdvanced, kValue);
}

} // namespace testsupport
