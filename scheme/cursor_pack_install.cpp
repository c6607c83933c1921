#include "scheme/cursor_pack_install.h"

#include "scheme/pack_files.h"
#include "ui/handles.h"
#include "ui/text.h"

#include <shlobj.h>

#include <optional>
#include <vector>

namespace scheme {

namespace {

// Larger than any setup file a pack ships.
constexpr DWORD kLargestSetupFile = 1u << 20;
// Enough of a setup file to tell whether it is a pack's: one read, even on
// a slow share.
constexpr DWORD kSetupHead = 16u << 10;

std::wstring FromAnsi(std::string_view bytes)
{
    return ui::FromCodePage(bytes, CP_ACP);
}

enum class SetupRead { Read,
                       Unreadable,
                       TooLarge };

// Reads the setup file at `path`; with `headOnly` no more than its first
// kSetupHead bytes, and of those the whole lines.
SetupRead ReadSetupFile(const std::wstring& path, InfFile& inf, bool headOnly)
{
    ui::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return SetupRead::Unreadable;
    if (!headOnly && size.QuadPart > kLargestSetupFile)
        return SetupRead::TooLarge;
    const bool cut = headOnly && size.QuadPart > kSetupHead;
    std::vector<unsigned char> bytes(cut ? kSetupHead : std::size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return SetupRead::Unreadable;
    std::wstring text = DecodeInfBytes(bytes.data(), bytes.size(), FromAnsi);
    if (cut)
        text.erase(text.find_last_of(L'\n') + 1);
    inf = ReadInf(text, GetUserDefaultUILanguage());
    return SetupRead::Read;
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

bool SamePath(const std::wstring& a, const std::wstring& b) noexcept
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// The path of a pack's file, below the pack's folder.
std::wstring SourcePath(const std::wstring& packFolder, const PackFile& file)
{
    std::wstring source = packFolder + L"\\" + file.source;
    for (wchar_t& c : source)
        c = c == L'/' ? L'\\' : c;
    return source;
}

// Whether the user's scheme of the pack's name, if there is one, is what
// installing the pack would make of it: the same roles, and in the pack's
// folder the same files.
bool IsThisInstall(const PackPlan& plan, const PackFolder& pack, const std::wstring& packFolder)
{
    const std::optional<SchemePaths> stored = ReadNamedScheme(plan.schemeName, SchemeSource::User);
    if (!stored)
        return true;
    const SchemePaths made = ReadSchemeText(PackSchemeText(plan));
    for (std::size_t role = 0; role < made.size(); ++role)
        if (!SamePath((*stored)[role], made[role]))
            return false;
    const std::wstring installed = Expanded(kPackRoot) + L"\\" + plan.folderName + L"\\";
    for (const PackFile& file : plan.files) {
        bool outside = false;
        ui::UniqueFile source = pack.Open(SourcePath(packFolder, file), outside);
        ui::UniqueFile there(CreateFileW((installed + file.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!source || !there || !SameContent(source.get(), there.get()))
            return false;
    }
    return true;
}

// The first of the user's schemes that `counts` and that names a file in
// the installed pack's folder `folderName`; "" when there is none.
template <class Counts>
std::wstring SchemeInFolder(const std::wstring& folderName, Counts counts)
{
    const std::wstring prefix = std::wstring(kPackRoot) + L"\\" + folderName + L"\\";
    for (const std::wstring& name : SchemeNames(SchemeSource::User))
        if (counts(name))
            if (const std::optional<SchemePaths> stored = ReadNamedScheme(name, SchemeSource::User))
                for (const std::wstring& path : *stored)
                    if (StartsWith(path, prefix))
                        return name;
    return {};
}

// Another pack installed in the pack's folder: one of the user's schemes
// whose other name gives the same folder name ("Neon." and "Neon") and
// whose files lie there; "" when there is none. Schemes the user saved from
// an installed pack's files keep their own names and are no other pack.
std::wstring FolderOwner(const PackPlan& plan)
{
    return SchemeInFolder(plan.folderName, [&](const std::wstring& name) {
        return !SameInfName(name, plan.schemeName) && SameInfName(PackFolderName(name), plan.folderName);
    });
}

PackInstallResult Refused(PackProblem problem, std::wstring detail)
{
    return {problem, std::move(detail), {}};
}

// Copies the plan's files from the pack's folder into a new folder below
// `staging`; answers that folder, or the problem.
PackInstallResult Gather(const PackPlan& plan, const PackFolder& pack, const std::wstring& packFolder,
                         const std::wstring& staging, std::wstring& gathered)
{
    gathered = NewFolder(staging, L"new");
    if (gathered.empty())
        return Refused(PackProblem::NotCopied, staging);
    for (const PackFile& file : plan.files) {
        bool outside = false;
        const ui::UniqueFile source = pack.Open(SourcePath(packFolder, file), outside);
        if (!source || !CopyOpenFile(source.get(), gathered + L"\\" + file.name)) {
            RemoveFiles(gathered);
            return outside ? Refused(PackProblem::ClimbsOut, file.source) : Refused(PackProblem::NotCopied, file.name);
        }
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
    const SetupRead read = ReadSetupFile(infPath, inf, false);
    if (read == SetupRead::Read)
        return MakePackPlan(inf);
    PackPlan unread;
    unread.problem = read == SetupRead::TooLarge ? PackProblem::TooLarge : PackProblem::Unreadable;
    unread.detail = read == SetupRead::TooLarge ? std::to_wstring(kLargestSetupFile >> 10) : infPath;
    return unread;
}

bool IsCursorPackFile(const std::wstring& path)
{
    InfFile inf;
    return ui::LowerCase(ui::FileExtension(path)) == L".inf" && IsFile(path) &&
           ReadSetupFile(path, inf, true) == SetupRead::Read && WritesCursorScheme(inf);
}

std::wstring OwnPackFolder(const std::wstring& name)
{
    const std::optional<SchemePaths> paths = ReadNamedScheme(name, SchemeSource::User);
    const std::wstring root = std::wstring(kPackRoot) + L"\\";
    std::wstring folder;
    for (const std::wstring& path : paths ? *paths : SchemePaths{}) {
        if (path.empty())
            continue;
        const std::size_t cut = path.find_first_of(L"\\/", root.size());
        if (!StartsWith(path, root) || cut == std::wstring::npos ||
            path.find_first_of(L"\\/", cut + 1) != std::wstring::npos)
            return {};
        const std::wstring own = path.substr(root.size(), cut - root.size());
        if (!folder.empty() && !SamePath(folder, own))
            return {};
        folder = own;
    }
    const auto other = [&](const std::wstring& scheme) { return !SamePath(scheme, name); };
    return folder.empty() || !SchemeInFolder(folder, other).empty() ? std::wstring() : folder;
}

bool RemovePackFolder(const std::wstring& folderName)
{
    // A scheme that came to name its files meanwhile keeps them.
    const auto any = [](const std::wstring&) { return true; };
    const std::wstring root = Expanded(kPackRoot);
    if (root.empty() || folderName.empty() || !SchemeInFolder(folderName, any).empty())
        return false;
    const std::wstring folder = root + L"\\" + folderName, prefix = folder + L"\\";
    const std::array<std::wstring, kMouseRoleCount> inUse = ReadMouseCursors();
    for (std::size_t role = 0; role < kMouseRoleCount; ++role)
        if (StartsWith(ExpandCursorPath(inUse[role]), prefix))
            RestoreMouseCursor(int(role));
    RemoveFiles(folder);
    return !Exists(folder);
}

PackInstallResult InstallCursorPack(const std::wstring& infPath, const CursorFileCheck& readable,
                                    const ReplaceQuestion& mayReplace, const SchemeApplier& apply)
{
    const PackPlan plan = ReadPackPlan(infPath);
    if (plan.problem != PackProblem::None)
        return Refused(plan.problem, plan.detail);

    // Every file is there, in the pack, and can be used before anything is
    // written; none is read through a link that leads out of the pack.
    const std::wstring packFolder = infPath.substr(0, infPath.find_last_of(L"\\/"));
    const PackFolder pack(packFolder);
    if (!pack.IsOpen())
        return Refused(PackProblem::Unreadable, infPath);
    for (const PackFile& file : plan.files) {
        const std::wstring source = SourcePath(packFolder, file);
        if (!IsFile(source))
            return Refused(PackProblem::MissingFile, file.source);
        bool outside = false;
        if (!pack.Open(source, outside))
            return Refused(outside ? PackProblem::ClimbsOut : PackProblem::Unloadable, file.source);
        if (!readable || !readable(source))
            return Refused(PackProblem::Unloadable, file.source);
    }

    // A scheme of that name that this install would not make again is
    // given up only when the user says so, whoever installed it.
    if (!IsThisInstall(plan, pack, packFolder) && (!mayReplace || !mayReplace(plan.schemeName)))
        return Refused(PackProblem::Kept, plan.schemeName);
    // Its folder would take another scheme's files away.
    if (const std::wstring other = FolderOwner(plan); !other.empty())
        return Refused(PackProblem::FolderTaken, other);

    const std::wstring root = Expanded(kPackRoot), staging = Expanded(kPackStaging);
    if (root.empty() || staging.empty() || !MakeFolders(root) || !MakeFolders(staging))
        return Refused(PackProblem::NotCopied, kPackRoot);
    SweepStaging(staging, root);
    std::wstring gathered;
    if (PackInstallResult copied = Gather(plan, pack, packFolder, staging, gathered);
        copied.problem != PackProblem::None)
        return copied;

    // The files of a pack installed before wait aside until the new ones
    // and the scheme are in place.
    const std::wstring target = root + L"\\" + plan.folderName;
    std::wstring before;
    if (Exists(target)) {
        // Named after the folder, to find the way back after a killed install.
        before = NewFolder(staging, L"old", plan.folderName);
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
