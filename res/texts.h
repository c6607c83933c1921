// Every text the program shows that is not in the resource script.
// The file is UTF-8; the compiler turns the literals into UTF-16.
#pragma once

namespace texts {

inline constexpr wchar_t AppTitle[] = L"タリモク";
// Caption of the main window: the title, one blank, then the folder's path.
inline constexpr wchar_t CaptionPrefix[] = L"タリモク ";

// Box captions.
inline constexpr wchar_t ErrorCaption[] = L"エラー";

// Top-level handler, for failures that carry no message of their own.
inline constexpr wchar_t OutOfMemory[] = L"メモリが不足しています。";
inline constexpr wchar_t UnknownError[] = L"予期しないエラーが発生しました。";

// Registry writer.
inline constexpr wchar_t RegCreateKeyFailed[] = L"SetRegistryVal: RegCreateKeyEx failed";
inline constexpr wchar_t RegSetValueFailed[] = L"SetRegistryVal: RegSetValueEx failed";
// A cursor file that exists but that the system cannot load; %s is the path.
// A role stored whose cursor the system neither took nor reloaded.
inline constexpr wchar_t kCursorStoredForNextSignIn[] =
    L"「%s」のカーソルは保存されましたが、すぐには反映できませんでした。\n次回のサインイン時に有効になります。";
inline constexpr wchar_t CursorLoadFailed[] = L"カーソルファイル「%s」を読み込めませんでした。\nマウスポインタは変更されていません。";

// Roles of the cursor scheme, in the order of the role menu.
inline constexpr wchar_t RoleArrow[] = L"標準の選択";
inline constexpr wchar_t RoleHelp[] = L"ヘルプの選択";
inline constexpr wchar_t RoleAppStarting[] = L"ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞで作業中";
inline constexpr wchar_t RoleWait[] = L"待ち状態";
inline constexpr wchar_t RoleCrosshair[] = L"領域選択";
inline constexpr wchar_t RoleIBeam[] = L"ﾃｷｽﾄ選択";
inline constexpr wchar_t RoleNWPen[] = L"手書き";
inline constexpr wchar_t RoleNo[] = L"作業領域外";
inline constexpr wchar_t RoleSizeNS[] = L"上下に拡大/縮小";
inline constexpr wchar_t RoleSizeWE[] = L"左右に拡大/縮小";
inline constexpr wchar_t RoleSizeNWSE[] = L"斜めに拡大/縮小１";
inline constexpr wchar_t RoleSizeNESW[] = L"斜めに拡大/縮小２";
inline constexpr wchar_t RoleSizeAll[] = L"移動";
inline constexpr wchar_t RoleUpArrow[] = L"代替選択";
inline constexpr wchar_t kRoleHand[] = L"リンクの選択";
inline constexpr wchar_t kRolePin[] = L"位置の選択";
inline constexpr wchar_t kRolePerson[] = L"人の選択";
// The role menu's sub-menu of the roles whose value can be emptied again.
inline constexpr wchar_t RoleRestoreDefault[] = L"既定に戻す(&D)";

// File list columns.
inline constexpr wchar_t ColumnName[] = L"名前";
inline constexpr wchar_t ColumnSize[] = L"ｻｲｽﾞ";
inline constexpr wchar_t ColumnType[] = L"ﾌｧｲﾙの種類";
inline constexpr wchar_t ColumnDate[] = L"更新日時";
inline constexpr wchar_t SizeUnit[] = L"KB";

// Tool button hints.
inline constexpr wchar_t HintNewFolder[] = L"新しいﾌｫﾙﾀﾞの作成";
inline constexpr wchar_t HintRename[] = L"名前の変更（F2)";
inline constexpr wchar_t HintDelete[] = L"削除(Del)";
inline constexpr wchar_t HintFolderUp[] = L"一つ上のﾌｫﾙﾀﾞへ(BackSpace)";

// Shell context menu: the access keys it recognises in the shell's captions,
// and the box shown when a command fails.
inline constexpr wchar_t SendToAccessKey[] = L"(&N)";
inline constexpr wchar_t PasteAccessKey[] = L"(&P)";
inline constexpr wchar_t InvokeFailedText[] = L" InvokeCommand failed! ";
inline constexpr wchar_t InvokeFailedCaption[] = L" TContextMenuEx component version 2.04";
// The program's own install of a cursor pack, in place of the shell's.
inline constexpr wchar_t kInstallPack[] = L"インストール(&I)";
// Its boxes: the first line names the setup file (%s), the second what kept
// the pack out (%s: the line, section, file or scheme it is about), the
// third that nothing changed.
inline constexpr wchar_t kPackNotInstalled[] = L"カーソルパック「%s」をインストールできませんでした。";
inline constexpr wchar_t kPackNoScheme[] = L"インストールするカーソルのスキームがありません。";
inline constexpr wchar_t kPackMalformed[] = L"%s 行目を読み取れません。";
inline constexpr wchar_t kPackMissingSection[] = L"セクション「%s」がありません。";
inline constexpr wchar_t kPackClimbsOut[] = L"ファイル名「%s」はパックのフォルダの外を指しています。";
inline constexpr wchar_t kPackBadFileName[] = L"ファイル名「%s」は使えません。";
inline constexpr wchar_t kPackNotShipped[] = L"スキームのファイル「%s」はパックに含まれていません。";
inline constexpr wchar_t kPackNameClash[] = L"スキームの異なるファイルが同じ名前「%s」を持っています。";
inline constexpr wchar_t kPackBadSchemeName[] = L"スキーム名「%s」はフォルダ名に使えません。";
inline constexpr wchar_t kPackUnreadable[] = L"ファイルを読み込めませんでした。";
inline constexpr wchar_t kPackTooLarge[] = L"ファイルが %s KB を超えています。";
inline constexpr wchar_t kPackMissingFile[] = L"ファイル「%s」が見つかりません。";
inline constexpr wchar_t kPackUnloadable[] = L"カーソルファイル「%s」を読み込めませんでした。";
inline constexpr wchar_t kPackNotCopied[] = L"「%s」にファイルを置けませんでした。";
inline constexpr wchar_t kPackNotStored[] = L"スキーム「%s」を保存できませんでした。";
inline constexpr wchar_t kPackFolderTaken[] = L"スキーム「%s」のファイルが同じフォルダにあります。";
inline constexpr wchar_t kPackReplaceAsk[] =
    L"スキーム「%s」は既にあります。このカーソルパックのスキームで置き換えますか?";
inline constexpr wchar_t kPackNothingChanged[] = L"何も変更されていません。";
// Installed, but the scheme (%s) could not be applied.
inline constexpr wchar_t kPackNotApplied[] = L"スキーム「%s」をインストールしましたが、適用できませんでした。";

// Go-to-folder dialog: follows the typed text in double quotes when it names
// no existing folder.
inline constexpr wchar_t GoFolderNotFound[] = L"が見つかりません。フォルダを確認して下さい。";

// Main window: its placement could not be stored when it closed.
inline constexpr wchar_t PlacementNotSaved[] = L"ウィンドウの位置を保存できませんでした。";

// New folder: the name it gets (half-width katakana; numbered forms add
// " (2)", " (3)", ...), and the box when it cannot be created.
inline constexpr wchar_t NewFolderName[] = L"新しいﾌｫﾙﾀﾞ";
inline constexpr wchar_t NewFolderFailed[] = L"フォルダが作成できません";

// Delete: a file whose path is longer than the shell's file operations take
// (the box names the file above this line).
inline constexpr wchar_t PathTooLongToDelete[] = L"パスが長すぎるため削除できません。";
// The file list: a folder whose path is too long for the system to read it
// (the box names the folder above this line).
inline constexpr wchar_t kPathTooLongToRead[] = L"パスが長すぎるためフォルダを読み込めません。";
// The file list: a folder that cannot be read (the box names the folder
// above this line and gives the system's reason below it).
inline constexpr wchar_t kFolderUnreadable[] = L"フォルダを読み込めません。";

// The mouse settings: a program of the system folder and its arguments.
inline constexpr wchar_t MouseControlPanelProgram[] = L"control.exe";
inline constexpr wchar_t MouseControlPanelArguments[] = L"main.cpl";

// The scheme menu and its boxes.
inline constexpr wchar_t kSchemeSystemSuffix[] = L" (システム スキーム)";
inline constexpr wchar_t kSchemeDeleteMenu[] = L"スキームの削除(&D)";
inline constexpr wchar_t kSchemeReplaceAsk[] = L"スキーム「%s」は既にあります。置き換えますか?";
inline constexpr wchar_t kSchemeDeleteAsk[] = L"スキーム「%s」を削除しますか?";
// Asked after a scheme the program installed from a cursor pack is deleted
// (%s: the scheme); the second box when some of its files stay (%s: their folder).
inline constexpr wchar_t kSchemePackFilesDeleteAsk[] =
    L"スキーム「%s」のカーソルパックからインストールしたファイルも削除しますか?";
inline constexpr wchar_t kSchemePackFilesKept[] = L"次のフォルダのファイルを削除できませんでした。\n\n%s";
inline constexpr wchar_t kSchemeNotFound[] = L"スキーム「%s」が見つかりません。";
inline constexpr wchar_t kSchemeUnloadable[] =
    L"次のカーソルファイルを読み込めないため、スキームを適用できませんでした。\n"
    L"マウスポインタは変更されていません。\n\n%s";
inline constexpr wchar_t kSchemeUnfit[] =
    L"次のカーソルファイルの名前はスキームに保存できません (コンマなどを含みます)。\n"
    L"スキームは保存されていません。\n\n%s";
// Writing the pointers in use as a cursor pack (%s: the scheme's name; the
// pack's install.inf).
inline constexpr wchar_t kPackExportFolderTitle[] = L"パックを書き出すフォルダの選択";
inline constexpr wchar_t kPackNotExported[] = L"スキーム「%s」をパックとして書き出せませんでした。";
inline constexpr wchar_t kPackExported[] = L"パックを書き出しました。\n%s";
inline constexpr wchar_t kSchemeStoredForNextSignIn[] =
    L"スキームは保存されましたが、すぐには反映できませんでした。\n次回のサインイン時に有効になります。";

} // namespace texts
