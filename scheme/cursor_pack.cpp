#include "scheme/cursor_pack.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace scheme {

namespace {

constexpr wchar_t kSchemesKey[] = L"Control Panel\\Cursors\\Schemes";
// Where the roles' values live.
constexpr wchar_t kCursorsKey[] = L"Control Panel\\Cursors";
// AddReg flags: the value's type, and the lines that write no value.
constexpr std::uint32_t kTypeMask = 0xFFFF0001u;
constexpr std::uint32_t kTypeText = 0x00000000u;
constexpr std::uint32_t kTypeExpandText = 0x00020000u;
constexpr std::uint32_t kDeleteValue = 0x00000004u;
constexpr std::uint32_t kKeyOnly = 0x00000010u;
// Where files go when DestinationDirs says nothing: the system folder.
constexpr wchar_t kDefaultDirId[] = L"11";

std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<std::uint32_t> ParseFlags(std::wstring_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return 0u;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        unsigned digit = c >= L'0' && c <= L'9'                 ? unsigned(c - L'0')
                         : base == 16 && c >= L'a' && c <= L'f' ? unsigned(c - L'a' + 10)
                         : base == 16 && c >= L'A' && c <= L'F' ? unsigned(c - L'A' + 10)
                                                                : 99;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return std::uint32_t(value);
}

// A directory id as the number it is ("010" is 10); none when it is no number.
std::optional<std::wstring> DirId(std::wstring_view text)
{
    text = Trimmed(text);
    bool negative = !text.empty() && text.front() == L'-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return (negative ? L"-" : L"") + std::to_wstring(value);
}

// A folder as text that compares: one '\' between parts, none at the ends,
// ASCII letters small.
std::wstring FolderKey(std::wstring_view folder)
{
    std::wstring key;
    for (wchar_t c : folder) {
        if (c == L'/')
            c = L'\\';
        if (c == L'\\' && (key.empty() || key.back() == L'\\'))
            continue;
        key += c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
    }
    while (!key.empty() && key.back() == L'\\')
        key.pop_back();
    return key;
}

bool StartsWithName(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && SameInfName(text.substr(0, prefix.size()), prefix);
}

bool IsNameCharacter(wchar_t c) noexcept
{
    return c >= 0x20 && std::wstring_view(L"<>:\"/\\|?*").find(c) == std::wstring_view::npos;
}

enum class NameKind { Plain,
                      Empty,
                      Climbs,
                      Bad };

// One file name, without a folder.
NameKind NameOf(std::wstring_view name)
{
    if (name.empty())
        return NameKind::Empty;
    if (name == L"." || name == L".." || name.find_first_of(L"\\/:") != std::wstring_view::npos)
        return NameKind::Climbs;
    for (wchar_t c : name)
        if (!IsNameCharacter(c))
            return NameKind::Bad;
    return IsDeviceName(name) ? NameKind::Bad : NameKind::Plain;
}

// A path below the pack's folder: plain names joined by '\' or '/'.
NameKind RelativePathOf(std::wstring_view path)
{
    if (path.empty())
        return NameKind::Empty;
    while (true) {
        const std::size_t cut = path.find_first_of(L"\\/");
        const NameKind part = NameOf(path.substr(0, cut));
        if (cut == std::wstring_view::npos)
            return part;
        // An empty part is a leading separator (a root) or a share's "\\".
        if (part != NameKind::Plain)
            return part == NameKind::Empty ? NameKind::Climbs : part;
        path.remove_prefix(cut + 1);
    }
}

PackProblem ProblemOf(NameKind kind) noexcept
{
    return kind == NameKind::Climbs ? PackProblem::ClimbsOut : PackProblem::BadFileName;
}

// A file one of the install section's copy lists puts somewhere.
struct CopiedFile {
    std::wstring folder; // FolderKey of the destination, "%10%\cursors\x"
    std::wstring name;
    std::wstring source;
};

class Planner {
public:
    explicit Planner(const InfFile& inf) : inf_(inf) {}

