#include "anicur/cursor_file.h"

#include "anicur/ani_walk.h"
#include "anicur/cursor_check.h"
#include "anicur/icon_dir.h"
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

namespace {

// Opens `path` for reading only: others may go on writing, renaming or
// deleting the file meanwhile. Answers the file and its size.
ui::UniqueFile OpenForReading(const std::wstring& path, uint64_t& size)
{
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER bytes{};
    if (file && GetFileSizeEx(file.get(), &bytes) && bytes.QuadPart >= 0)
        size = static_cast<uint64_t>(bytes.QuadPart);
    else
        size = UINT64_MAX;
    return file;
}

// Opens `path` for reading: AniOk with the file and its size, else the code
// to answer (AniCannotOpen, or AniFailed when its size cannot be read).
int OpenCursorFile(const std::wstring& path, ui::UniqueFile& file, uint64_t& size)
{
    file = OpenForReading(path, size);
    if (!file)
        return AniCannotOpen;
    return size == UINT64_MAX ? AniFailed : AniOk;
}

} // namespace

int ReadCursorFile(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    uint64_t size = 0;
    ui::UniqueFile file;
    if (int opened = OpenCursorFile(path, file, size); opened != AniOk)
        return opened;
    return ReadCursorBytes(file.get(), size, bytes);
}

int ReadStaticCursorFile(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    uint64_t size = 0;
    ui::UniqueFile file;
    if (int opened = OpenCursorFile(path, file, size); opened != AniOk)
        return opened;
    // The directory header first: anything else is told apart unread.
    uint8_t head[6];
    DWORD got = 0;
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr))
        return AniShortRead;
    if (got < sizeof head || !IsIconDirectory(head, got))
        return AniNotCursor;
    if (size > MaxFileSize || size < sizeof head)
        return AniFailed;
    bytes.resize(static_cast<size_t>(size));
    std::memcpy(bytes.data(), head, sizeof head);
    const DWORD rest = static_cast<DWORD>(size - sizeof head);
    got = 0;
    if (rest > 0 && (!ReadFile(file.get(), bytes.data() + sizeof head, rest, &got, nullptr) || got != rest))
        return AniShortRead;
    return AniOk;
}

bool IsWholeCursorFile(const std::wstring& path) noexcept
{
    try {
        uint64_t size = 0;
        ui::UniqueFile file;
        if (OpenCursorFile(path, file, size) != AniOk || size > MaxFileSize)
            return false;
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        DWORD got = 0;
        if (size > 0 && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(size), &got, nullptr) || got != size))
            return false;
        return IsWholeCursorImage(bytes.data(), bytes.size());
    } catch (...) {
        return false; // memory
    }
}

} // namespace anicur
