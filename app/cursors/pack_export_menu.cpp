#include "app/cursors/pack_export_menu.h"

#include "dialogs/scheme_name_dialog.h"
#include "res/texts.h"
#include "scheme/cursor_scheme.h"
#include "scheme/error_box.h"
#include "scheme/named_schemes.h"
#include "scheme/pack_export.h"
#include "scheme/text_utils.h"
#include "ui/handles.h"
#include "ui/seams.h"

#include <shobjidl.h>

#include <optional>
#include <string>

namespace {

// The folder the user picks in the system's folder dialog; nothing when
// cancelled or when the dialog cannot be shown.
std::optional<std::wstring> PickFolder(HWND owner)
{
    ui::ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                dialog.put_void())))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(texts::kPackExportFolderTitle);
    if (FAILED(dialog->Show(owner)))
        return std::nullopt;
    ui::ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.put())))
        return std::nullopt;
    PWSTR path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path)
        return std::nullopt;
    std::wstring folder(path);
    CoTaskMemFree(path);
    return folder;
}

const wchar_t* ProblemText(scheme::PackProblem problem)
{
    switch (problem) {
    case scheme::PackProblem::BadSchemeName: return texts::kPackBadSchemeName;
    case scheme::PackProblem::MissingFile: return texts::kPackMissingFile;
    default: return texts::kPackNotCopied;
    }
}

} // namespace

void ExportPackFromMenu(HWND owner)
{
    const scheme::CurrentScheme current = scheme::ReadCurrentScheme();
    SchemeNameDialog dialog;
    if (dialog.ShowModal(owner, current.name) != IDOK)
        return;
    // A copy: the dialog's loops may run anything meanwhile.
    const std::wstring name = dialog.EnteredName();
    const std::optional<std::wstring> folder = PickFolder(owner);
    if (!folder)
        return;
    const scheme::PackExportResult result = scheme::ExportCursorPack(*folder, name, scheme::ReadMouseCursors());
    if (result.problem != scheme::PackProblem::None) {
        scheme::ShowError(owner, scheme::FillPlaceholder(texts::kPackNotExported, name) + L"\n" +
                                     scheme::FillPlaceholder(ProblemText(result.problem), result.detail));
        return;
    }
    if (auto& box = ui::CurrentSeams().messageBox)
        box(owner, scheme::FillPlaceholder(texts::kPackExported, result.infPath).c_str(), texts::AppTitle,
            MB_OK | MB_ICONINFORMATION);
}
