// Identifiers shared by the resource script and the code.
#pragma once

#include "version.h"

#define IDI_APP 1
#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDB_NEWFOLDER 110
#define IDB_RENAME 111
#define IDB_DELETE 112
#define IDB_FOLDERUP 113
// The same pictures at 30, 36 and 48 pixels (125, 150 and 200 %).
#define IDB_NEWFOLDER_30 114
#define IDB_RENAME_30 115
#define IDB_DELETE_30 116
#define IDB_FOLDERUP_30 117
#define IDB_NEWFOLDER_36 118
#define IDB_RENAME_36 119
#define IDB_DELETE_36 140
#define IDB_FOLDERUP_36 141
#define IDB_NEWFOLDER_48 142
#define IDB_RENAME_48 143
#define IDB_DELETE_48 144
#define IDB_FOLDERUP_48 145

// The go-to-folder dialog (OK and Cancel are IDOK and IDCANCEL).
#define IDD_FRMGO 120
#define IDC_GO_LABEL1 1201
#define IDC_GO_EDTPATH 1202

// The about box ("閉じる" is IDCANCEL: default and cancel button at once).
#define IDD_FRMABOUT 130
#define IDC_ABOUT_LABEL2 1301
#define IDC_ABOUT_LBLVERSION 1302
#define IDC_ABOUT_LABEL4 1303
#define IDC_ABOUT_LABEL5 1304

// The name of a cursor scheme to save (OK and Cancel are IDOK and IDCANCEL).
#define IDD_SCHEMENAME 140
#define IDC_SCHEMENAME_LABEL 1401
#define IDC_SCHEMENAME_EDIT 1402

// Menu commands (menu bar, tool buttons, accelerators).
#define IDM_NEWFOLDER 1001
#define IDM_DELETE 1002
#define IDM_RENAME 1003
#define IDM_EXIT 1004
#define IDM_SELALL 1011
#define IDM_REVERSE 1012
#define IDM_UNDO 1013
#define IDM_DISPCTRLPNLMOUSE 1021
#define IDM_REFRESH 1022
#define IDM_GOTO 1031
#define IDM_ABOUT 1041
#define IDM_FOLDERUP 1051
#define IDM_SCHEME_SAVE 1061
#define IDM_SCHEME_EXPORT 1062

// Role menu items: IDM_ROLE_FIRST + role index.
#define IDM_ROLE_FIRST 2000
// Items of the role menu's "restore the default" sub-menu, in their order.
#define IDM_ROLE_DEFAULT_FIRST 2100

// The scheme menu's items made when it opens: applying scheme i
// (IDM_SCHEME_APPLY_FIRST + i), deleting the user's scheme i
// (IDM_SCHEME_DELETE_FIRST + i); at most IDM_SCHEME_COUNT of each.
#define IDM_SCHEME_APPLY_FIRST 2200
#define IDM_SCHEME_DELETE_FIRST 2600
#define IDM_SCHEME_COUNT 400
