// The name under which the cursors in use are saved as a scheme.
#pragma once
#include "ui/dialog.h"

#include <string>

class SchemeNameDialog : public ui::Dialog {
public:
    // Shows the dialog modally, `name` typed in; answers IDOK with a name
    // that is not blank, IDCANCEL, or -1 if it could not be shown.
    INT_PTR ShowModal(HWND owner, const std::wstring& name);

    // The name as it stood at OK, blanks around it dropped.
    const std::wstring& EnteredName() const noexcept { return name_; }

    // The longest name the edit field takes.
    static constexpr int kMaxName = 128;

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    // The edit field's text without the blanks around it.
    std::wstring TypedName() const;
    std::wstring name_;
};
