// The shell's own context menu for a selection of items, with a Send To
// sub-menu filled by the program, without the shell's rename (which needs a
// view of the shell's own) and with the program's install of a cursor pack
// in place of the shell's, and single shell commands run without a menu.
#pragma once
#include "ui/busy.h"
#include "ui/component.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

// Commands InvokeItemCommand runs on one item.
enum TItemCommand : unsigned char {
    icCreateShortcut = 0,
    icDelete = 1,
    icProperties = 2,
    icCopy = 3,
    icPaste = 4,
};

class TContextMenuEx : public ui::Component {
public:
    // Command ids of the popup menu: the shell's, then the Send To entries.
    // The shell's range ends below the Send To ids, so that no command of
    // its own is taken for a Send To choice.
    static constexpr UINT kFirstSendToId = 1525;
    static constexpr int kMaxSendToEntries = 100;
    static constexpr UINT kLastSendToId = kFirstSendToId + kMaxSendToEntries - 1;
    static constexpr UINT kFirstShellId = 1;
    static constexpr UINT kLastShellId = kFirstSendToId - 1;
    // The shell's copy command, run on the selection before a Send To paste.
    static constexpr UINT kCopyId = 26;
    // The program's install of a cursor pack.
    static constexpr UINT kInstallId = kLastSendToId + 1;

    TContextMenuEx() = default;
    ~TContextMenuEx() override = default;

    // Shows the menu for `count` items of `folder`, given as a packed item list,
    // at a screen point, and carries out the choice. Answers whether a chosen
    // command was carried out (for a Send To choice: whether the paste was;
    // nothing is pasted when the copy failed, since the clipboard then holds
    // something else).
    // Virtual so that a test can record what a view asks for.
    virtual bool ShowItemMenu(HWND window, IShellFolder* folder, POINT screen, int count,
                              PCUIDLIST_RELATIVE items);
    // Runs one command on one item (a one-item relative list) of `folder`.
    virtual bool InvokeItemCommand(HWND window, IShellFolder* folder, TItemCommand command,
                                   PCUITEMID_CHILD item);
    // InvokeItemCommand on the item named by a file-system path.
    bool InvokePathCommand(HWND window, const std::wstring& path, TItemCommand command);

    // Replaces the shell's Send To sub-menu of `menu` (the item whose caption
    // has "(&N)" at byte 5) with the entries of the user's SendTo folder, ids
    // kFirstSendToId onwards. Answers whether the sub-menu was found.
    bool FillSendToMenu(HWND window, HMENU menu);
    // Pastes the clipboard into the SendTo entry at `index` (its position in
    // the folder now). Answers whether the paste was carried out.
    bool SendToItem(HWND window, int index);

    // Raised with true before and false after every shell command this
    // component runs (the shell's dialogs run nested message loops), in
    // pairs, also when one throws. Showing the menu itself raises nothing.
    ui::BusyEvent OnBusy;

    // Raised when the shell refuses a command this component asked it to run
    // (with the window that asked), while the command is still busy; the
    // application tells the user. A command the user cancelled in the shell's
    // own dialog is no refusal. A Send To choice stops at a refused copy.
    ui::Event<TContextMenuEx*, HWND> OnCommandFailed;

    // A cursor pack's setup file is installed by the program for this user,
    // in place of the shell's install for every user, which needs an
    // administrator: for one item whose parsing path offersInstall accepts,
    // the menu shows "インストール" where the shell's install verb stood, and
    // choosing it raises OnInstall (with the window and the path), busy.
    std::function<bool(const std::wstring& path)> offersInstall;
    ui::Event<TContextMenuEx*, HWND, const std::wstring&> OnInstall;

private:
    // InvokeVerb, raising OnCommandFailed when the shell refuses (not when
    // the user cancelled). True when the command was carried out.
    bool Invoke(IContextMenu* handler, HWND window, UINT offset);

public:
    // Not read by any operation; kept as the component's published list.
    std::vector<std::wstring> CMFileName;
};

// 1-based index of the first usable item of `menu` whose caption holds `text`
// at the 1-based byte position `position` of the caption's code page 932 form;
// -1 when none does. Greyed, disabled and separator items never match.
int FindMenuItemByText(HMENU menu, const std::wstring& text, int position);