    PackPlan Make()
    {
        const InfLine* line = SchemeLine(false);
        if (!line) {
            Fail(PackProblem::NoScheme, {});
            return Done();
        }
        if (inf_.malformedLine)
            Fail(PackProblem::Malformed, std::to_wstring(inf_.malformedLine));
        plan_.schemeName = std::wstring(Trimmed(line->fields[2]));
        plan_.folderName = PackFolderName(plan_.schemeName);
        if (plan_.folderName.empty())
            Fail(PackProblem::BadSchemeName, plan_.schemeName);
        if (plan_.problem == PackProblem::None && ReadCopies() && ReadRoleLines())
            Decide(line->fields.size() > 4 ? line->fields[4] : std::wstring());
        return Done();
    }

    // The first AddReg line of the install section that writes a value
    // under the schemes key; null when there is none or, unless `lenient`, a
    // line in the way is malformed (the plan says which).
    const InfLine* SchemeLine(bool lenient)
    {
        const InfLine* found = nullptr;
        ForEachAddRegLine(lenient, [&](const InfLine& line) {
            const std::optional<bool> writes = WritesText(line, kSchemesKey);
            if (!writes && !lenient) {
                Fail(PackProblem::Malformed, std::to_wstring(line.number));
                return false;
            }
            if (writes.value_or(false))
                found = &line;
            return !found;
        });
        return plan_.problem == PackProblem::None ? found : nullptr;
    }

private:
    void Fail(PackProblem problem, std::wstring detail)
    {
        if (plan_.problem == PackProblem::None) {
            plan_.problem = problem;
            plan_.detail = std::move(detail);
        }
    }

    PackPlan Done()
    {
        if (plan_.problem != PackProblem::None) {
            PackPlan failed;
            failed.problem = plan_.problem;
            failed.detail = plan_.detail;
            return failed;
        }
        return std::move(plan_);
    }

    // Calls `visit` with every line of the install section's AddReg
    // sections in order, until it answers false. A section that is not there
    // stops it (the plan says which) unless `lenient`.
    template <class Visit>
    void ForEachAddRegLine(bool lenient, Visit visit)
    {
        const InfSection* install = FindInstallSection(inf_);
        if (!install)
            return;
        for (const InfLine& key : install->lines) {
            if (!key.hasKey || !SameInfName(key.key, L"AddReg"))
                continue;
            for (const std::wstring& name : key.fields) {
                if (Trimmed(name).empty())
                    continue;
                const InfSection* section = inf_.Find(Trimmed(name));
                if (!section) {
                    if (lenient)
                        continue;
                    Fail(PackProblem::MissingSection, std::wstring(Trimmed(name)));
                    return;
                }
                for (const InfLine& line : section->lines)
                    if (!visit(line))
                        return;
            }
        }
    }

    // Whether an AddReg line writes a named text value under `key` of the
    // user's registry; none when it is malformed.
    static std::optional<bool> WritesText(const InfLine& line, std::wstring_view key)
    {
        if (line.hasKey || line.fields.size() < 2)
            return std::nullopt;
        const std::wstring_view root = Trimmed(line.fields[0]);
        if (!SameInfName(root, L"HKCU") && !SameInfName(root, L"HKEY_CURRENT_USER"))
            return false;
        if (FolderKey(Trimmed(line.fields[1])) != FolderKey(key))
            return false;
        const std::optional<std::uint32_t> flags = ParseFlags(line.fields.size() > 3 ? line.fields[3] : L"");
        if (!flags)
            return std::nullopt;
        // Deleting a value, making the key alone, or the key's unnamed value
        // write no such value.
        if ((*flags & (kDeleteValue | kKeyOnly)) || line.fields.size() < 3 || Trimmed(line.fields[2]).empty())
            return false;
        const std::uint32_t type = *flags & kTypeMask;
        if (type != kTypeText && type != kTypeExpandText)
            return std::nullopt;
        return true;
    }

