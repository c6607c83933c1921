#include "shview/folderview/FolderView.h"

#include "ui/dpi.h"
#include "ui/scoped_value.h"
#include "ui/screen_cursor.h"

#include <shellapi.h>

#include <utility>
#include <vector>

using idlist::DesktopFolder;
using idlist::AbsoluteIDList;
using idlist::ChildIDList;

namespace {

// TVE_EXPAND or TVE_COLLAPSE, without TVE_EXPANDPARTIAL and the like.
constexpr UINT kExpandActionMask = 0x0003;

// The item a node keeps as its data (the root keeps the desktop's empty list).
ITEMID_CHILD* NodeItem(LPARAM data) noexcept
{
    return reinterpret_cast<ITEMID_CHILD*>(data);
}

// An icon index from IShellIcon, or -1 when it gives none.
int ShellIconIndex(IShellIcon* icons, PCUITEMID_CHILD item, UINT flags)
{
    int index = -1;
    if (icons->GetIconOf(item, flags, &index) != S_OK)
        return -1;
    return index;
}

} // namespace

TFolderView::TFolderView() = default;

TFolderView::~TFolderView()
{
    // Delete the nodes while this object still receives the control's
    // deletion notices, so that every identifier is freed; the base would
    // destroy the window only after unhooking it.
    if (Handle()) {
        destroying_ = true;
        Updating = true;
        DeleteAll();
        // The tree lets go of the image list before a mirror of it goes.
        SetImageList(nullptr, TVSIL_NORMAL);
    }
}

bool TFolderView::Create(HWND parent, int id)
{
    // No lines at the root: the desktop is the only top-level node.
    if (!TreeView::Create(parent, TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                          WS_EX_CLIENTEDGE, id))
        return false;
    SetBounds(0, 0, 200, 200);
    SetIndent(kIndent);
    // The notifications handled here (deletions free identifiers) are the
    // wide ones, whatever kind of window the parent is.
    TreeView_SetUnicodeFormat(Handle(), TRUE);
    SetDpi(ui::DpiOf(Handle()));
    BuildTree();
    return true;
}

void TFolderView::SetDpi(int dpi)
{
    if (!Handle() || dpi == images_.Dpi())
        return;
    // The tree never destroys image lists; it takes the new one (and the
    // item height that goes with it) before the old one (a mirror) goes.
    ui::ShellImageList images(SHIL_SMALL, dpi);
    SetImageList(images.Handle(), TVSIL_NORMAL);
    images_ = std::move(images);
}

void TFolderView::SetFileView(shview::FolderLink* view)
{
    if (fileView_.get() == view)
        return;
    if (shview::FolderLink* old = fileView_.get())
        old->LinkTree(nullptr);
    fileView_ = view;
    if (view)
        view->LinkTree(this);
}

shview::FolderLink* TFolderView::FileView() const noexcept { return fileView_.get(); }

void TFolderView::SetComboView(shview::FolderLink* combo)
{
    if (comboView_.get() == combo)
        return;
    if (shview::FolderLink* old = comboView_.get())
        old->LinkTree(nullptr);
    comboView_ = combo;
    if (combo)
        combo->LinkTree(this);
}

shview::FolderLink* TFolderView::ComboView() const noexcept { return comboView_.get(); }

void TFolderView::GoBack()
{
    if (ui::TreeNode previous = PreviousNode())
        Select(previous);
}

PCUITEMID_CHILD TFolderView::NodeData(ui::TreeNode node) const noexcept
{
    return node ? NodeItem(Data(node)) : nullptr;
}

AbsoluteIDList TFolderView::NodeIDList(ui::TreeNode node) const
{
    if (!node)
        return nullptr;
    idlist::RelativeIDList result = idlist::IDListFirst(NodeData(node));
    for (ui::TreeNode parent = Parent(node); parent && result; parent = Parent(parent))
        result = idlist::IDListCombineRelative(NodeData(parent), result.get());
    // Up to the root, the desktop: the list starts there.
    return idlist::IDListAsAbsolute(std::move(result));
}

