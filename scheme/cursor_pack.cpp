#include "scheme/cursor_pack.h"

#include <cstdint>
#include <optional>

namespace scheme {

namespace {

constexpr wchar_t kSchemesKey[] = L"Control Panel\\Cursors\\Schemes";
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
                      Climbs,
                      Bad };

// One file name, without a folder.
NameKind NameOf(std::wstring_view name)
{
    if (name.empty())
        return NameKind::Bad;
    if (name == L"." || name == L".." || name.find_first_of(L"\\/:") != std::wstring_view::npos)
        return NameKind::Climbs;
    for (wchar_t c : name)
        if (!IsNameCharacter(c))
            return NameKind::Bad;
    return NameKind::Plain;
}

// A path below the pack's folder: plain names joined by '\' or '/'.
NameKind RelativePathOf(std::wstring_view path)
{
    if (path.empty())
        return NameKind::Bad;
    while (true) {
        const std::size_t cut = path.find_first_of(L"\\/");
        const NameKind part = NameOf(path.substr(0, cut));
        // An empty part is a leading separator (a root) or a share's "\\".
        if (part != NameKind::Plain)
            return part == NameKind::Bad && cut != std::wstring_view::npos ? NameKind::Climbs : part;
        if (cut == std::wstring_view::npos)
            return NameKind::Plain;
        path.remove_prefix(cut + 1);
    }
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
        if (plan_.problem == PackProblem::None && ReadCopies())
            ResolveEntries(line->fields.size() > 4 ? line->fields[4] : std::wstring());
        return Done();
    }

    // The first AddReg line of the install section that writes a value
    // under the schemes key; null when there is none or, unless `lenient`, a
    // line in the way is malformed (the plan says which).
    const InfLine* SchemeLine(bool lenient)
    {
        const InfSection* install = FindInstallSection(inf_);
        if (!install)
            return nullptr;
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
                    return nullptr;
                }
                for (const InfLine& line : section->lines) {
                    const std::optional<bool> writes = WritesScheme(line);
                    if (!writes && !lenient) {
                        Fail(PackProblem::Malformed, std::to_wstring(line.number));
                        return nullptr;
                    }
                    if (writes.value_or(false))
                        return &line;
                }
            }
        }
        return nullptr;
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

    // Whether an AddReg line writes a scheme; none when it is malformed.
    static std::optional<bool> WritesScheme(const InfLine& line)
    {
        if (line.hasKey || line.fields.size() < 2)
            return std::nullopt;
        const std::wstring_view root = Trimmed(line.fields[0]);
        if (!SameInfName(root, L"HKCU") && !SameInfName(root, L"HKEY_CURRENT_USER"))
            return false;
        if (FolderKey(Trimmed(line.fields[1])) != FolderKey(kSchemesKey))
            return false;
        const std::optional<std::uint32_t> flags = ParseFlags(line.fields.size() > 3 ? line.fields[3] : L"");
        if (!flags)
            return std::nullopt;
        // Deleting a value, making the key alone, or the key's unnamed value
        // write no scheme.
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
                Fail(kind == NameKind::Climbs ? PackProblem::ClimbsOut : PackProblem::Malformed, std::wstring(text));
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
                Fail(kind == NameKind::Climbs ? PackProblem::ClimbsOut : PackProblem::Malformed, std::wstring(part));
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
                if (!section) {
                    Fail(PackProblem::MissingSection, std::wstring(list));
                    return false;
                }
                const std::optional<std::wstring> folder = DestinationOf(list);
                if (!folder)
                    return false;
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

    const CopiedFile* Copied(std::wstring_view entry) const
    {
        // The Windows folder by the names the system knows it by.
        std::wstring path(entry);
        for (const wchar_t* alias : {L"%SystemRoot%", L"%windir%"})
            if (StartsWithName(path, alias))
                path = L"%10%" + path.substr(std::wstring_view(alias).size());
        const std::size_t cut = path.find_last_of(L"\\/");
        if (cut == std::wstring::npos)
            return nullptr;
        const std::wstring folder = FolderKey(std::wstring_view(path).substr(0, cut));
        const std::wstring_view name = std::wstring_view(path).substr(cut + 1);
        for (const CopiedFile& copy : copies_)
            if (copy.folder == folder && SameInfName(copy.name, name))
                return &copy;
        return nullptr;
    }

    void ResolveEntries(std::wstring_view text)
    {
        std::vector<const CopiedFile*> chosen;
        while (plan_.entries.size() < kMouseRoleCount) {
            const std::size_t comma = text.find(L',');
            const std::wstring_view entry = Trimmed(text.substr(0, comma));
            if (entry.empty()) {
                plan_.entries.emplace_back();
            } else {
                const CopiedFile* copy = Copied(entry);
                if (!copy) {
                    Fail(PackProblem::NotShipped, std::wstring(entry));
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
                plan_.entries.push_back(copy->name);
            }
            if (comma == std::wstring_view::npos)
                break;
            text.remove_prefix(comma + 1);
        }
    }

    const InfFile& inf_;
    PackPlan plan_;
    std::vector<CopiedFile> copies_;
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
    if (name.empty())
        return name;
    const std::wstring_view base = std::wstring_view(name).substr(0, name.find(L'.'));
    bool device = false;
    for (const wchar_t* reserved : {L"CON", L"PRN", L"AUX", L"NUL"})
        device = device || SameInfName(base, reserved);
    if (base.size() == 4 && (StartsWithName(base, L"COM") || StartsWithName(base, L"LPT")) && base[3] >= L'1' &&
        base[3] <= L'9')
        device = true;
    return device ? L"_" + name : name;
}

} // namespace scheme