    // The destination folder of each copy list, by DestinationDirs.
    std::optional<std::wstring> DestinationOf(std::wstring_view list)
    {
        std::wstring dirId = kDefaultDirId, subFolder;
        if (const InfSection* dirs = inf_.Find(L"DestinationDirs")) {
            const InfLine* found = nullptr;
            for (const InfLine& line : dirs->lines) {
                if (line.hasKey && SameInfName(Trimmed(line.key), list)) {
                    found = &line;
                    break;
                }
                if (line.hasKey && SameInfName(Trimmed(line.key), L"DefaultDestDir") && !found)
                    found = &line;
            }
            if (found) {
                const std::optional<std::wstring> id = found->fields.empty() ? std::nullopt : DirId(found->fields[0]);
                if (!id) {
                    Fail(PackProblem::Malformed, std::to_wstring(found->number));
                    return std::nullopt;
                }
                dirId = *id;
                if (found->fields.size() > 1)
                    subFolder = Trimmed(found->fields[1]);
            }
        }
        return FolderKey(L"%" + dirId + L"%\\" + subFolder);
    }

    bool AddCopy(const std::wstring& folder, std::wstring_view name, std::wstring_view source)
    {
        name = Trimmed(name);
        source = Trimmed(source);
        if (source.empty())
            source = name;
        for (const std::wstring_view text : {name, source}) {
            const NameKind kind = text.data() == name.data() ? NameOf(text) : RelativePathOf(text);
            if (kind != NameKind::Plain) {
                Fail(ProblemOf(kind), std::wstring(text));
                return false;
            }
        }
        std::wstring found(source);
        if (!OnSourceDisk(found))
            return false;
        copies_.push_back({folder, std::wstring(name), std::move(found)});
        return true;
    }

    // The line of `section` (its .amd64 form first) whose key is `key`.
    const InfLine* Listed(const wchar_t* section, std::wstring_view key, bool number) const
    {
        for (const std::wstring& name : {std::wstring(section) + L".amd64", std::wstring(section)})
            if (const InfSection* found = inf_.Find(name))
                for (const InfLine& line : found->lines) {
                    if (!line.hasKey)
                        continue;
                    const std::wstring_view own = Trimmed(line.key);
                    if (number ? DirId(own) == DirId(key) && DirId(key) : SameInfName(own, key))
                        return &line;
                }
        return nullptr;
    }

    // A source file listed in [SourceDisksFiles] (file = disk, sub-folder)
    // lies in the disk's folder of [SourceDisksNames] (its fourth field,
    // from the pack's folder) and that sub-folder; a file not listed lies
    // where its name says. Both folders stay below the pack's folder.
    bool OnSourceDisk(std::wstring& source)
    {
        const InfLine* file = Listed(L"SourceDisksFiles", source, false);
        if (!file)
            return true;
        const InfLine* disk = file->fields.empty() ? nullptr : Listed(L"SourceDisksNames", file->fields[0], true);
        if (!disk) {
            Fail(PackProblem::Malformed, std::to_wstring(file->number));
            return false;
        }
        std::wstring_view diskFolder = disk->fields.size() > 3 ? Trimmed(disk->fields[3]) : std::wstring_view();
        // The disk's folder is written from the root of the medium: the pack's folder.
        if (!diskFolder.empty() && (diskFolder.front() == L'\\' || diskFolder.front() == L'/'))
            diskFolder.remove_prefix(1);
        std::wstring path;
        for (std::wstring_view part : {diskFolder, file->fields.size() > 1 ? Trimmed(file->fields[1]) : L""}) {
            while (!part.empty() && (part.back() == L'\\' || part.back() == L'/'))
                part.remove_suffix(1);
            if (part.empty())
                continue;
            if (const NameKind kind = RelativePathOf(part); kind != NameKind::Plain) {
                Fail(ProblemOf(kind), std::wstring(part));
                return false;
            }
            path.append(part).append(L"\\");
        }
        source = path + source;
        return true;
    }

