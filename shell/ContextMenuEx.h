// The shell's own context menu for a selection of items, with a Send To
// sub-menu filled by the program, and single shell commands run without a menu.
#pragma once
#include "ui/component.h"

#include <windows.h>
#include <shlobj.h>

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
    TContextMenuEx() = default;
    ~TContextMenuEx() override = default;

    // Shows the menu for `count` items of `folder`, given as a packed item list,
    // at a screen point, and carries out the choice. Answers whether a command
    // was invoked. Virtual so that a test can record what a view asks for.
    virtual bool ShowItemMenu(HWND window, IShellFolder* folder, POINT screen, int count,
                              const ITEMIDLIST* items);
    // Runs one command on one item (a one-item relative list) of `folder`.
    virtual bool InvokeItemCommand(HWND window, IShellFolder* folder, TItemCommand command,
                                   const ITEMIDLIST* item);
    // InvokeItemCommand on the item named by a file-system path.
    bool InvokePathCommand(HWND window, const std::wstring& path, TItemCommand command);

    // Not read by any operation; kept as the component's published list.
    std::vector<std::wstring> CMFileName;
};

// 1-based index of the first usable item of `menu` whose caption holds `text`
// at the 1-based byte position `position` of the caption's code page 932 form;
// -1 when none does. Greyed, disabled and separator items never match.
int FindMenuItemByText(HMENU menu, const std::wstring& text, int position);
