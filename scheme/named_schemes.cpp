#include "scheme/named_schemes.h"

#include "res/texts.h"
#include "scheme/registry.h"
#include "ui/handles.h"
#include "ui/seams.h"

#include <algorithm>
#include <array>

namespace scheme {
namespace {

HKEY RootOf(SchemeSource source) noexcept
{
    return source == SchemeSource::System ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

const wchar_t* KeyOf(SchemeSource source) noexcept
{
    return source == SchemeSource::System ? kSystemSchemesKey : kUserSchemesKey;
}

ui::UniqueKey OpenKey(HKEY root, const wchar_t* subKey, REGSAM access)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, access, &opened) != ERROR_SUCCESS)
        return {};
    return ui::UniqueKey(opened);
}

ui::UniqueKey CreateKey(HKEY root, const wchar_t* subKey, REGSAM access)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        throw ERegistryError(texts::RegCreateKeyFailed);
    return ui::UniqueKey(opened);
}

bool SameName(const std::wstring& a, const std::wstring& b) noexcept
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// A role's value as the system's own settings store it: expandable where it
// holds an environment string.
DWORD TypeOf(const std::wstring& path) noexcept
{
    return path.find(L'%') == std::wstring::npos ? REG_SZ : REG_EXPAND_SZ;
}

void WriteName(HKEY key, const std::wstring& name, SchemeSource source)
{
    const DWORD number = static_cast<DWORD>(source);
    if (!WriteRegistryText(key, nullptr, name) ||
        RegSetValueExW(key, kSchemeSourceValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number) != ERROR_SUCCESS)
        throw ERegistryError(texts::RegSetValueFailed);
}

// Whether the system may be handed the file: it exists, the reader admits
// it and, on the NT family, the system loads it.
bool Loads(const std::wstring& path, const CursorFileCheck& readable, const ui::Seams& seams)
{
    if (!IsExistingFile(path) || !readable || !readable(path))
        return false;
    return seams.platformId() != VER_PLATFORM_WIN32_NT || static_cast<bool>(seams.loadCursor(path));
}

} // namespace

