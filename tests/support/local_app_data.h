// The user's local application data (%LOCALAPPDATA%) pointed at a folder of
// the test's own while the object lives: cursor packs install below it.
#pragma once
#include "tests/support/wine_ui.h"

#include <windows.h>

#include <optional>
#include <string>

namespace testsupport {

class LocalAppData {
public:
    LocalAppData()
    {
        wchar_t saved[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH))
            saved_ = saved;
        SetEnvironmentVariableW(L"LOCALAPPDATA", folder_.Path().c_str());
    }
    ~LocalAppData() { SetEnvironmentVariableW(L"LOCALAPPDATA", saved_ ? saved_->c_str() : nullptr); }
    LocalAppData(const LocalAppData&) = delete;
    LocalAppData& operator=(const LocalAppData&) = delete;

    // A path below the folder.
    std::wstring operator/(std::wstring_view name) const { return folder_ / name; }
    // Where a pack's file lands once the scheme `scheme` is installed.
    std::wstring Installed(const std::wstring& scheme, const std::wstring& name) const
    {
        return folder_ / (L"Tarimoku\\Cursors\\" + scheme + L"\\" + name);
    }

private:
    TempDir folder_;
    std::optional<std::wstring> saved_;
};

} // namespace testsupport
