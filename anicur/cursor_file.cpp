#include "anicur/cursor_file.h"

#include "anicur/ani_walk.h"
#include "ui/handles.h"

#include <cstring>

namespace anicur {
namespace {

constexpr size_t RiffHeader = 12;
// Beyond this a file is not read into memory: no animated cursor comes near.
constexpr uint64_t MaxFileSize = 128 * 1024 * 1024;

} // namespace

int ReadCursorBytes(HANDLE file, uint64_t size, std::vector<uint8_t>& bytes)
{
    // The header first: a file of another kind (a static cursor, or anything
    // renamed) is told apart without reading it whole.
    uint8_t head[RiffHeader];
    DWORD got = 0;
    if (!ReadFile(file, head, sizeof head, &got, nullptr))
        return AniShortRead;
    if (got < sizeof head || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "ACON", 4) != 0)
        return AniNotAnimated;
    if (size > MaxFileSize || size < sizeof head)
        return AniFailed;

    bytes.resize(static_cast<size_t>(size));
    std::memcpy(bytes.data(), head, sizeof head);
    const DWORD rest = static_cast<DWORD>(size - sizeof head);
    got = 0;
    if (rest > 0 && (!ReadFile(file, bytes.data() + sizeof head, rest, &got, nullptr) || got != rest))
        return AniShortRead;
    return AniOk;
}

int ReadCursorFile(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    // Others may go on writing, renaming or deleting the file meanwhile; it
    // is only read.
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return AniCannotOpen;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return AniFailed;
    return ReadCursorBytes(file.get(), static_cast<uint64_t>(size.QuadPart), bytes);
}

} // namespace anicur
