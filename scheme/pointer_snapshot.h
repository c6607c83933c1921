// The user's pointers as the registry holds them, read and written back
// whole: every role's value with its type, the scheme's name (the key's
// unnamed value) and "Scheme Source", each as stored or missing. What a
// change of the pointers is taken back to.
#pragma once
#include "scheme/mouse_registry.h"

#include <windows.h>
#include <array>
#include <optional>
#include <vector>

namespace scheme {

// One value as stored: its type and bytes.
struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

struct PointerSnapshot {
    std::array<std::optional<StoredValue>, kMouseRoleCount> roles; // nothing: no value
    std::optional<StoredValue> name;
    std::optional<StoredValue> source;
    bool operator==(const PointerSnapshot&) const = default;
};

// The pointers as stored now (all missing when the key is).
PointerSnapshot ReadPointerSnapshot();

// Stores `snapshot` as it was read (a value missing then is deleted) and has
// the system reload the user's cursors (SPI_SETCURSORS through the seams of
// ui/seams.h); false when the system did not reload them (the values are
// stored: in effect at the next sign-in). Throws ERegistryError when a value
// cannot be written; those written so far are put back first.
bool WritePointerSnapshot(const PointerSnapshot& snapshot);

} // namespace scheme
