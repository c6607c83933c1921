#include "app/cursor_pack_menu.h"

#include "anicur/cursor_file.h"
#include "res/texts.h"
#include "scheme/cursor_scheme.h"
#include "scheme/error_box.h"
#include "scheme/mouse_registry.h"
#include "scheme/text_utils.h"
#include "ui/handles.h"
#include "ui/seams.h"

#include <vector>

namespace {

// The values of the per-user scheme in the order of a scheme's text.
constexpr const wchar_t* kSchemeValues[scheme::kPackSchemeEntries] = {
    L"Arrow", L"Help", L"AppStarting", L"Wait", L"Crosshair", L"IBeam", L"NWPen", L"No", L"SizeNS",
    L"SizeWE", L"SizeNWSE", L"SizeNESW", L"SizeAll", L"UpArrow", L"Hand", L"Pin", L"Person"};

// What kept a pack out, with its detail in place.
const wchar_t* ProblemText(scheme::PackProblem problem)
{
    using scheme::PackProblem;
    switch (problem) {
    case PackProblem::NoScheme: return texts::kPackNoScheme;
    case PackProblem::Malformed: return texts::kPackMalformed;
    case PackProblem::MissingSection: return texts::kPackMissingSection;
    case PackProblem::ClimbsOut: return texts::kPackClimbsOut;
    case PackProblem::NotShipped: return texts::kPackNotShipped;
    case PackProblem::NameClash: return texts::kPackNameClash;
    case PackProblem::BadSchemeName: return texts::kPackBadSchemeName;
    case PackProblem::Unreadable: return texts::kPackUnreadable;
    case PackProblem::MissingFile: return texts::kPackMissingFile;
    case PackProblem::Unloadable: return texts::kPackUnloadable;
    case PackProblem::NotCopied: return texts::kPackNotCopied;
    case PackProblem::NotStored: return texts::kPackNotStored;
    case PackProblem::None:
    case PackProblem::NotApplied: break;
    }
    return L"";
}

} // namespace

bool ApplyPackScheme(const std::wstring& name, const std::wstring& text)
{
    // Every file is loaded first: a scheme with one the system cannot load
    // changes nothing.
    std::vector<std::wstring> entries;
    for (std::size_t start = 0; entries.size() < scheme::kPackSchemeEntries;) {
        const std::size_t comma = text.find(L',', start);
        entries.push_back(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    entries.resize(scheme::kPackSchemeEntries);
    const auto& load = ui::CurrentSeams().loadCursor;
    for (const std::wstring& entry : entries)
        if (!entry.empty() && (!load || !load(scheme::ExpandCursorPath(entry))))
            return false;

    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, scheme::CursorSchemeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        return false;
    ui::UniqueKey key(opened);
    const auto set = [&](const wchar_t* value, DWORD type, const void* data, std::size_t bytes) {
        return RegSetValueExW(key.get(), value, 0, type, static_cast<const BYTE*>(data), DWORD(bytes)) ==
               ERROR_SUCCESS;
    };
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!set(kSchemeValues[i], REG_EXPAND_SZ, entries[i].c_str(), (entries[i].size() + 1) * sizeof(wchar_t)))
            return false;
    const DWORD userScheme = 1;
    if (!set(nullptr, REG_SZ, name.c_str(), (name.size() + 1) * sizeof(wchar_t)) ||
        !set(L"Scheme Source", REG_DWORD, &userScheme, sizeof(userScheme)))
        return false;
    // A reload the system refuses still leaves the scheme stored: it takes
    // effect at the next sign-in.
    if (const auto& reload = ui::CurrentSeams().systemParametersInfo)
        reload(SPI_SETCURSORS, 0, nullptr, SPIF_SENDCHANGE);
    return true;
}

bool OffersPackInstall(const std::wstring& path)
{
    return scheme::IsCursorPackFile(path);
}

std::wstring PackInstallMessage(const scheme::PackInstallResult& result, const std::wstring& path)
{
    if (result.problem == scheme::PackProblem::NotApplied)
        return scheme::FillPlaceholder(texts::kPackNotApplied, result.schemeName);
    const std::size_t cut = path.find_last_of(L"\\/");
    const std::wstring name = cut == std::wstring::npos ? path : path.substr(cut + 1);
    return scheme::FillPlaceholder(texts::kPackNotInstalled, name) + L"\n" +
           scheme::FillPlaceholder(ProblemText(result.problem), result.detail) + L"\n" + texts::kPackNothingChanged;
}

void InstallPackFromMenu(HWND owner, const std::wstring& path, const scheme::SchemeApplier& apply)
{
    // The same gate as every cursor the program hands to the system: a file
    // its own reader does not read whole never reaches the system's loader.
    const scheme::PackInstallResult result = scheme::InstallCursorPack(path, anicur::IsWholeCursorFile, apply);
    if (result.problem != scheme::PackProblem::None)
        scheme::ShowError(owner, PackInstallMessage(result, path));
}
