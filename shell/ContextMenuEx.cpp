#include "shell/ContextMenuEx.h"

#include "res/texts.h"
#include "shell/invoke.h"
#include "shell/item_copies.h"
#include "shell/menu_messages.h"
#include "shell/menu_verbs.h"
#include "ui/seams.h"
#include "idlist/idlist.h"
#include "ui/handles.h"

namespace {

struct CommandRow {
    SFGAOF attribute; // 0: none asked (the paste item is looked for instead)
    UINT verb;        // menu id - 1
};

// Indexed by TItemCommand.
constexpr CommandRow Commands[] = {
    {SFGAO_CANLINK, 16},      // icCreateShortcut
    {SFGAO_CANDELETE, 17},    // icDelete
    {SFGAO_HASPROPSHEET, 19}, // icProperties
    {SFGAO_CANCOPY, 25},      // icCopy
    {0, 26},                  // icPaste
};

constexpr SFGAOF AttributeRequest = SFGAO_CAPABILITYMASK | SFGAO_DISPLAYATTRMASK | SFGAO_CONTENTSMASK;
constexpr UINT MenuFlags = CMF_EXPLORE;
constexpr int SendToKeyByte = 5;
constexpr int PasteKeyByte = 9;

// The SendTo folder and an enumeration of its non-folder entries.
bool OpenSendTo(HWND window, ui::ComPtr<IShellFolder>& folder, ui::ComPtr<IEnumIDList>& entries)
{
    auto& open = ui::CurrentSeams().sendToFolder;
    folder = open ? open(window) : nullptr;
    if (!folder)
        return false;
    if (folder->EnumObjects(window, SHCONTF_NONFOLDERS, entries.put()) != S_OK || !entries)
        return false;
    return true;
}

// The shell's Send To sub-menu of `menu`: the usable item whose caption has
// "(&N)" at byte 5, when it opens a sub-menu.
HMENU FindSendToSubmenu(HMENU menu)
{
    const int position = FindMenuItemByText(menu, texts::SendToAccessKey, SendToKeyByte);
    return position == -1 ? nullptr : GetSubMenu(menu, position - 1);
}

bool NextEntry(IEnumIDList* entries, idlist::ChildIDList& entry)
{
    ULONG fetched = 0;
    return entries->Next(1, entry.put(), &fetched) == S_OK && fetched == 1 && entry;
}

} // namespace

bool TContextMenuEx::ShowItemMenu(HWND window, IShellFolder* folder, POINT screen, int count,
                                  PCUIDLIST_RELATIVE items)
{
    if (!window || !folder || !items || count < 1 || count > shell::kMaxItems)
        return false;
    if (!idlist::ShellMalloc() || !idlist::DesktopFolder())
        return false;
    shell::ItemCopies copies;
    if (!copies.Split(items, count))
        return false;

    ui::ComPtr<IContextMenu> handler;
    if (FAILED(folder->GetUIObjectOf(window, copies.Count(), copies.Array(), IID_IContextMenu, nullptr,
                                     handler.put_void())) ||
        !handler)
        return false;
    ui::UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return false;
    if (FAILED(handler->QueryContextMenu(menu.get(), 0, kFirstShellId, kLastShellId, MenuFlags)))
        return false;
    // The shell renames only inside a view of its own, which this program
    // does not give it; F2 renames in place instead.
    shell::RemoveUnservedVerbs(handler.get(), menu.get(), kFirstShellId, kLastShellId);
    std::wstring installPath;
    if (count == 1 && offersInstall &&
        idlist::IDListDisplayName(folder, copies.Array()[0], SHGDN_FORPARSING, installPath) &&
        offersInstall(installPath))
        shell::ReplaceVerb(handler.get(), menu.get(), kFirstShellId, kLastShellId, L"install", kInstallId,
                           texts::kInstallPack);
    else
        installPath.clear();

    const bool sendToFilled = FillSendToMenu(window, menu.get());
    shell::OwnSubmenu sendTo;
    if (sendToFilled)
        sendTo = {FindSendToSubmenu(menu.get()), kFirstSendToId, kLastSendToId};
    auto& track = ui::CurrentSeams().trackMenu;
    UINT id = 0;
    {
        // The handler fills and draws its own sub-menus from the messages
        // the menu sends its owner while it is open; the Send To sub-menu is
        // the program's now, and the handler would fill it again.
        ui::ScopedMessageFilter forward(window, shell::ShellMenuMessages(handler.get(), sendTo));
        id = track ? track(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen, window) : 0;
    }

    int sendToIndex = -1;
    if (sendToFilled && id >= kFirstSendToId && id <= kLastSendToId) {
        sendToIndex = static_cast<int>(id - kFirstSendToId);
        id = kCopyId;
    }
    if (id == 0 || (id == kInstallId && installPath.empty()))
        return false;
    ui::BusyScope busy(OnBusy, this);
    if (id == kInstallId) {
        OnInstall(this, window, installPath);
        return true;
    }
    bool done = Invoke(handler.get(), window, id - kFirstShellId);
    // After a failed copy the clipboard holds whatever was there before, and
    // that must not be sent anywhere.
    if (sendToIndex >= 0)
        done = done && SendToItem(window, sendToIndex);
    return done;
}

