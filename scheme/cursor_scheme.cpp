#include "scheme/cursor_scheme.h"

#include "scheme/mouse_registry.h"
#include "scheme/named_schemes.h"
#include "scheme/registry.h"
#include "ui/handles.h"
#include "ui/seams.h"
#include "ui/text.h"

#include <cwchar>
#include <stdexcept>
#include <string>
#include <utility>

namespace scheme {
namespace {

void CheckRole(int role, const char* what)
{
    if (role < 0 || static_cast<std::size_t>(role) >= MouseRegistry.size())
        throw std::out_of_range(std::string(what) + ": role out of range");
}

// Stores `path` as the role's cursor. A role changed by hand is no longer
// what the named scheme in use says, so no scheme is named any more; writing
// what is already there changes nothing.
void StoreRole(const TrecMouseRegistry& row, const std::wstring& path)
{
    std::wstring before;
    bool named = false;
    if (HKEY opened = nullptr; RegOpenKeyExW(HKEY_CURRENT_USER, kCursorSchemeKey, 0, KEY_QUERY_VALUE, &opened) ==
                               ERROR_SUCCESS) {
        const ui::UniqueKey key(opened);
        before = ExpandCursorPath(ReadRegistryText(key.get(), row.ValueName).value_or(L""));
        DWORD source = 0, bytes = sizeof source;
        named = !ReadRegistryText(key.get(), nullptr).value_or(L"").empty() ||
                (RegGetValueW(key.get(), nullptr, kSchemeSourceValue, RRF_RT_REG_DWORD, nullptr, &source, &bytes) ==
                     ERROR_SUCCESS &&
                 source != 0);
    }
    SetRegistryVal(HKEY_CURRENT_USER, kCursorSchemeKey, row.ValueName, path);
    if (named &&
        CompareStringOrdinal(before.c_str(), int(before.size()), path.c_str(), int(path.size()), TRUE) != CSTR_EQUAL)
        ForgetCurrentScheme();
}

} // namespace

bool IsExistingFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CursorAssignment SetMouseCursor(int role, const std::wstring& fileName, const CursorFileCheck& readable)
{
    CheckRole(role, "SetMouseCursor");
    if (!IsExistingFile(fileName))
        return CursorAssignment::NoSuchFile;
    // The system's loader trusts what a file says of itself, and a file cut
    // short can bring it down with this process; on the 9x family it reads
    // the scheme's file at the reload below, and at every start of a session.
    if (!readable || !readable(fileName))
        return CursorAssignment::Unloadable;
    const TrecMouseRegistry& row = MouseRegistry[static_cast<std::size_t>(role)];
    // A copy: a seam replaced while the assignment runs does not pull the
    // function out from under it.
    const ui::Seams applier = ui::CurrentSeams();

    if (applier.platformId() == VER_PLATFORM_WIN32_NT) {
        // Load first: a file the system cannot read must not end up in the
        // scheme, where it would break the role at the next logon.
        ui::UniqueCursor cursor = applier.loadCursor(fileName);
        if (!cursor)
            return CursorAssignment::Unloadable;
        StoreRole(row, fileName);
        // A system that does not know the role's cursor (Pin and Person
        // before Windows 10) refuses it; reloading the whole scheme applies
        // what it knows and keeps the value for when it knows more.
        if (applier.setSystemCursor(std::move(cursor), static_cast<DWORD>(row.CursorId)))
            return CursorAssignment::Applied;
    } else {
        // The 9x family reads the new file from the scheme itself.
        StoreRole(row, fileName);
    }
    return applier.systemParametersInfo(SPI_SETCURSORS, 0, nullptr, SPIF_SENDWININICHANGE)
               ? CursorAssignment::Applied
               : CursorAssignment::StoredForNextSignIn;
}

void RestoreMouseCursor(int role)
{
    CheckRole(role, "RestoreMouseCursor");
    const ui::Seams applier = ui::CurrentSeams();
    // An empty value is the system's own cursor; the reload reads every role
    // from the scheme, this one included.
    StoreRole(MouseRegistry[static_cast<std::size_t>(role)], L"");
    applier.systemParametersInfo(SPI_SETCURSORS, 0, nullptr, SPIF_SENDWININICHANGE);
}

std::array<std::wstring, kMouseRoleCount> ReadMouseCursors()
{
    std::array<std::wstring, kMouseRoleCount> values;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kCursorSchemeKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return values;
    ui::UniqueKey key(opened);
    for (std::size_t i = 0; i < kMouseRoleCount; ++i)
        values[i] = ReadRegistryText(key.get(), MouseRegistry[i].ValueName).value_or(L"");
    return values;
}

std::wstring ExpandCursorPath(const std::wstring& value)
{
    if (value.find(L'%') == std::wstring::npos)
        return value;
    DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 4 && needed > 0; ++attempt) {
        std::wstring expanded(needed, L'\0');
        DWORD got = ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed);
        if (got == 0)
            break;
        if (got <= needed) {
            expanded.resize(ui::UpToNull(expanded).size());
            return expanded;
        }
        needed = got; // the environment changed in between
    }
    return value;
}

} // namespace scheme
