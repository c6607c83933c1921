// Program entry: set up the process, create the main window, run the loop.
#include "app/ufrmMain.h"
#include "res/texts.h"
#include "ui/application.h"

#include <commctrl.h>
#include <ole2.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    // The shell's copy, paste and drag commands need OLE on this thread.
    OleInitialize(nullptr);

    auto& app = ui::Application::Instance();
    app.SetTitle(texts::AppTitle);
    int result = 1;
    {
        TfrmTarimoku form;
        if (form.Create()) {
            form.Show(showCommand);
            result = app.Run(form.Handle(), form.Accelerators());
        }
    }
    OleUninitialize();
    return result;
}
