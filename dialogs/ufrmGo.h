// The go-to-folder dialog: the user types the path of a folder to show.
#pragma once
#include "ui/dialog.h"
#include "ui/handles.h"

#include <string>

class TfrmGo : public ui::Dialog {
public:
    // Shows the dialog modally; answers IDOK (the typed text names an
    // existing folder) or IDCANCEL, -1 if it could not be shown.
    INT_PTR ShowModal(HWND owner);

    // When set, the dialog is centred on this window as it opens.
    HWND centerOn = nullptr;

    // The text of edtPath as it stood when the dialog ended with OK.
    const std::wstring& EnteredPath() const noexcept { return enteredPath_; }

    // The message shown for a typed text that names no existing folder.
    static std::wstring NotFoundMessage(const std::wstring& typed);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // OK: ends the dialog when the typed text names an existing folder,
    // otherwise says so and stays open with the text unchanged.
    void btnOKClick();

private:
    // The controls, their font and the dialog's size at `dpi`.
    void Layout(int dpi);
    std::wstring TypedText() const;
    ui::UniqueFont font_;
    std::wstring enteredPath_;
};

// True when `path`, taken as it stands, names an existing folder.
bool IsExistingFolder(const std::wstring& path);
