// What a program leaves behind in the user's registry and folders, taken
// before and after to compare.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <optional>
#include <set>
#include <string>

namespace testsupport {

// One registry key: whether it is there, its values (type and bytes) and the
// names of its subkeys.
struct KeySnapshot {
    struct Value {
        DWORD type = REG_NONE;
        std::string bytes;
        bool operator==(const Value&) const = default;
    };
    bool exists = false;
    std::map<std::wstring, Value> values;
    std::set<std::wstring> subkeys;
    bool operator==(const KeySnapshot&) const = default;
};
KeySnapshot SnapshotKey(HKEY root, const std::wstring& path);
// Values written by tests.
bool WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& path, const std::wstring& name);

// Names in a folder (files and folders, not "." and ".."); empty when it is
// not there.
std::set<std::wstring> ListFolder(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// A known folder's path (FOLDERID_Programs, FOLDERID_LocalAppData, ...).
std::wstring KnownFolder(REFKNOWNFOLDERID id);
// The file a shell link points at; empty when it is no readable link.
std::wstring ShortcutTarget(const std::wstring& linkPath);

} // namespace testsupport
