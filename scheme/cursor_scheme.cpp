#include "scheme/cursor_scheme.h"

#include "res/texts.h"
#include "scheme/error_box.h"
#include "scheme/mouse_registry.h"
#include "scheme/registry.h"
#include "scheme/text_utils.h"

#include <stdexcept>
#include <utility>

namespace scheme {
namespace {

DWORD ReadPlatformId()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info))
        return VER_PLATFORM_WIN32_NT;
    return info.dwPlatformId;
}

CursorApplier& Current()
{
    static CursorApplier applier = SystemCursorApplier();
    return applier;
}

bool IsExistingFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

CursorApplier SystemCursorApplier()
{
    CursorApplier a;
    a.platformId = [] {
        static const DWORD id = ReadPlatformId();
        return id;
    };
    a.loadCursor = [](const std::wstring& path) { return ui::UniqueCursor(LoadCursorFromFileW(path.c_str())); };
    a.setSystemCursor = [](ui::UniqueCursor cursor, DWORD id) {
        // On success the system owns (and later destroys) the cursor.
        if (SetSystemCursor(cursor.get(), id))
            (void)cursor.release();
    };
    a.systemParametersInfo = [](UINT action, UINT param, void* data, UINT winIni) {
        return SystemParametersInfoW(action, param, data, winIni);
    };
    return a;
}

CursorApplier SetCursorApplier(CursorApplier applier) { return std::exchange(Current(), std::move(applier)); }

void SetMouseCursor(int role, const std::wstring& fileName, HWND owner)
{
    if (role < 0 || static_cast<std::size_t>(role) >= MouseRegistry.size())
        throw std::out_of_range("SetMouseCursor: role out of range");
    if (!IsExistingFile(fileName))
        return;
    const TrecMouseRegistry& row = MouseRegistry[static_cast<std::size_t>(role)];
    const CursorApplier applier = Current();

    if (applier.platformId() == VER_PLATFORM_WIN32_NT) {
        // Load first: a file the system cannot read must not end up in the
        // scheme, where it would break the role at the next logon.
        ui::UniqueCursor cursor = applier.loadCursor(fileName);
        if (!cursor) {
            ShowError(owner, FillPlaceholder(texts::CursorLoadFailed, fileName));
            return;
        }
        SetRegistryVal(HKEY_CURRENT_USER, CursorSchemeKey, row.ValueName, fileName);
        applier.setSystemCursor(std::move(cursor), static_cast<DWORD>(row.CursorId));
    } else {
        // The 9x family reads the new file from the scheme itself.
        SetRegistryVal(HKEY_CURRENT_USER, CursorSchemeKey, row.ValueName, fileName);
        applier.systemParametersInfo(SPI_SETCURSORS, 0, nullptr, SPIF_SENDWININICHANGE);
    }
}

} // namespace scheme
