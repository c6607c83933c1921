#include "app/cursors/scheme_menu.h"

#include "anicur/cursor_file.h"
#include "app/cursors/pack_export_menu.h"
#include "dialogs/scheme_name_dialog.h"
#include "res/resource.h"
#include "res/texts.h"
#include "scheme/cursor_pack_install.h"
#include "scheme/cursor_scheme.h"
#include "scheme/error_box.h"
#include "scheme/text_utils.h"
#include "ui/seams.h"

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) noexcept
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// A name as a menu item shows it: an ampersand is no access key.
std::wstring ItemText(const std::wstring& name)
{
    std::wstring text;
    for (wchar_t c : name)
        text += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    return text;
}

std::wstring Lines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += (text.empty() ? L"" : L"\n") + line;
    return text;
}

bool Ask(HWND owner, const wchar_t* pattern, const std::wstring& name)
{
    auto& box = ui::CurrentSeams().messageBox;
    return box && box(owner, scheme::FillPlaceholder(pattern, name).c_str(), texts::AppTitle,
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void Inform(HWND owner, const std::wstring& text)
{
    if (auto& box = ui::CurrentSeams().messageBox)
        box(owner, text.c_str(), texts::AppTitle, MB_OK | MB_ICONINFORMATION);
}

} // namespace

bool SchemeMenu::Holds(HMENU menu) noexcept
{
    return menu && GetMenuItemID(menu, 0) == IDM_SCHEME_SAVE;
}

void SchemeMenu::Rebuild(HMENU menu)
{
    // Everything after the save and export commands goes; the sub-menu with it.
    while (GetMenuItemCount(menu) > 2)
        DeleteMenu(menu, 2, MF_BYPOSITION);
    applied_.clear();
    deleted_.clear();

    const scheme::CurrentScheme current = scheme::ReadCurrentScheme();
    for (scheme::SchemeSource source : {scheme::SchemeSource::User, scheme::SchemeSource::System}) {
        const std::vector<std::wstring> names = scheme::SchemeNames(source);
        if (names.empty())
            continue;
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        for (const std::wstring& name : names) {
            if (applied_.size() >= IDM_SCHEME_COUNT)
                break;
            const bool inUse = current.source == source && SameName(current.name, name);
            std::wstring text = ItemText(name);
            if (source == scheme::SchemeSource::System)
                text += texts::kSchemeSystemSuffix;
            AppendMenuW(menu, MF_STRING | (inUse ? MF_CHECKED : 0), IDM_SCHEME_APPLY_FIRST + applied_.size(),
                        text.c_str());
            applied_.push_back({name, source});
            if (source == scheme::SchemeSource::User)
                deleted_.push_back(name);
        }
    }
    if (deleted_.empty())
        return;
    HMENU sub = CreatePopupMenu();
    for (std::size_t i = 0; i < deleted_.size(); ++i)
        AppendMenuW(sub, MF_STRING, IDM_SCHEME_DELETE_FIRST + i, ItemText(deleted_[i]).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    // The menu owns the sub-menu from here on.
    if (!AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), texts::kSchemeDeleteMenu))
        DestroyMenu(sub);
}

bool SchemeMenu::Run(HWND owner, UINT id)
{
    if (id == IDM_SCHEME_SAVE) {
        Save(owner);
        return true;
    }
    if (id == IDM_SCHEME_EXPORT) {
        ExportPackFromMenu(owner);
        return true;
    }
    // Copies: a box's loop may open the menu again and rebuild the lists.
    if (id >= IDM_SCHEME_APPLY_FIRST && id - IDM_SCHEME_APPLY_FIRST < applied_.size()) {
        const Entry entry = applied_[id - IDM_SCHEME_APPLY_FIRST];
        Apply(owner, entry);
        return true;
    }
    if (id >= IDM_SCHEME_DELETE_FIRST && id - IDM_SCHEME_DELETE_FIRST < deleted_.size()) {
        const std::wstring name = deleted_[id - IDM_SCHEME_DELETE_FIRST];
        Delete(owner, name);
        return true;
    }
    return false;
}

void SchemeMenu::Save(HWND owner)
{
    const scheme::CurrentScheme current = scheme::ReadCurrentScheme();
    SchemeNameDialog dialog;
    if (dialog.ShowModal(owner, current.source == scheme::SchemeSource::User ? current.name : L"") != IDOK)
        return;
    const std::wstring& name = dialog.EnteredName();
    for (const std::wstring& existing : scheme::SchemeNames(scheme::SchemeSource::User))
        if (SameName(existing, name) && !Ask(owner, texts::kSchemeReplaceAsk, existing))
            return;
    if (const std::vector<std::wstring> unfit = scheme::SaveScheme(name, scheme::ReadMouseCursors()); !unfit.empty())
        scheme::ShowError(owner, scheme::FillPlaceholder(texts::kSchemeUnfit, Lines(unfit)));
}

void SchemeMenu::Apply(HWND owner, const Entry& entry)
{
    if (beforeApply)
        beforeApply();
    const scheme::SchemeApplyResult result = scheme::ApplyScheme(entry.name, entry.source, anicur::IsWholeCursorFile);
    switch (result.outcome) {
    case scheme::SchemeApply::Applied:
        break;
    case scheme::SchemeApply::StoredForNextSignIn:
        Inform(owner, texts::kSchemeStoredForNextSignIn);
        break;
    case scheme::SchemeApply::NotFound:
        scheme::ShowError(owner, scheme::FillPlaceholder(texts::kSchemeNotFound, entry.name));
        break;
    case scheme::SchemeApply::Unloadable:
        scheme::ShowError(owner, scheme::FillPlaceholder(texts::kSchemeUnloadable, Lines(result.unloadable)));
        break;
    }
}

void SchemeMenu::Delete(HWND owner, const std::wstring& name)
{
    if (!Ask(owner, texts::kSchemeDeleteAsk, name))
        return;
    // Read before the scheme goes: the files of a pack it alone uses are the
    // program's own copies, which nothing else would ever remove.
    const std::wstring packFolder = scheme::OwnPackFolder(name);
    if (!scheme::DeleteScheme(name)) {
        scheme::ShowError(owner, scheme::FillPlaceholder(texts::kSchemeNotFound, name));
        return;
    }
    if (!packFolder.empty() && Ask(owner, texts::kSchemePackFilesDeleteAsk, name) &&
        !scheme::RemovePackFolder(packFolder))
        scheme::ShowError(owner, scheme::FillPlaceholder(texts::kSchemePackFilesKept,
                                                         std::wstring(scheme::kPackRoot) + L"\\" + packFolder));
}
