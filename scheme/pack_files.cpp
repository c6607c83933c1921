#include "scheme/pack_files.h"

#include <vector>

namespace scheme {

namespace {

constexpr DWORD kChunk = 64 * 1024;

bool SamePrefix(const std::wstring& text, const std::wstring& prefix) noexcept
{
    return text.size() > prefix.size() && CompareStringOrdinal(text.c_str(), int(prefix.size()), prefix.c_str(),
                                                               int(prefix.size()), TRUE) == CSTR_EQUAL;
}

// Reads up to a chunk; false when reading fails.
bool ReadChunk(HANDLE file, std::vector<char>& buffer, DWORD& read)
{
    buffer.resize(kChunk);
    read = 0;
    return ReadFile(file, buffer.data(), kChunk, &read, nullptr) != FALSE;
}

// Whether the process `id` has ended (or never was).
bool HasEnded(DWORD id)
{
    ui::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    return !process || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// The kind, process and suffix ("" for none) of a folder NewFolder made;
// false for a name it does not make.
bool ReadFolderName(const std::wstring& name, std::wstring& kind, DWORD& process, std::wstring& suffix)
{
    std::vector<std::wstring> parts; // kind, process, tick, number
    std::size_t from = 0;
    while (parts.size() < 4 && from != std::wstring::npos) {
        const std::size_t cut = name.find(L'-', from);
        parts.push_back(name.substr(from, cut == std::wstring::npos ? cut : cut - from));
        from = cut == std::wstring::npos ? cut : cut + 1;
    }
    if (parts.size() < 4 || parts[1].empty() || parts[1].size() > 10 ||
        parts[1].find_first_not_of(L"0123456789") != std::wstring::npos || std::stoull(parts[1]) > MAXDWORD)
        return false;
    kind = parts[0];
    process = DWORD(std::stoull(parts[1]));
    suffix = from == std::wstring::npos ? L"" : name.substr(from);
    return true;
}

} // namespace

std::wstring FinalPath(HANDLE file)
{
    std::wstring path(MAX_PATH, L'\0');
    for (int tries = 0; tries < 2; ++tries) {
        const DWORD n = GetFinalPathNameByHandleW(file, path.data(), DWORD(path.size()), FILE_NAME_NORMALIZED);
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(n + 1);
    }
    return {};
}

PackFolder::PackFolder(const std::wstring& path)
{
    ui::UniqueFile folder(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder)
        final_ = FinalPath(folder.get());
    if (!final_.empty() && final_.back() != L'\\')
        final_ += L'\\';
}

ui::UniqueFile PackFolder::Open(const std::wstring& path, bool& outside) const
{
    outside = false;
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK)
        return {};
    outside = final_.empty() || !SamePrefix(FinalPath(file.get()), final_);
    return outside ? ui::UniqueFile() : std::move(file);
}

bool CopyOpenFile(HANDLE from, const std::wstring& to)
{
    bool copied = false;
    {
        ui::UniqueFile target(
            CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!target)
            return false;
        std::vector<char> buffer;
        DWORD read = 0, written = 0;
        while ((copied = ReadChunk(from, buffer, read)) && read > 0)
            if (!WriteFile(target.get(), buffer.data(), read, &written, nullptr) || written != read) {
                copied = false;
                break;
            }
    }
    if (!copied)
        DeleteFileW(to.c_str());
    return copied;
}

bool SameContent(HANDLE a, HANDLE b)
{
    std::vector<char> first, second;
    DWORD readFirst = 0, readSecond = 0;
    while (ReadChunk(a, first, readFirst) && ReadChunk(b, second, readSecond)) {
        if (readFirst != readSecond || std::char_traits<char>::compare(first.data(), second.data(), readFirst) != 0)
            return false;
        if (readFirst == 0)
            return true;
    }
    return false;
}

void RemoveFiles(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    ui::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        } while (FindNextFileW(find.get(), &found));
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring NewFolder(const std::wstring& parent, const wchar_t* kind, const std::wstring& suffix)
{
    for (unsigned n = 0; n < 1000; ++n) {
        const std::wstring path = parent + L"\\" + kind + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(n) +
                                  (suffix.empty() ? L"" : L"-" + suffix);
        if (CreateDirectoryW(path.c_str(), nullptr))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return {};
}

void SweepStaging(const std::wstring& staging, const std::wstring& root)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    if (ui::UniqueFind find(FindFirstFileW((staging + L"\\*").c_str(), &found)); find)
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != L'.')
                names.emplace_back(found.cFileName);
        } while (FindNextFileW(find.get(), &found));
    for (const std::wstring& name : names) {
        std::wstring kind, home;
        DWORD process = 0;
        if (!ReadFolderName(name, kind, process, home) || !HasEnded(process))
            continue;
        const std::wstring path = staging + L"\\" + name, place = root + L"\\" + home;
        if (kind == L"old" && !home.empty() && GetFileAttributesW(place.c_str()) == INVALID_FILE_ATTRIBUTES &&
            MoveFileExW(path.c_str(), place.c_str(), 0))
            continue;
        RemoveFiles(path);
    }
}

} // namespace scheme