bool TContextMenuEx::FillSendToMenu(HWND window, HMENU menu)
{
    HMENU submenu = FindSendToSubmenu(menu);
    if (!submenu)
        return false;

    ui::ComPtr<IShellFolder> sendTo;
    ui::ComPtr<IEnumIDList> entries;
    if (OpenSendTo(window, sendTo, entries)) {
        std::wstring name;
        idlist::ChildIDList entry;
        for (int i = 0; i < kMaxSendToEntries && NextEntry(entries.get(), entry); ++i) {
            // A name that cannot be read keeps the previous entry's text: the
            // entry must still be there, or the ids after it would point at
            // the wrong targets.
            std::wstring read;
            if (idlist::IDListDisplayName(sendTo.get(), entry.get(), SHGDN_NORMAL, read))
                name = std::move(read);
            AppendMenuW(submenu, MF_STRING, kFirstSendToId + static_cast<UINT>(i), name.c_str());
            entry.reset();
        }
    }
    // The shell's own first item (its placeholder) goes; the entries follow it.
    DeleteMenu(submenu, 0, MF_BYPOSITION);
    return true;
}

bool TContextMenuEx::SendToItem(HWND window, int index)
{
    ui::ComPtr<IShellFolder> sendTo;
    ui::ComPtr<IEnumIDList> entries;
    if (!OpenSendTo(window, sendTo, entries))
        return false;
    idlist::ChildIDList entry;
    for (int i = 0; i < kMaxSendToEntries && NextEntry(entries.get(), entry); ++i) {
        if (i == index)
            return InvokeItemCommand(window, sendTo.get(), icPaste, entry.get());
        entry.reset();
    }
    return false;
}

bool TContextMenuEx::InvokeItemCommand(HWND window, IShellFolder* folder, TItemCommand command,
                                       PCUITEMID_CHILD item)
{
    if (!window || !folder || !item || command > icPaste)
        return false;
    const CommandRow& row = Commands[command];
    PCUITEMID_CHILD one[] = {item};
    SFGAOF attributes = AttributeRequest;
    if (FAILED(folder->GetAttributesOf(1, one, &attributes)))
        return false;
    if (row.attribute && !(attributes & row.attribute))
        return false;

    ui::ComPtr<IContextMenu> handler;
    if (FAILED(folder->GetUIObjectOf(window, 1, one, IID_IContextMenu, nullptr, handler.put_void())) || !handler)
        return false;
    ui::UniqueMenu menu(CreatePopupMenu());
    if (!menu || FAILED(handler->QueryContextMenu(menu.get(), 0, kFirstShellId, kLastShellId, MenuFlags)))
        return false;
    if (command == icPaste && FindMenuItemByText(menu.get(), texts::PasteAccessKey, PasteKeyByte) == -1)
        return false;
    ui::BusyScope busy(OnBusy, this);
    return Invoke(handler.get(), window, row.verb);
}

bool TContextMenuEx::Invoke(IContextMenu* handler, HWND window, UINT offset)
{
    const HRESULT result = shell::InvokeVerb(handler, window, offset);
    if (SUCCEEDED(result))
        return true;
    // The user said No or Cancel to the shell: nothing was done, and that
    // is no failure to tell.
    if (!shell::IsCancelled(result))
        OnCommandFailed(this, window);
    return false;
}

bool TContextMenuEx::InvokePathCommand(HWND window, const std::wstring& path, TItemCommand command)
{
    if (!window || !idlist::ShellMalloc())
        return false;
    idlist::AbsoluteIDList absolute = idlist::IDListFromPath(path);
    if (!absolute)
        return false;
    ui::ComPtr<IShellFolder> parent;
    idlist::ChildIDList last;
    if (!idlist::IDListBindParent(absolute.get(), parent, last))
        return false;
    return InvokeItemCommand(window, parent.get(), command, last.get());
}
