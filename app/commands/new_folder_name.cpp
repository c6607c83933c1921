#include "app/commands/new_folder_name.h"

#include "res/texts.h"

namespace commands {

std::wstring NumberedFolderName(long long n)
{
    return std::wstring(texts::NewFolderName) + L" (" + std::to_wstring(n) + L")";
}

std::wstring NewFolderPath(std::wstring_view parent, const std::function<bool(const std::wstring&)>& taken)
{
    std::wstring candidate = std::wstring(parent) + texts::NewFolderName;
    // A name taken by a file counts as well: creating a folder over it would
    // fail every time, and the user could never get a new folder here.
    for (long long n = 2; taken(candidate); ++n)
        candidate = std::wstring(parent) + NumberedFolderName(n);
    return candidate;
}

} // namespace commands
