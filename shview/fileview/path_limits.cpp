#include "shview/fileview/path_limits.h"

#include "res/texts.h"

namespace shview {

const std::wstring* FirstTooLongForShell(const std::vector<std::wstring>& paths) noexcept
{
    for (const std::wstring& path : paths)
        if (path.size() > ShellOperationPathLimit)
            return &path;
    return nullptr;
}

std::wstring TooLongToDeleteText(const std::wstring& path)
{
    return path + L"\n\n" + texts::PathTooLongToDelete;
}

} // namespace shview
