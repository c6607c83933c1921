#include "dialogs/ufrmGo.h"

#include "dialogs/pixel_layout.h"
#include "scheme/error_box.h"
#include "scheme/utilities.h"
#include "ui/dpi.h"

#include "res/resource.h"
#include "res/texts.h"

#include <vector>

bool IsExistingFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

INT_PTR TfrmGo::ShowModal(HWND owner)
{
    enteredPath_.clear();
    return ui::Dialog::ShowModal(owner, IDD_FRMGO);
}

std::wstring TfrmGo::NotFoundMessage(const std::wstring& typed)
{
    return L"\"" + typed + L"\"" + texts::GoFolderNotFound;
}

void TfrmGo::Layout(int dpi)
{
    // Client 344 x 94; the font of the design, 12 pixels high. Where that
    // font is missing another one stands in: the label grows to its text.
    ui::UniqueFont font = dialogs::MakeDialogFont(L"ＭＳ Ｐゴシック", 12, dpi);
    dialogs::SetFontOnChildren(Handle(), font.get());
    font_ = std::move(font);
    dialogs::ApplyPixelLayout(Handle(), dpi, 344, 94,
                              {{IDC_GO_LABEL1, 16, 8, 157, 12},
                               {IDC_GO_EDTPATH, 32, 32, 297, 20},
                               {IDOK, 188, 64, 64, 21},
                               {IDCANCEL, 264, 64, 64, 21}});
    dialogs::FitLabelsToText(Handle(), {IDC_GO_LABEL1});
    // A label grown past the edit field's right edge widens the dialog.
    RECT label = dialogs::ClientRectOf(Handle(), IDC_GO_LABEL1);
    RECT client{};
    GetClientRect(Handle(), &client);
    dialogs::GrowClient(Handle(), label.right + ui::Scale(15, dpi) - client.right, 0);
}

bool TfrmGo::OnInitDialog()
{
    Layout(ui::DpiOf(Handle()));
    SetDlgItemTextW(Handle(), IDC_GO_EDTPATH, L"");
    if (centerOn)
        scheme::CenterWindow(Handle(), centerOn);
    SetFocus(GetDlgItem(Handle(), IDC_GO_EDTPATH));
    return false; // the focus stays in the edit field
}

bool TfrmGo::OnCommand(WORD id, WORD code, HWND control)
{
    if (id == IDOK) {
        btnOKClick();
        return true;
    }
    return ui::Dialog::OnCommand(id, code, control);
}

INT_PTR TfrmGo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DPICHANGED && lp) {
        // Moved to a monitor of another DPI: the design at the new DPI, where
        // the system suggests.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Layout(HIWORD(wp));
        return TRUE;
    }
    return ui::Dialog::HandleMessage(msg, wp, lp);
}

std::wstring TfrmGo::TypedText() const
{
    HWND edit = GetDlgItem(Handle(), IDC_GO_EDTPATH);
    int length = GetWindowTextLengthW(edit);
    std::vector<wchar_t> buffer(std::size_t(length) + 1);
    int got = GetWindowTextW(edit, buffer.data(), length + 1);
    return std::wstring(buffer.data(), std::size_t(got > 0 ? got : 0));
}

void TfrmGo::btnOKClick()
{
    std::wstring typed = TypedText();
    if (IsExistingFolder(typed)) {
        enteredPath_ = std::move(typed);
        End(IDOK);
        return;
    }
    scheme::ShowError(Handle(), NotFoundMessage(typed));
}
