// スキーム > 現在のポインタをパックとして書き出す: the pointers in use written
// as a cursor pack into a folder the user chooses, under a name the user
// gives (the scheme in use's, to begin with).
#pragma once
#include <windows.h>

// Asks for the name and the folder (either cancelled: nothing written),
// writes the pack and says where it went or what kept it out.
void ExportPackFromMenu(HWND owner);
