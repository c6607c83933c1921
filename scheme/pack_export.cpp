#include "scheme/pack_export.h"

#include "scheme/cursor_scheme.h"
#include "scheme/text_utils.h"

#include <windows.h>
#include <algorithm>

namespace scheme {
namespace {

std::wstring LastPart(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool SameText(const std::wstring& a, const std::wstring& b) noexcept
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// A file's name fit for the pack: its stem as a folder name would be, its
// extension kept.
std::wstring FitName(const std::wstring& name)
{
    const std::size_t dot = name.rfind(L'.');
    const std::wstring ext = dot == std::wstring::npos ? L"" : PackFolderName(name.substr(dot));
    std::wstring stem = PackFolderName(name.substr(0, dot));
    return (stem.empty() ? L"cursor" : stem) + ext;
}

// A quoted string of a setup file: a quote doubled, a percent sign doubled.
std::wstring Quoted(const std::wstring& text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text)
        out += c == L'"' ? L"\"\"" : c == L'%' ? L"%%"
                                               : std::wstring(1, c);
    return out + L"\"";
}

bool WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring bytes = L"\xFEFF" + text;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size() * sizeof(wchar_t));
    const bool ok = WriteFile(file, bytes.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

bool IsEmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return true;
    bool empty = true;
    do
        empty = empty && (std::wstring(found.cFileName) == L"." || std::wstring(found.cFileName) == L"..");
    while (empty && FindNextFileW(find, &found));
    FindClose(find);
    return empty;
}

} // namespace

PointerSet PackFileNames(const PointerSet& set)
{
    PointerSet names;
    std::vector<std::pair<std::wstring, std::wstring>> given; // expanded source, name
    for (std::size_t role = 0; role < set.size(); ++role) {
        if (set[role].empty())
            continue;
        const std::wstring source = ExpandCursorPath(set[role]);
        const auto same =
            std::find_if(given.begin(), given.end(), [&](const auto& g) { return SameText(g.first, source); });
        if (same != given.end()) {
            names[role] = same->second;
            continue;
        }
        const std::wstring fit = FitName(LastPart(source));
        std::wstring name = fit;
        const std::size_t dot = fit.rfind(L'.');
        const auto taken = [&](const std::wstring& candidate) {
            const auto named = [&](const auto& g) { return SameText(g.second, candidate); };
            return std::any_of(given.begin(), given.end(), named);
        };
        for (int n = 2; taken(name); ++n)
            name = fit.substr(0, dot) + L" (" + std::to_wstring(n) + L")" +
                   (dot == std::wstring::npos ? L"" : fit.substr(dot));
        given.emplace_back(source, name);
        names[role] = name;
    }
    return names;
}

std::wstring PackSetupText(const std::wstring& schemeName, const std::wstring& folderName, const PointerSet& names)
{
    const auto entry = [](const std::wstring& name) {
        return name.empty() ? std::wstring() : L"%10%\\%CUR_DIR%\\" + name;
    };
    std::wstring schemeText;
    for (std::size_t role = 0; role < names.size(); ++role)
        schemeText += (role ? L"," : L"") + entry(names[role]);
    std::wstring text = L"; A cursor pack: right-click this file and choose Install.\r\n\r\n"
                        L"[Version]\r\nsignature=\"$CHICAGO$\"\r\n\r\n"
                        L"[DefaultInstall]\r\nCopyFiles = Scheme.Cur\r\nAddReg = Scheme.Reg\r\n\r\n"
                        L"[DestinationDirs]\r\nScheme.Cur = 10,\"%CUR_DIR%\"\r\n\r\n"
                        L"[Scheme.Reg]\r\n"
                        L"HKCU,\"Control Panel\\Cursors\\Schemes\",\"%SCHEME_NAME%\",0x00020000,\"" +
                        schemeText + L"\"\r\n"
                                     L"HKCU,\"Control Panel\\Cursors\",,0x00020000,\"%SCHEME_NAME%\"\r\n";
    for (std::size_t role = 0; role < names.size(); ++role)
        text += L"HKCU,\"Control Panel\\Cursors\"," + std::wstring(MouseRegistry[role].ValueName) +
                L",0x00020000,\"" + entry(names[role]) + L"\"\r\n";
    text += L"\r\n[Scheme.Cur]\r\n";
    std::vector<std::wstring> listed;
    for (const std::wstring& name : names)
        if (!name.empty() && std::find(listed.begin(), listed.end(), name) == listed.end()) {
            listed.push_back(name);
            text += L"\"" + name + L"\"\r\n";
        }
    return text + L"\r\n[Strings]\r\nCUR_DIR = " + Quoted(L"Cursors\\" + folderName) +
           L"\r\nSCHEME_NAME = " + Quoted(schemeName) + L"\r\n";
}

PackExportResult ExportCursorPack(const std::wstring& parent, const std::wstring& schemeName, const PointerSet& set)
{
    PackExportResult result;
    const std::wstring folderName = PackFolderName(schemeName);
    if (folderName.empty() || schemeName.find_first_of(L"\"%") != std::wstring::npos) {
        result.problem = PackProblem::BadSchemeName;
        result.detail = schemeName;
        return result;
    }
    for (const std::wstring& path : set)
        if (!path.empty() && !IsExistingFile(ExpandCursorPath(path))) {
            result.problem = PackProblem::MissingFile;
            result.detail = ExpandCursorPath(path);
            return result;
        }
    std::wstring folder = parent;
    AddBackslash(folder);
    folder += folderName;
    const bool made = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
    if (!made && (GetLastError() != ERROR_ALREADY_EXISTS || !IsEmptyFolder(folder))) {
        result.problem = PackProblem::NotCopied;
        result.detail = folder;
        return result;
    }
    const PointerSet names = PackFileNames(set);
    std::vector<std::wstring> written;
    const auto fail = [&](const std::wstring& what) {
        for (const std::wstring& file : written)
            DeleteFileW(file.c_str());
        if (made)
            RemoveDirectoryW(folder.c_str());
        result.problem = PackProblem::NotCopied;
        result.detail = what;
        return result;
    };
    for (std::size_t role = 0; role < set.size(); ++role) {
        if (names[role].empty())
            continue;
        const std::wstring target = folder + L"\\" + names[role];
        if (std::find(written.begin(), written.end(), target) != written.end())
            continue;
        if (!CopyFileW(ExpandCursorPath(set[role]).c_str(), target.c_str(), TRUE))
            return fail(target);
        written.push_back(target);
    }
    const std::wstring inf = folder + L"\\install.inf";
    if (!WriteUtf16File(inf, PackSetupText(schemeName, folderName, names)))
        return fail(inf);
    result.infPath = inf;
    return result;
}

} // namespace scheme
