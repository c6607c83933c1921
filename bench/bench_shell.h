// What every benchmark of the shell views sets up: common controls, OLE and
// the program's shell module, alive while `run` runs.
#pragma once
#include "idlist/idlist.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

template <class Run>
int RunWithShell(Run&& run)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    int status = 0;
    {
        idlist::ShellModule module;
        status = run();
    }
    OleUninitialize();
    return status;
}
