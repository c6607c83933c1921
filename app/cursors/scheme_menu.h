// The menu bar's スキーム menu: save the cursors in use as a named scheme,
// apply any of the user's or the system's schemes (the one in use checked),
// delete one of the user's (with the files of a cursor pack the program
// installed for it, when the user wants). Schemes change outside the program
// too (the system's mouse settings), so the menu is made afresh each time it
// opens.
#pragma once
#include "scheme/named_schemes.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

class SchemeMenu {
public:
    // Makes `menu` (the menu bar's pop-up, whose first item is the save
    // command) list the schemes as they are now.
    void Rebuild(HMENU menu);
    // Whether `menu` is that pop-up.
    static bool Holds(HMENU menu) noexcept;

    // Runs a command of the menu for a window `owner`; false when `id` is not
    // one of the menu's own. Boxes and the name dialog belong to `owner`;
    // a registry failure passes to the caller as ERegistryError.
    bool Run(HWND owner, UINT id);

    // Called just before a scheme is applied (the window remembers the
    // pointers to take the change back).
    std::function<void()> beforeApply;

private:
    struct Entry {
        std::wstring name;
        scheme::SchemeSource source;
    };
    void Save(HWND owner);
    void Apply(HWND owner, const Entry& entry);
    void Delete(HWND owner, const std::wstring& name);

    std::vector<Entry> applied_;        // IDM_SCHEME_APPLY_FIRST + i
    std::vector<std::wstring> deleted_; // IDM_SCHEME_DELETE_FIRST + i
};
