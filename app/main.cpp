// Program entry: set up the process, create the main window, run the loop.
#include "app/startup.h"
#include "app/ufrmMain.h"
#include "scheme/error_box.h"
#include "res/texts.h"
#include "idlist/idlist.h"
#include "shview/fileview/fill_feed.h"
#include "ui/application.h"
#include "ui/exception.h"

#include <commctrl.h>
#include <ole2.h>

namespace {

int RunProgram(int showCommand)
{
    auto& app = ui::Application::Instance();
    app.SetTitle(texts::AppTitle);
    TfrmTarimoku form;
    form.RestorePos.SetRegistryKey(TfrmTarimoku::kPlacementKey);
    form.RestorePos.SetRegistryName(TfrmTarimoku::kPlacementName);
    if (!StartMainWindow(form, CommandLineArguments()))
        return 1;
    form.Show(form.RestorePos.ShowCommand(showCommand));
    return app.Run(form.Handle(), form.Accelerators());
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    ui::SetExceptionTexts({texts::AppTitle, texts::OutOfMemory, texts::UnknownError});
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    // The shell's copy, paste and drag commands need OLE on this thread.
    OleInitialize(nullptr);
    int result = 1;
    {
        // The shell allocator and the desktop folder live until the window
        // has gone and the folders' readers with it: a reader frees its lists
        // through the allocator up to its end.
        idlist::ShellModule shell;
        try {
            result = RunProgram(showCommand);
        } catch (...) {
            // Whatever escaped the window's own handling ends the program with a word.
            scheme::ShowError(nullptr, ui::CurrentExceptionMessage());
        }
        // A folder still being read stops at its next item.
        shview::FillFeed::WaitForReaders(2000);
    }
    OleUninitialize();
    return result;
}
