// The program's start, between the process's set-up and its message loop.
#pragma once
#include "app/ufrmMain.h"

#include <string>
#include <vector>

// Makes the main window and opens the folder of the command line. An
// exception while the tree builds or while the folder opens is shown like
// any other and the start goes on. When the window cannot be made, an error
// box says so (with the reason, if one is known) and the answer is false:
// the program is to end with a non-zero code.
bool StartMainWindow(TfrmTarimoku& form, const std::vector<std::wstring>& arguments);

// The error box's text when the window cannot be made; `reason` (may be
// empty) follows on a line of its own.
std::wstring StartupFailureText(const std::wstring& reason);