std::vector<std::wstring> SchemeNames(SchemeSource source)
{
    std::vector<std::wstring> names;
    if (source == SchemeSource::None)
        return names;
    const ui::UniqueKey key = OpenKey(RootOf(source), KeyOf(source), KEY_QUERY_VALUE);
    if (!key)
        return names;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::wstring name(longest + 1, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD length = DWORD(name.size());
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key.get(), i, name.data(), &length, nullptr, &type, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) { // a longer name came in between
            name.resize(name.size() * 2);
            --i;
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        // The unnamed value and values that are no text are no schemes.
        if (length > 0 && (type == REG_SZ || type == REG_EXPAND_SZ))
            names.emplace_back(name.data(), length);
    }
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

std::optional<SchemePaths> ReadNamedScheme(const std::wstring& name, SchemeSource source)
{
    if (source == SchemeSource::None || name.empty())
        return std::nullopt;
    const ui::UniqueKey key = OpenKey(RootOf(source), KeyOf(source), KEY_QUERY_VALUE);
    if (!key)
        return std::nullopt;
    const std::optional<std::wstring> text = ReadRegistryText(key.get(), name.c_str());
    if (!text)
        return std::nullopt;
    return ReadSchemeText(*text);
}

CurrentScheme ReadCurrentScheme()
{
    CurrentScheme current;
    const ui::UniqueKey key = OpenKey(HKEY_CURRENT_USER, kCursorSchemeKey, KEY_QUERY_VALUE);
    if (!key)
        return current;
    DWORD number = 0;
    DWORD bytes = sizeof number;
    if (RegGetValueW(key.get(), nullptr, kSchemeSourceValue, RRF_RT_REG_DWORD, nullptr, &number, &bytes) !=
            ERROR_SUCCESS ||
        (number != DWORD(SchemeSource::User) && number != DWORD(SchemeSource::System)))
        return current;
    current.name = ReadRegistryText(key.get(), nullptr).value_or(L"");
    current.source = current.name.empty() ? SchemeSource::None : static_cast<SchemeSource>(number);
    return current;
}

std::vector<std::wstring> SaveScheme(const std::wstring& name, const SchemePaths& paths)
{
    std::vector<std::wstring> unfit;
    for (const std::wstring& path : paths)
        if (!FitsSchemeText(path) && std::find(unfit.begin(), unfit.end(), path) == unfit.end())
            unfit.push_back(path);
    const std::optional<std::wstring> text = WriteSchemeText(paths);
    if (!text)
        return unfit;
    const ui::UniqueKey schemes = CreateKey(HKEY_CURRENT_USER, kUserSchemesKey, KEY_SET_VALUE);
    if (!WriteRegistryText(schemes.get(), name.c_str(), *text, REG_EXPAND_SZ))
        throw ERegistryError(texts::RegSetValueFailed);
    const ui::UniqueKey cursors = CreateKey(HKEY_CURRENT_USER, kCursorSchemeKey, KEY_SET_VALUE);
    WriteName(cursors.get(), name, SchemeSource::User);
    return {};
}

bool ForgetCurrentScheme() noexcept
{
    try {
        const ui::UniqueKey cursors = OpenKey(HKEY_CURRENT_USER, kCursorSchemeKey, KEY_SET_VALUE);
        if (!cursors)
            return false;
        WriteName(cursors.get(), L"", SchemeSource::None);
        return true;
    } catch (...) {
        return false;
    }
}

bool DeleteScheme(const std::wstring& name)
{
    if (name.empty())
        return false;
    const ui::UniqueKey schemes = OpenKey(HKEY_CURRENT_USER, kUserSchemesKey, KEY_SET_VALUE);
    if (!schemes || RegDeleteValueW(schemes.get(), name.c_str()) != ERROR_SUCCESS)
        return false;
    const CurrentScheme current = ReadCurrentScheme();
    // The scheme is gone either way; a stale name that cannot be cleared only
    // names nothing in the menu.
    if (current.source == SchemeSource::User && SameName(current.name, name))
        ForgetCurrentScheme();
    return true;
}

SchemeApplyResult ApplyScheme(const std::wstring& name, SchemeSource source, const CursorFileCheck& readable)
{
    SchemeApplyResult result;
    const std::optional<SchemePaths> paths = ReadNamedScheme(name, source);
    if (!paths)
        return result;
    // A copy: a seam replaced meanwhile does not pull a function from under us.
    const ui::Seams seams = ui::CurrentSeams();

    // Every file first, each once: a scheme that cannot be applied whole is
    // not applied.
    std::vector<std::wstring> checked;
    for (const std::wstring& path : *paths) {
        const std::wstring expanded = path.empty() ? path : ExpandCursorPath(path);
        if (expanded.empty() || std::find(checked.begin(), checked.end(), expanded) != checked.end())
            continue;
        checked.push_back(expanded);
        if (!Loads(expanded, readable, seams))
            result.unloadable.push_back(expanded);
    }
    if (!result.unloadable.empty()) {
        result.outcome = SchemeApply::Unloadable;
        return result;
    }

    const std::array<std::wstring, kMouseRoleCount> before = ReadMouseCursors();
    const ui::UniqueKey key = CreateKey(HKEY_CURRENT_USER, kCursorSchemeKey, KEY_SET_VALUE);
    for (std::size_t role = 0; role < kMouseRoleCount; ++role) {
        const std::wstring& path = (*paths)[role];
        if (!WriteRegistryText(key.get(), MouseRegistry[role].ValueName, path, TypeOf(path))) {
            for (std::size_t back = 0; back < role; ++back)
                WriteRegistryText(key.get(), MouseRegistry[back].ValueName, before[back], TypeOf(before[back]));
            throw ERegistryError(texts::RegSetValueFailed);
        }
    }
    WriteName(key.get(), name, source);
    result.outcome = seams.systemParametersInfo(SPI_SETCURSORS, 0, nullptr, SPIF_SENDWININICHANGE)
                         ? SchemeApply::Applied
                         : SchemeApply::StoredForNextSignIn;
    return result;
}

} // namespace scheme
