#include "scheme/pointer_snapshot.h"

#include "res/texts.h"
#include "scheme/named_schemes.h"
#include "scheme/registry.h"
#include "ui/handles.h"
#include "ui/seams.h"

namespace scheme {
namespace {

std::optional<StoredValue> ReadValue(HKEY key, const wchar_t* name)
{
    for (;;) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        StoredValue value{type, std::vector<BYTE>(size)};
        const LONG read = RegQueryValueExW(key, name, nullptr, &type, value.bytes.data(), &size);
        if (read == ERROR_MORE_DATA)
            continue; // it grew meanwhile
        if (read != ERROR_SUCCESS)
            return std::nullopt;
        value.type = type;
        value.bytes.resize(size);
        return value;
    }
}

bool WriteValue(HKEY key, const wchar_t* name, const std::optional<StoredValue>& value)
{
    if (!value) {
        const LONG deleted = RegDeleteValueW(key, name);
        return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
    }
    return RegSetValueExW(key, name, 0, value->type, value->bytes.data(), static_cast<DWORD>(value->bytes.size())) ==
           ERROR_SUCCESS;
}

// The snapshot's values by name, the roles first.
template <typename Snapshot, typename Visit>
bool ForEachValue(Snapshot& snapshot, Visit visit)
{
    for (std::size_t role = 0; role < kMouseRoleCount; ++role)
        if (!visit(MouseRegistry[role].ValueName, snapshot.roles[role]))
            return false;
    return visit(nullptr, snapshot.name) && visit(kSchemeSourceValue, snapshot.source);
}

} // namespace

PointerSnapshot ReadPointerSnapshot()
{
    PointerSnapshot snapshot;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kCursorSchemeKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return snapshot;
    const ui::UniqueKey key(opened);
    ForEachValue(snapshot, [&](const wchar_t* name, std::optional<StoredValue>& value) {
        value = ReadValue(key.get(), name);
        return true;
    });
    return snapshot;
}

bool WritePointerSnapshot(const PointerSnapshot& snapshot)
{
    const PointerSnapshot before = ReadPointerSnapshot();
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kCursorSchemeKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        throw ERegistryError(texts::RegCreateKeyFailed);
    const ui::UniqueKey key(opened);
    const bool written = ForEachValue(snapshot, [&](const wchar_t* name, const std::optional<StoredValue>& value) {
        return WriteValue(key.get(), name, value);
    });
    if (!written) {
        ForEachValue(before, [&](const wchar_t* name, const std::optional<StoredValue>& value) {
            WriteValue(key.get(), name, value);
            return true;
        });
        throw ERegistryError(texts::RegSetValueFailed);
    }
    const ui::Seams seams = ui::CurrentSeams();
    return seams.systemParametersInfo && seams.systemParametersInfo(SPI_SETCURSORS, 0, nullptr, SPIF_SENDWININICHANGE);
}

} // namespace scheme