ui::ComPtr<IShellFolder> TFolderView::BindFolder(PCIDLIST_ABSOLUTE absolute)
{
    ui::ComPtr<IShellFolder> folder;
    IShellFolder* desktop = DesktopFolder();
    if (desktop && absolute)
        desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void());
    return folder;
}

ui::ComPtr<IShellFolder> TFolderView::NodeFolder(ui::TreeNode node) const
{
    if (!node)
        return nullptr;
    if (Level(node) <= 0)
        return ui::ComPtr<IShellFolder>::Share(DesktopFolder());
    AbsoluteIDList absolute = NodeIDList(node);
    return BindFolder(absolute.get());
}

ui::ComPtr<IShellFolder> TFolderView::ParentFolder(ui::TreeNode node) const
{
    if (!node)
        return nullptr;
    if (Level(node) < 2)
        return ui::ComPtr<IShellFolder>::Share(DesktopFolder());
    AbsoluteIDList absolute = NodeIDList(Parent(node));
    return BindFolder(absolute.get());
}

void TFolderView::BuildTree()
{
    // Never under a fill still reading its node's children.
    if (Updating || fillingNode_ || !Handle())
        return;
    AbsoluteIDList desktop;
    if (FAILED(SHGetSpecialFolderLocation(Handle(), CSIDL_DESKTOP, desktop.put())) || !desktop)
        return;
    std::wstring name;
    if (!idlist::IDListDisplayName(desktop.get(), SHGDN_INFOLDER, name))
        return;
    {
        ui::RedrawOff redraw(*this);
        {
            ui::ScopedValue updating(Updating, true);
            DeleteAll();
        }
        NodeInfo info;
        info.text = name;
        info.image = idlist::IDListIconIndex(desktop.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        info.selectedImage =
            idlist::IDListIconIndex(desktop.get(), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
        info.data = reinterpret_cast<LPARAM>(desktop.get());
        ui::TreeNode root = AddChild(nullptr, info);
        if (!root)
            return;
        (void)desktop.release(); // the node owns it now
        Select(root);
        FillChildren(root);
        Expand(Selected());
    }
    UpdateLinkedViews(Selected());
}

void TFolderView::FillChildren(ui::TreeNode node)
{
    if (Updating || !node || !NodeData(node) || HasChildNodes(node))
        return;
    AddChildNodes(node);
}

void TFolderView::ReadChildrenAgain(ui::TreeNode node)
{
    if (Updating || !node || !NodeData(node))
        return;
    AddChildNodes(node);
}

bool TFolderView::ReadChildItems(ui::TreeNode node, IShellFolder* folder, std::vector<ChildIDList>& items)
{
    // The node is marked before the shell is asked: its dialogs run a nested
    // message loop, and nothing may take the node away meanwhile.
    ui::ScopedValue filling(fillingNode_, node);
    ui::BusyScope busy(OnBusy, this);
    ui::ComPtr<IEnumIDList> list;
    if (FAILED(folder->EnumObjects(Handle(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, list.put())))
        return false; // a drive without a medium, a folder without access
    for (;;) {
        ChildIDList child;
        ULONG fetched = 0;
        // A folder may answer S_OK without handing anything over.
        if (!list || list->Next(1, child.put(), &fetched) != S_OK || !child)
            break;
        items.push_back(std::move(child));
    }
    return true;
}

bool TFolderView::AddChildNode(ui::TreeNode node, IShellFolder* folder, IShellIcon* icons,
                               PCIDLIST_ABSOLUTE absolute, ChildIDList& child)
{
    NodeInfo info;
    info.text = idlist::IDListDisplayName(folder, child.get(), SHGDN_INFOLDER);
    int open = -1, normal = -1;
    if (icons) {
        open = ShellIconIndex(icons, child.get(), GIL_OPENICON);
        normal = ShellIconIndex(icons, child.get(), GIL_FORSHELL);
    }
    bool shellIcons = open >= 0 && normal >= 0;
    info.image = shellIcons ? normal : 0;
    info.selectedImage = shellIcons ? open : 0;
    SFGAOF attributes = SFGAO_HASSUBFOLDER;
    PCUITEMID_CHILD item = child.get();
    if (FAILED(folder->GetAttributesOf(1, &item, &attributes)))
        attributes = SFGAO_HASSUBFOLDER; // unknown: offer the button, expanding settles it
    info.hasChildren = (attributes & SFGAO_HASSUBFOLDER) != 0;
    info.data = reinterpret_cast<LPARAM>(child.get());
    ui::TreeNode childNode = AddChild(node, info);
    if (!childNode)
        return false; // `child` frees the identifier
    ITEMID_CHILD* owned = child.release(); // the node owns it now
    if (!shellIcons) {
        AbsoluteIDList full = idlist::IDListCombine(absolute, owned);
        SetNodeIcons(childNode, full.get());
    }
    return true;
}

void TFolderView::SortChildNodes(ui::TreeNode node, IShellFolder* folder)
{
    SortChildren(node, [folder](LPARAM a, LPARAM b) {
        return idlist::IDListCompare(folder, NodeItem(a), NodeItem(b));
    });
}

void TFolderView::AddChildNodes(ui::TreeNode node)
{
    AbsoluteIDList absolute = NodeIDList(node);
    if (!absolute)
        return;
    ui::ComPtr<IShellFolder> folder = NodeFolder(node);
    if (!folder)
        return;
    std::vector<ChildIDList> items;
    if (!ReadChildItems(node, folder.get(), items)) {
        Select(currentNode_);
        return;
    }

    ui::ScopedScreenCursor hourglass(IDC_WAIT);
    ui::RedrawOff redraw(*this);
    ui::ScopedValue updating(Updating, true);
    bool hadChildren = HasChildNodes(node);
    auto icons = folder.As<IShellIcon>(IID_IShellIcon);
    int added = 0;
    for (ChildIDList& child : items) {
        if (hadChildren && LoadedChild(folder.get(), node, child.get()))
            continue; // known already
        if (AddChildNode(node, folder.get(), icons.get(), absolute.get(), child))
            ++added;
    }
    if (added > 0)
        SortChildNodes(node, folder.get());
    SetChildrenFlag(node, hadChildren || added > 0);
}

void TFolderView::SetNodeIcons(ui::TreeNode node, PCIDLIST_ABSOLUTE absolute)
{
    if (!node || !absolute || Level(node) <= 0)
        return;
    SetImages(node, idlist::IDListIconIndex(absolute, SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
              idlist::IDListIconIndex(absolute, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON));
}

void TFolderView::UpdateLinkedViews(ui::TreeNode node)
{
    if (!node || Updating)
        return;
    AbsoluteIDList absolute = NodeIDList(node);
    if (!absolute)
        return;
    if (shview::FolderLink* view = fileView_.get())
        view->SetFolder(absolute.get());
    // A folder the list could not read sent the selection back, and the
    // folder it went back to has been shown already.
    if (Selected() == node)
        ShowInComboView(node);
}

void TFolderView::ShowInComboView(ui::TreeNode node)
{
    shview::FolderLink* combo = comboView_.get();
    if (!combo || !node)
        return;
    AbsoluteIDList absolute = NodeIDList(node);
    if (absolute)
        combo->SetFolder(absolute.get());
}

void TFolderView::SelectionChanged(ui::TreeNode node)
{
    ui::ScopedValue changing(inSelectionChange_, true);
    OnChange(this, node);
    previousNode_ = currentNode_;
    currentNode_ = node;
    UpdateLinkedViews(node);
}

void TFolderView::NodeDeleted(ui::TreeNode node, LPARAM data)
{
    ChildIDList owned = ChildIDList::Adopt(NodeItem(data));
    owned.reset();
    if (currentNode_ == node)
        currentNode_ = nullptr;
    if (previousNode_ == node)
        previousNode_ = nullptr;
    if (dragNode_ == node)
        dragNode_ = nullptr;
    if (menuNode_ == node)
        menuNode_ = nullptr;
    if (markedBeforeMenu_ == node)
        markedBeforeMenu_ = nullptr;
    if (!destroying_)
        OnDeleting(this, node);
}

void TFolderView::FollowSelection()
{
    // Not while the tree is rebuilt or filled (the next message catches up),
    // nor inside a change being handled: its handlers ask the control things.
    if (inSelectionChange_ || Updating || destroying_ || !Handle())
        return;
    ui::TreeNode node = Selected();
    if (node != currentNode_)
        SelectionChanged(node);
}

LRESULT TFolderView::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (KeyMenuMessage(msg, wp, lp)) {
        KeyContextMenu();
        return 0;
    }
    LRESULT result = TreeView::WndProc(msg, wp, lp);
    switch (msg) {
    // What can collapse a folder or take nodes away: the mouse (the expand
    // buttons, double clicks), the keyboard and the program.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_CHAR:
    case TVM_EXPAND:
    case TVM_DELETEITEM:
        FollowSelection();
        break;
    default:
        break;
    }
    return result;
}

bool TFolderView::Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    TreeView::Reflected(msg, wp, lp, result);
    if (msg != WM_NOTIFY)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lp);
    switch (header->code) {
    case NM_CUSTOMDRAW:
        // The shell may have added images since the last paint.
        if (reinterpret_cast<NMCUSTOMDRAW*>(lp)->dwDrawStage == CDDS_PREPAINT)
            images_.CatchUp();
        return false;
    case TVN_DELETEITEMW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
        NodeDeleted(nm->itemOld.hItem, nm->itemOld.lParam);
        return false;
    }
    case TVN_SELCHANGEDW:
        if (!destroying_)
            SelectionChanged(reinterpret_cast<NMTREEVIEWW*>(lp)->itemNew.hItem);
        return false;
    case TVN_ITEMEXPANDINGW: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
        ui::TreeNode node = nm->itemNew.hItem;
        if ((nm->action & kExpandActionMask) == TVE_EXPAND && ChildrenFlag(node) && !HasChildNodes(node))
            FillChildren(node);
        return false;
    }
    case TVN_BEGINLABELEDITW: {
        // The desktop cannot be renamed.
        auto* nm = reinterpret_cast<NMTVDISPINFOW*>(lp);
        if (Level(nm->item.hItem) == 0) {
            result = TRUE;
            return true;
        }
        labelEditing_ = true;
        return false;
    }
    case TVN_ENDLABELEDITW: {
        auto* nm = reinterpret_cast<NMTVDISPINFOW*>(lp);
        // One end per edit: a control that reports a cancelled edit and then,
        // as its edit box loses the focus, the typed text as well (Wine does
        // so for TVM_ENDEDITLABELNOW) must not rename the folder after all.
        bool editing = std::exchange(labelEditing_, false);
        if (!nm->item.pszText)
            return false; // cancelled
        if (editing) {
            // The folder in view or one above it renamed: its path changed
            // for whoever shows it (the window's caption).
            bool inView = false;
            for (ui::TreeNode n = Selected(); n && !inView; n = Parent(n))
                inView = n == nm->item.hItem;
            LabelEdited(nm->item.hItem, nm->item.pszText);
            if (inView && Handle() && !destroying_)
                OnChange(this, Selected());
        }
        // The node's text is set from the shell; the typed text is not taken.
        result = FALSE;
        return true;
    }
    case TVN_BEGINDRAGW:
        if (DropSource) {
            dragNode_ = reinterpret_cast<NMTREEVIEWW*>(lp)->itemNew.hItem;
            return true; // this tree starts the drag itself
        }
        return false;
    default:
        return false;
    }
}
