#include "scheme/cursor_pack_install.h"

#include "ui/handles.h"
#include "ui/text.h"

#include <shlobj.h>

#include <optional>
#include <vector>

namespace scheme {

namespace {

// Larger than any setup file a pack ships.
constexpr DWORD kLargestSetupFile = 1u << 20;

std::wstring FromAnsi(std::string_view bytes)
{
    return ui::FromCodePage(bytes, CP_ACP);
}

bool ReadSetupFile(const std::wstring& path, InfFile& inf)
{
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestSetupFile)
        return false;
    std::vector<unsigned char> bytes(std::size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return false;
    inf = ReadInf(DecodeInfBytes(bytes.data(), bytes.size(), FromAnsi), GetUserDefaultUILanguage());
    return true;
}

std::wstring Expanded(const wchar_t* text)
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = ExpandEnvironmentStringsW(text, buffer, MAX_PATH);
    std::wstring out = n > 0 && n <= MAX_PATH ? std::wstring(buffer) : std::wstring();
    // A variable the environment does not have stays as written.
    return out.find(L'%') == std::wstring::npos ? out : std::wstring();
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolders(const std::wstring& path)
{
    const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

// Deletes a folder of files, as the install makes them (no sub-folders).
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

// A new empty folder of its own below `parent`.
std::wstring NewFolder(const std::wstring& parent, const wchar_t* kind)
{
    for (unsigned n = 0; n < 1000; ++n) {
        const std::wstring path = parent + L"\\" + kind + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(n);
        if (CreateDirectoryW(path.c_str(), nullptr))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return {};
}

bool StoreScheme(const std::wstring& name, const std::wstring& text)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserSchemesKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    ui::UniqueKey key(opened);
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The start of every path of the pack's installed files, as stored.
std::wstring PackPrefix(const PackPlan& plan)
{
    return std::wstring(kPackRoot) + L"\\" + plan.folderName + L"\\";
}

bool StartsWith(const std::wstring& path, const std::wstring& prefix)
{
    return path.size() > prefix.size() && SameInfName(std::wstring_view(path).substr(0, prefix.size()), prefix);
}

// Whether the user's scheme of the pack's name, if there is one, is the
// pack's own: every file it names lies in the pack's folder.
bool HoldsOnlyThePack(const PackPlan& plan)
{
    const std::optional<SchemePaths> stored = ReadNamedScheme(plan.schemeName, SchemeSource::User);
    if (!stored)
        return true;
    const std::wstring own = PackPrefix(plan);
    for (const std::wstring& path : *stored)
        if (!path.empty() && (!StartsWith(path, own) || path.find_first_of(L"\\/", own.size()) != std::wstring::npos))
            return false;
    return true;
}

// Another pack installed in the pack's folder: one of the user's schemes
// whose other name gives the same folder name ("Neon." and "Neon") and
// whose files lie there; "" when there is none. Schemes the user saved from
// an installed pack's files keep their own names and are no other pack.
std::wstring FolderOwner(const PackPlan& plan)
{
    const std::wstring own = PackPrefix(plan);
    for (const std::wstring& name : SchemeNames(SchemeSource::User)) {
        if (SameInfName(name, plan.schemeName) || !SameInfName(PackFolderName(name), plan.folderName))
            continue;
        if (const std::optional<SchemePaths> stored = ReadNamedScheme(name, SchemeSource::User))
            for (const std::wstring& path : *stored)
                if (StartsWith(path, own))
                    return name;
    }
    return {};
}

PackInstallResult Refused(PackProblem problem, std::wstring detail)
{
    return {problem, std::move(detail), {}};
}

// Copies the plan's files from the pack's folder into a new folder below
// `staging`; answers that folder, or the problem.
PackInstallResult Gather(const PackPlan& plan, const std::wstring& packFolder, const std::wstring& staging,
                         std::wstring& gathered)
{
    gathered = NewFolder(staging, L"new");
    if (gathered.empty())
        return Refused(PackProblem::NotCopied, staging);
    for (const PackFile& file : plan.files) {
        std::wstring source = packFolder + L"\\" + file.source;
        for (wchar_t& c : source)
            c = c == L'/' ? L'\\' : c;
        const std::wstring target = gathered + L"\\" + file.name;
        if (!CopyFileW(source.c_str(), target.c_str(), TRUE)) {
            RemoveFiles(gathered);
            return Refused(PackProblem::NotCopied, file.name);
        }
        // A read-only file of the pack would stay when the pack is installed again.
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    return {};
}

} // namespace

std::wstring PackSchemeText(const PackPlan& plan)
{
    SchemePaths paths;
    for (std::size_t role = 0; role < paths.size() && role < plan.entries.size(); ++role)
        if (!plan.entries[role].empty())
            paths[role] = PackPrefix(plan) + plan.entries[role];
    return WriteSchemeText(paths).value_or(std::wstring());
}

PackPlan ReadPackPlan(const std::wstring& infPath)
{
    InfFile inf;
    if (!ReadSetupFile(infPath, inf)) {
        PackPlan unread;
        unread.problem = PackProblem::Unreadable;
        unread.detail = infPath;
        return unread;
    }
    return MakePackPlan(inf);
}

bool IsCursorPackFile(const std::wstring& path)
{
    InfFile inf;
    return ui::LowerCase(ui::FileExtension(path)) == L".inf" && IsFile(path) && ReadSetupFile(path, inf) &&
           WritesCursorScheme(inf);
}

PackInstallResult InstallCursorPack(const std::wstring& infPath, const CursorFileCheck& readable,
                                    const ReplaceQuestion& mayReplace, const SchemeApplier& apply)
{
    const PackPlan plan = ReadPackPlan(infPath);
    if (plan.problem != PackProblem::None)
        return Refused(plan.problem, plan.detail);

    // Every file is there and can be used before anything is written.
    const std::wstring packFolder = infPath.substr(0, infPath.find_last_of(L"\\/"));
    for (const PackFile& file : plan.files) {
        const std::wstring source = packFolder + L"\\" + file.source;
        if (!IsFile(source))
            return Refused(PackProblem::MissingFile, file.source);
        if (!readable || !readable(source))
            return Refused(PackProblem::Unloadable, file.source);
    }

    // A scheme of that name that is not this pack's is the user's to give up.
    if (!HoldsOnlyThePack(plan) && (!mayReplace || !mayReplace(plan.schemeName)))
        return Refused(PackProblem::Kept, plan.schemeName);
    // Its folder would take another scheme's files away.
    if (const std::wstring other = FolderOwner(plan); !other.empty())
        return Refused(PackProblem::FolderTaken, other);

    const std::wstring root = Expanded(kPackRoot), staging = Expanded(kPackStaging);
    if (root.empty() || staging.empty() || !MakeFolders(root) || !MakeFolders(staging))
        return Refused(PackProblem::NotCopied, kPackRoot);
    std::wstring gathered;
    if (PackInstallResult copied = Gather(plan, packFolder, staging, gathered); copied.problem != PackProblem::None)
        return copied;

    // The files of a pack installed before wait aside until the new ones
    // and the scheme are in place.
    const std::wstring target = root + L"\\" + plan.folderName;
    std::wstring before;
    if (Exists(target)) {
        before = NewFolder(staging, L"old");
        if (before.empty() || !RemoveDirectoryW(before.c_str()) || !MoveFileExW(target.c_str(), before.c_str(), 0)) {
            RemoveFiles(gathered);
            return Refused(PackProblem::NotCopied, target);
        }
    }
    const auto putBack = [&] {
        if (!before.empty())
            MoveFileExW(before.c_str(), target.c_str(), 0);
    };
    if (!MoveFileExW(gathered.c_str(), target.c_str(), 0)) {
        RemoveFiles(gathered);
        putBack();
        return Refused(PackProblem::NotCopied, target);
    }
    const std::wstring text = PackSchemeText(plan);
    if (text.empty() || !StoreScheme(plan.schemeName, text)) {
        RemoveFiles(target);
        putBack();
        return Refused(PackProblem::NotStored, plan.schemeName);
    }
    if (!before.empty())
        RemoveFiles(before);

    PackInstallResult result{PackProblem::None, {}, plan.schemeName};
    if (!apply || !apply(plan.schemeName, text))
        result.problem = PackProblem::NotApplied;
    return result;
}

} // namespace scheme
