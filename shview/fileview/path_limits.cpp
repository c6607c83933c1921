#include "shview/fileview/path_limits.h"

#include "res/texts.h"

namespace shview {

const std::wstring* FirstTooLongForShell(const std::vector<std::wstring>& paths) noexcept
{
    for (const std::wstring& path : paths)
        if (path.size() > kShellOperationPathLimit)
            return &path;
    return nullptr;
}

std::wstring TooLongToDeleteText(const std::wstring& path)
{
    return path + L"\n\n" + texts::PathTooLongToDelete;
}

bool TooLongToRead(const std::wstring& folder) noexcept { return folder.size() + 3 > 260; }

std::wstring TooLongToReadText(const std::wstring& folder) { return folder + L"\n\n" + texts::kPathTooLongToRead; }

} // namespace shview
