#include "scheme/cursor_scheme.h"

#include "scheme/mouse_registry.h"
#include "scheme/registry.h"
#include "ui/seams.h"

#include <stdexcept>
#include <utility>

namespace scheme {
namespace {

bool IsExistingFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CursorAssignment SetMouseCursor(int role, const std::wstring& fileName)
{
    if (role < 0 || static_cast<std::size_t>(role) >= MouseRegistry.size())
        throw std::out_of_range("SetMouseCursor: role out of range");
    if (!IsExistingFile(fileName))
        return CursorAssignment::NoSuchFile;
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
        SetRegistryVal(HKEY_CURRENT_USER, CursorSchemeKey, row.ValueName, fileName);
        applier.setSystemCursor(std::move(cursor), static_cast<DWORD>(row.CursorId));
    } else {
        // The 9x family reads the new file from the scheme itself.
        SetRegistryVal(HKEY_CURRENT_USER, CursorSchemeKey, row.ValueName, fileName);
        applier.systemParametersInfo(SPI_SETCURSORS, 0, nullptr, SPIF_SENDWININICHANGE);
    }
    return CursorAssignment::Applied;
}

} // namespace scheme
