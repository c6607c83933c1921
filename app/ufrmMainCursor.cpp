// Cursor assignment from the main window: the role menu that a right click on
// one cursor file opens in place of the shell's context menu, and the command
// that opens the system's mouse settings.
#include "app/messages.h"
#include "app/ufrmMain.h"
#include "res/texts.h"
#include "scheme/cursor_scheme.h"
#include "ui/text.h"

namespace {

bool IsCursorExtension(const std::wstring& name)
{
    std::wstring ext = ui::LowerCase(ui::ExtractFileExt(name));
    return ext == L".ani" || ext == L".cur";
}

// A cursor file by its parsing path: a cursor extension, and not a folder
// that happens to carry one in its name.
bool IsCursorFile(const std::wstring& path) { return IsCursorExtension(path) && !FolderExists(path); }

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

void RunHidden(const std::wstring& commandLine)
{
    std::wstring cmd = commandLine;
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    // As with the system's own launcher, failure is not reported.
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

} // namespace

std::function<void(const std::wstring&)> TfrmTarimoku::RunCommandLine = RunHidden;

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
    if (item < 0 || !IsCursorFile(GetItemPath(FileView, item)))
        return;
    // The list finds no context menu for this click; the posted message
    // links it again once the role menu has closed, also when a role's
    // assignment fails.
    FileView.ContextMenu = nullptr;
    PostOnExit restore(Handle(), WM_RESTORECONTEXTMENU);
    PopupMenuMouse.Popup(Handle(), pt.x, pt.y);
}

void TfrmTarimoku::RoleMenuClick(ui::MenuItem* sender)
{
    if (!sender || FileView.SelectedCount() == 0)
        return;
    std::wstring path = FileView.SelectedPath();
    if (!IsCursorFile(path))
        return;
    path = ui::LowerCase(path);
    path.resize(wcslen(path.c_str()));
    scheme::SetMouseCursor(sender->Tag(), path, Handle());
}

void TfrmTarimoku::mitemDispCtrlPnlMouseClick()
{
    if (RunCommandLine)
        RunCommandLine(texts::MouseControlPanel);
}
