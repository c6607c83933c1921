// The main window's dialogs: go to folder, about, and its own placement.
#include "app/ufrmMain.h"

#include "dialogs/ufrmAbout.h"
#include "dialogs/ufrmGo.h"
#include "scheme/error_box.h"

#include "res/texts.h"

void TfrmTarimoku::GoTo1Click()
{
    TfrmGo dialog;
    dialog.centerOn = Handle();
    if (dialog.ShowModal(Handle()) != IDOK)
        return;
    std::wstring path = dialog.EnteredPath();
    Navigate([&] { FolderView.SelectPath(path); });
}

void TfrmTarimoku::mitemAboutClick()
{
    TfrmAbout dialog;
    dialog.ShowModal(Handle());
}

void TfrmTarimoku::SavePlacement()
{
    if (!RestorePos.Save())
        scheme::ShowError(Handle(), texts::PlacementNotSaved);
}