    bool ReadCopies()
    {
        const InfSection* install = FindInstallSection(inf_);
        for (const InfLine& key : install->lines) {
            if (!key.hasKey || !SameInfName(key.key, L"CopyFiles"))
                continue;
            for (const std::wstring& field : key.fields) {
                const std::wstring_view list = Trimmed(field);
                if (list.empty())
                    continue;
                if (list.front() == L'@') {
                    const std::optional<std::wstring> folder = DestinationOf(L"DefaultDestDir");
                    if (!folder || !AddCopy(*folder, list.substr(1), {}))
                        return false;
                    continue;
                }
                const InfSection* section = inf_.Find(list);
                const std::optional<std::wstring> folder = DestinationOf(list);
                if (!folder)
                    return false;
                // A list that is not there (a read-me list some packs name)
                // matters only if the scheme needs a file of its folder.
                if (!section) {
                    missing_.push_back({*folder, std::wstring(list)});
                    continue;
                }
                for (const InfLine& line : section->lines) {
                    if (line.hasKey || line.fields.empty() || Trimmed(line.fields[0]).empty()) {
                        Fail(PackProblem::Malformed, std::to_wstring(line.number));
                        return false;
                    }
                    if (!AddCopy(*folder, line.fields[0], line.fields.size() > 1 ? line.fields[1] : L""))
                        return false;
                }
            }
        }
        return true;
    }

    // The destination folder (as FolderKey) and the name of a scheme entry;
    // none when it has no folder.
    static std::optional<std::pair<std::wstring, std::wstring>> PlaceOf(std::wstring_view entry)
    {
        // The Windows folder by the names the system knows it by.
        std::wstring path(entry);
        for (const wchar_t* alias : {L"%SystemRoot%", L"%windir%"})
            if (StartsWithName(path, alias))
                path = L"%10%" + path.substr(std::wstring_view(alias).size());
        const std::size_t cut = path.find_last_of(L"\\/");
        if (cut == std::wstring::npos)
            return std::nullopt;
        return std::pair{FolderKey(std::wstring_view(path).substr(0, cut)), path.substr(cut + 1)};
    }

    const CopiedFile* Copied(const std::pair<std::wstring, std::wstring>& place) const
    {
        for (const CopiedFile& copy : copies_)
            if (copy.folder == place.first && SameInfName(copy.name, place.second))
                return &copy;
        return nullptr;
    }

    static int RoleOf(std::wstring_view valueName) noexcept
    {
        for (std::size_t role = 0; role < kMouseRoleCount; ++role)
            if (SameInfName(valueName, MouseRegistry[role].ValueName))
                return int(role);
        return -1;
    }

    // The value each role's own line writes, the last one where there are
    // several; a section that is not there holds none.
    bool ReadRoleLines()
    {
        ForEachAddRegLine(true, [&](const InfLine& line) {
            const std::optional<bool> writes = WritesText(line, kCursorsKey);
            const int role = line.fields.size() > 2 ? RoleOf(Trimmed(line.fields[2])) : -1;
            if (role >= 0 && !writes && FolderKey(Trimmed(line.fields[1])) == FolderKey(kCursorsKey))
                Fail(PackProblem::Malformed, std::to_wstring(line.number));
            else if (role >= 0 && writes.value_or(false))
                roleLines_[std::size_t(role)] = line.fields.size() > 4 ? line.fields[4] : std::wstring();
            return plan_.problem == PackProblem::None;
        });
        return plan_.problem == PackProblem::None;
    }

