#include "dialogs/scheme_name_dialog.h"

#include "res/resource.h"
#include "scheme/utilities.h"

#include <cwctype>

INT_PTR SchemeNameDialog::ShowModal(HWND owner, const std::wstring& name)
{
    name_ = name;
    const INT_PTR result = ui::Dialog::ShowModal(owner, IDD_SCHEMENAME);
    if (result != IDOK)
        name_.clear();
    return result;
}

bool SchemeNameDialog::OnInitDialog()
{
    HWND edit = GetDlgItem(Handle(), IDC_SCHEMENAME_EDIT);
    SendMessageW(edit, EM_LIMITTEXT, kMaxName, 0);
    SetWindowTextW(edit, name_.c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    EnableWindow(GetDlgItem(Handle(), IDOK), !TypedName().empty());
    if (HWND owner = GetWindow(Handle(), GW_OWNER))
        scheme::CenterWindow(Handle(), owner);
    SetFocus(edit);
    return false; // the focus stays in the edit field
}

bool SchemeNameDialog::OnCommand(WORD id, WORD code, HWND control)
{
    if (id == IDC_SCHEMENAME_EDIT && code == EN_CHANGE) {
        EnableWindow(GetDlgItem(Handle(), IDOK), !TypedName().empty());
        return true;
    }
    if (id == IDOK) {
        // Enter reaches here even while OK is greyed.
        name_ = TypedName();
        if (!name_.empty())
            End(IDOK);
        return true;
    }
    return ui::Dialog::OnCommand(id, code, control);
}

std::wstring SchemeNameDialog::TypedName() const
{
    wchar_t buffer[kMaxName + 2] = {};
    GetDlgItemTextW(Handle(), IDC_SCHEMENAME_EDIT, buffer, kMaxName + 1);
    std::wstring name(buffer);
    const auto blank = [](wchar_t c) { return std::iswspace(c) || c == L'\x3000'; };
    while (!name.empty() && blank(name.back()))
        name.pop_back();
    std::size_t first = 0;
    while (first < name.size() && blank(name[first]))
        ++first;
    return name.substr(first);
}
