// Cursor assignment from the main window: the role menu that a right click on
// one cursor file (or the menu key on it) opens in place of the shell's
// context menu, and the command that opens the system's mouse settings.
#include "anicur/cursor_check.h"
#include "anicur/cursor_file.h"
#include "app/cursors/cursor_pack_menu.h"
#include "app/messages.h"
#include "app/ufrmMain.h"
#include "res/texts.h"
#include "scheme/cursor_scheme.h"
#include "scheme/error_box.h"
#include "scheme/text_utils.h"
#include "ui/dpi.h"
#include "ui/seams.h"
#include "ui/system_paths.h"
#include "ui/text.h"

namespace {

// A cursor file by its parsing path: a cursor extension, and not a folder
// that happens to carry one in its name.
bool IsCursorFile(const std::wstring& path)
{
    return anicur::CursorFileKind(path) != anicur::CursorKind::None && !FolderExists(path);
}

// Posts a message when the scope ends, however it ends.
class PostOnExit {
public:
    PostOnExit(HWND wnd, UINT msg) : wnd_(wnd), msg_(msg) {}
    ~PostOnExit() { ui::PostPrivate(wnd_, msg_); }
    PostOnExit(const PostOnExit&) = delete;
    PostOnExit& operator=(const PostOnExit&) = delete;

private:
    HWND wnd_;
    UINT msg_;
};

} // namespace

void TfrmTarimoku::BuildRoleMenu()
{
    roleMenu.Build(PopupMenuMouse, IDM_ROLE_DEFAULT_FIRST, ui::Bind(this, &TfrmTarimoku::RoleMenuClick),
                   ui::Bind(this, &TfrmTarimoku::RestoreMenuClick));
    // Reading seventeen cursor files takes a moment: do it once the window
    // is idle, so that the first right click opens the menu as fast as any.
    ui::PostPrivate(Handle(), WM_PREPAREROLEMENU);
}

void TfrmTarimoku::FileViewMouseUp(ui::Control*, ui::MouseButton button, ui::ShiftState, int x, int y)
{
    if (button != ui::MouseButton::Right)
        return;
    int selected = 0;
    for (int i = 0, n = FileView.Count(); i < n; ++i)
        if (FileView.IsSelected(i))
            ++selected;
    POINT pt{x, y};
    ClientToScreen(FileView.Handle(), &pt);
    if (selected != 1)
        return;
    // The item's parsing path, not its caption: the caption hides the
    // extension where the system hides those of registered types.
    int item = FileView.NextSelected(-1);
    const std::wstring path = item < 0 ? std::wstring() : GetItemPath(FileView, item);
    if (!IsCursorFile(path))
        return;
    // The list finds no context menu for this click; the posted message
    // links it again once the role menu has closed, also when a role's
    // assignment fails.
    FileView.ContextMenu = nullptr;
    PostOnExit restore(Handle(), WM_RESTORECONTEXTMENU);
    // The menu's loop runs timers and posted messages: a refill meanwhile may
    // select another item. The role goes to the file clicked here.
    CursorRoleMenu::Opening opening(roleMenu, path);
    roleMenu.Prepare(path, ui::DpiOf(Handle()));
    PopupMenuMouse.Popup(Handle(), pt.x, pt.y);
}

void TfrmTarimoku::RoleMenuClick(ui::MenuItem* sender)
{
    std::wstring path = roleMenu.File();
    if (!sender || !IsCursorFile(path))
        return;
    path = ui::LowerCase(path);
    path.resize(ui::UpToNull(path).size());
    pointerHistory_.Remember();
    // A file this program's reader does not read whole never reaches the
    // system's loader, which a broken file can bring down; a file the system
    // cannot load either is refused before the scheme is touched; so is one
    // deleted since the list showed it. Each way the user is told that the
    // pointer stayed as it was.
    switch (scheme::SetMouseCursor(sender->Tag(), path, anicur::IsWholeCursorFile)) {
    case scheme::CursorAssignment::Applied:
        break;
    case scheme::CursorAssignment::StoredForNextSignIn:
        if (auto& box = ui::CurrentSeams().messageBox)
            box(Handle(),
                scheme::FillPlaceholder(texts::kCursorStoredForNextSignIn, scheme::MouseRegistry[sender->Tag()].Caption)
                    .c_str(),
                texts::AppTitle, MB_OK | MB_ICONINFORMATION);
        break;
    default:
        scheme::ShowError(Handle(), scheme::FillPlaceholder(texts::CursorLoadFailed, path));
        break;
    }
}

void TfrmTarimoku::RestoreMenuClick(ui::MenuItem* sender)
{
    // A failed write leaves the scheme as it was and reaches the window's
    // top-level handling, as a failed assignment does.
    if (!sender)
        return;
    pointerHistory_.Remember();
    scheme::RestoreMouseCursor(sender->Tag());
}

void TfrmTarimoku::UndoPointerChange()
{
    // A failed write reaches the window's top-level handling; the step stays.
    switch (pointerHistory_.Undo()) {
    case PointerHistory::Undone::Nothing:
        if (auto& beep = ui::CurrentSeams().messageBeep)
            beep(MB_OK);
        break;
    case PointerHistory::Undone::StoredForNextSignIn:
        if (auto& box = ui::CurrentSeams().messageBox)
            box(Handle(), texts::kSchemeStoredForNextSignIn, texts::AppTitle, MB_OK | MB_ICONINFORMATION);
        break;
    case PointerHistory::Undone::Applied:
        break;
    }
}

void TfrmTarimoku::mitemDispCtrlPnlMouseClick()
{
    std::wstring program = ui::SystemProgram(texts::MouseControlPanelProgram);
    if (auto& run = ui::CurrentSeams().runProgram; run && !program.empty())
        run(program, texts::MouseControlPanelArguments, SW_SHOWNORMAL);
}

void TfrmTarimoku::ContextMenuCommandFailed(TContextMenuEx*, HWND)
{
    if (auto& box = ui::CurrentSeams().messageBox)
        box(Handle(), texts::InvokeFailedText, texts::InvokeFailedCaption, MB_OK | MB_ICONINFORMATION);
}

void TfrmTarimoku::ContextMenuInstall(TContextMenuEx*, HWND, const std::wstring& path)
{
    pointerHistory_.Remember();
    InstallPackFromMenu(Handle(), path);
}
