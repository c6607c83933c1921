#include "idlist/file_path.h"

#include <cwchar>
#include <utility>

namespace idlist {
namespace {

// The longest path the system takes, terminator included.
constexpr DWORD LongestPath = 32768;

bool PathInto(PCIDLIST_ABSOLUTE absolute, std::wstring& buffer)
{
    if (!SHGetPathFromIDListEx(absolute, buffer.data(), static_cast<DWORD>(buffer.size()), GPFIDL_DEFAULT))
        return false;
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    return !buffer.empty();
}

} // namespace

bool IDListFileSystemPath(PCIDLIST_ABSOLUTE absolute, std::wstring& path)
{
    path.clear();
    if (!absolute)
        return false;
    // Most paths fit the short buffer; the call gives no length to ask for,
    // so a refusal is tried once more at the longest length there is.
    std::wstring buffer(MAX_PATH, L'\0');
    if (!PathInto(absolute, buffer)) {
        buffer.assign(LongestPath, L'\0');
        if (!PathInto(absolute, buffer))
            return false;
    }
    path = std::move(buffer);
    return true;
}

} // namespace idlist
