#include "app/cursors/cursor_pack_menu.h"

#include "anicur/cursor_file.h"
#include "res/texts.h"
#include "scheme/error_box.h"
#include "scheme/named_schemes.h"
#include "scheme/registry.h"
#include "scheme/text_utils.h"
#include "ui/seams.h"

namespace {

// What kept a pack out, with its detail in place.
const wchar_t* ProblemText(scheme::PackProblem problem)
{
    using scheme::PackProblem;
    switch (problem) {
    case PackProblem::NoScheme: return texts::kPackNoScheme;
    case PackProblem::Malformed: return texts::kPackMalformed;
    case PackProblem::MissingSection: return texts::kPackMissingSection;
    case PackProblem::ClimbsOut: return texts::kPackClimbsOut;
    case PackProblem::BadFileName: return texts::kPackBadFileName;
    case PackProblem::NotShipped: return texts::kPackNotShipped;
    case PackProblem::NameClash: return texts::kPackNameClash;
    case PackProblem::BadSchemeName: return texts::kPackBadSchemeName;
    case PackProblem::Unreadable: return texts::kPackUnreadable;
    case PackProblem::TooLarge: return texts::kPackTooLarge;
    case PackProblem::MissingFile: return texts::kPackMissingFile;
    case PackProblem::Unloadable: return texts::kPackUnloadable;
    case PackProblem::FolderTaken: return texts::kPackFolderTaken;
    case PackProblem::NotCopied: return texts::kPackNotCopied;
    case PackProblem::NotStored: return texts::kPackNotStored;
    case PackProblem::None:
    case PackProblem::NotApplied:
    case PackProblem::Kept: break;
    }
    return L"";
}

} // namespace

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

void InstallPackFromMenu(HWND owner, const std::wstring& path)
{
    // Applied as any named scheme is; a scheme stored but not reloaded is
    // told as the scheme menu tells it.
    const auto apply = [owner](const std::wstring& name, const std::wstring&) {
        try {
            const scheme::SchemeApplyResult applied =
                scheme::ApplyScheme(name, scheme::SchemeSource::User, anicur::IsWholeCursorFile);
            if (applied.outcome == scheme::SchemeApply::StoredForNextSignIn)
                if (auto& box = ui::CurrentSeams().messageBox)
                    box(owner, texts::kSchemeStoredForNextSignIn, texts::AppTitle, MB_OK | MB_ICONINFORMATION);
            return applied.outcome == scheme::SchemeApply::Applied ||
                   applied.outcome == scheme::SchemeApply::StoredForNextSignIn;
        } catch (const scheme::ERegistryError&) {
            // The roles were put back; the pack stays installed.
            return false;
        }
    };
    // The same gate as every cursor the program hands to the system: a file
    // its own reader does not read whole never reaches the system's loader.
    // A scheme of the same name that this pack did not install is the
    // user's: it goes only when the user says so.
    const auto mayReplace = [owner](const std::wstring& name) {
        auto& box = ui::CurrentSeams().messageBox;
        return box && box(owner, scheme::FillPlaceholder(texts::kPackReplaceAsk, name).c_str(), texts::AppTitle,
                          MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    };
    const scheme::PackInstallResult result =
        scheme::InstallCursorPack(path, anicur::IsWholeCursorFile, mayReplace, apply);
    if (result.problem != scheme::PackProblem::None && result.problem != scheme::PackProblem::Kept)
        scheme::ShowError(owner, PackInstallMessage(result, path));
}