    // Each role's file: its own line's, else the scheme list's at its
    // position (the list's entries past the last role are not read).
    void Decide(std::wstring_view list)
    {
        std::vector<std::wstring_view> listed;
        for (std::size_t from = 0; !Trimmed(list).empty() && listed.size() < kMouseRoleCount;) {
            const std::size_t comma = list.find(L',', from);
            listed.push_back(list.substr(from, comma == std::wstring_view::npos ? comma : comma - from));
            if (comma == std::wstring_view::npos)
                break;
            from = comma + 1;
        }
        std::vector<const CopiedFile*> chosen;
        plan_.entries.assign(kMouseRoleCount, std::wstring());
        for (std::size_t role = 0; role < kMouseRoleCount; ++role) {
            std::wstring_view entry;
            if (roleLines_[role]) {
                entry = *roleLines_[role];
                plan_.origins[role] = RoleOrigin::RoleLine;
            } else if (role < listed.size()) {
                entry = listed[role];
                plan_.origins[role] = RoleOrigin::SchemeList;
            }
            entry = Trimmed(entry);
            // An entry naming a folder alone (a string the pack left empty)
            // names no file either: the system's pointer.
            if (entry.empty() || entry.back() == L'\\' || entry.back() == L'/')
                continue;
            const auto place = PlaceOf(entry);
            const CopiedFile* copy = place ? Copied(*place) : nullptr;
            if (!copy) {
                const auto needed = std::find_if(missing_.begin(), missing_.end(), [&](const MissingList& missing) {
                    return place && missing.folder == place->first;
                });
                if (needed != missing_.end())
                    Fail(PackProblem::MissingSection, needed->section);
                else
                    Fail(PackProblem::NotShipped, std::wstring(entry));
                return;
            }
            // The stored scheme is cut at commas and expands %names%.
            if (copy->name.find_first_of(L",%") != std::wstring::npos) {
                Fail(PackProblem::BadFileName, copy->name);
                return;
            }
            const CopiedFile* same = nullptr;
            for (const CopiedFile* other : chosen)
                if (SameInfName(other->name, copy->name))
                    same = other;
            if (same && (same->folder != copy->folder || same->source != copy->source)) {
                Fail(PackProblem::NameClash, copy->name);
                return;
            }
            if (!same) {
                chosen.push_back(copy);
                plan_.files.push_back({copy->source, copy->name});
            }
            plan_.entries[role] = copy->name;
        }
    }

    // A copy list the install names that the file does not have.
    struct MissingList {
        std::wstring folder;
        std::wstring section;
    };

    const InfFile& inf_;
    PackPlan plan_;
    std::vector<CopiedFile> copies_;
    std::vector<MissingList> missing_;
    std::array<std::optional<std::wstring>, kMouseRoleCount> roleLines_;
};

} // namespace

const InfSection* FindInstallSection(const InfFile& inf) noexcept
{
    // The forms the shell's own install looks for, most particular first.
    for (const wchar_t* name : {L"DefaultInstall.NTamd64", L"DefaultInstall.NT", L"DefaultInstall"})
        if (const InfSection* section = inf.Find(name))
            return section;
    return nullptr;
}

bool WritesCursorScheme(const InfFile& inf)
{
    // A pack with a malformed line is still offered: installing it says what is wrong.
    return Planner(inf).SchemeLine(true) != nullptr;
}

PackPlan MakePackPlan(const InfFile& inf)
{
    return Planner(inf).Make();
}

std::array<PackRole, kMouseRoleCount> PackRoles(const PackPlan& plan)
{
    std::array<PackRole, kMouseRoleCount> roles;
    for (std::size_t role = 0; role < kMouseRoleCount && role < plan.entries.size(); ++role) {
        roles[role].name = plan.entries[role];
        roles[role].origin = plan.origins[role];
        for (const PackFile& file : plan.files)
            if (!roles[role].name.empty() && file.name == roles[role].name)
                roles[role].source = file.source;
    }
    return roles;
}

std::wstring PackFolderName(std::wstring_view schemeName)
{
    constexpr std::size_t kLongest = 80;
    std::wstring name;
    for (wchar_t c : schemeName.substr(0, kLongest))
        name += IsNameCharacter(c) && c != L',' && c != L'%' ? c : L'_';
    const auto trim = [](wchar_t c) { return c == L' ' || c == L'.'; };
    while (!name.empty() && trim(name.back()))
        name.pop_back();
    while (!name.empty() && name.front() == L' ')
        name.erase(0, 1);
    return IsDeviceName(name) ? L"_" + name : name;
}

bool IsDeviceName(std::wstring_view name) noexcept
{
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.remove_suffix(1);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (SameInfName(base, device))
            return true;
    // COM1-9 and LPT1-9; the system takes the superscript digits for digits too.
    constexpr std::wstring_view kDigits = L"123456789\u00B9\u00B2\u00B3";
    return base.size() == 4 && (StartsWithName(base, L"COM") || StartsWithName(base, L"LPT")) &&
           kDigits.find(base[3]) != std::wstring_view::npos;
}

} // namespace scheme
