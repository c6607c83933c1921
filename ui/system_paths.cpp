#include "ui/system_paths.h"

#include <windows.h>

namespace ui {

std::wstring SystemFolder()
{
    // The answer counts the terminator when the buffer is too small, and does
    // not when it fits; a folder that grows between the calls asks again.
    std::wstring path(MAX_PATH, L'\0');
    for (int tries = 0; tries < 3; ++tries) {
        UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            while (!path.empty() && path.back() == L'\\')
                path.pop_back();
            return path;
        }
        path.assign(length, L'\0');
    }
    return {};
}

std::wstring CurrentFolder()
{
    // Asked for its length first; a folder changed between the calls asks again.
    for (int tries = 0; tries < 3; ++tries) {
        DWORD needed = GetCurrentDirectoryW(0, nullptr);
        if (needed == 0)
            return {};
        std::wstring path(needed, L'\0');
        DWORD length = GetCurrentDirectoryW(needed, path.data());
        if (length == 0)
            return {};
        if (length < needed) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

std::wstring SystemProgram(std::wstring_view fileName)
{
    std::wstring folder = SystemFolder();
    if (folder.empty())
        return {};
    folder += L'\\';
    folder += fileName;
    return folder;
}

} // namespace ui
