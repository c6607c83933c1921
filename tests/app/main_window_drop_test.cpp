// Files dragged onto the main window's real panes, and drags out of them.
#include "shell/FileDropTarget.h"
#include "ui/seams.h"
#include "tests/support/drop_data.h"
#include "tests/support/main_form.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>
#include <optional>
#include <atomic>
#include <string>
#include <thread>
#include <iterator>
#include <utility>
#include <vector>

using testsupport::DropData;
using testsupport::FileExists;
using testsupport::ReadBytes;

namespace {

// A folder of its own at the root of C: (shallow, so that its nodes fit the
// tree's width), removed with its contents.
class RootFolder {
public:
    RootFolder()
    {
        static int serial = 0;
        path_ = L"C:\\tkdrop" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~RootFolder() { testsupport::RemoveTree(path_); }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::wstring Folder(const std::wstring& name) const
    {
        CreateDirectoryW((*this / name).c_str(), nullptr);
        return *this / name;
    }
    std::wstring File(const std::wstring& name, const std::string& bytes) const
    {
        const std::wstring p = *this / name;
        HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return p;
    }

private:
    std::wstring path_;
};

// What the form handed to the shell's file operation, and its state then.
struct Operation {
    UINT function;
    FILEOP_FLAGS flags;
    std::wstring to;
    int busy;
    bool previewsStopped;
    HWND owner;
};

class MainWindowDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = root.Folder(L"view");
        sub = root.Folder(L"view\\sub");
        root.File(L"view\\f.txt", "f");
        other = root.Folder(L"other");
        otherSub = root.Folder(L"other\\sub2");
        ASSERT_TRUE(form.Make());
        form.Form().Open(view);
        ASSERT_EQ(view, form->FolderView.SelectedPath());
        // No drop here should meet a shell dialog; one that does is answered No.
        unexpected.emplace(IDNO);
        recorder.emplace(ui::CurrentSeams().fileOperation, [this](SHFILEOPSTRUCTW& op) {
            operations.push_back({op.wFunc, op.fFlags, op.pTo, form->FBusy.Count(),
                                  form->ListPreviews.FPreviewPaths.empty(), op.hwnd});
            return SHFileOperationW(&op);
        });
    }
    void TearDown() override
    {
        recorder.reset();
        if (unexpected) {
            EXPECT_EQ(0, unexpected->Pressed());
            unexpected.reset();
        }
        form.Close();
    }

    // The list shows the folder in view again; its previews follow the fill.
    void Refill()
    {
        form->FileView.FillList();
        testsupport::PumpUntilIdle();
    }

    ui::TreeNode Node(const std::wstring& path)
    {
        idlist::AbsoluteIDList id = idlist::IDListFromPath(path);
        ui::TreeNode node = form->FolderView.FindNode(id.get());
        if (node)
            TreeView_EnsureVisible(form->FolderView.Handle(), node);
        return node;
    }
    POINT NodePoint(ui::TreeNode node)
    {
        RECT r{};
        TreeView_GetItemRect(form->FolderView.Handle(), node, &r, TRUE);
        POINT pt{r.left + 3, (r.top + r.bottom) / 2};
        ClientToScreen(form->FolderView.Handle(), &pt);
        return pt;
    }
    int Item(const std::wstring& name)
    {
        for (int i = 0; i < form->FileView.Count(); ++i)
            if (form->FileView.ItemText(i) == name)
                return i;
        return -1;
    }
    POINT ItemPoint(int index)
    {
        RECT r{};
        ListView_GetItemRect(form->FileView.Handle(), index, &r, LVIR_ICON);
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(form->FileView.Handle(), &pt);
        return pt;
    }
    POINT EmptyListPoint()
    {
        RECT r{};
        GetClientRect(form->FileView.Handle(), &r);
        POINT pt{r.right - 8, r.bottom - 8};
        ClientToScreen(form->FileView.Handle(), &pt);
        return pt;
    }

    // One whole drag over a pane: enter, over and drop at `at`; answers
    // what the drop reports to the source.
    static DWORD DropAt(IDropTarget* target, IDataObject* data, POINT at, DWORD keys)
    {
        const POINTL p{at.x, at.y};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragEnter(data, keys | MK_LBUTTON, p, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragOver(keys | MK_LBUTTON, p, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->Drop(data, keys, p, &effect);
        return effect;
    }
    static DWORD OverAt(IDropTarget* target, POINT at, DWORD keys = MK_LBUTTON)
    {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragOver(keys, POINTL{at.x, at.y}, &effect);
        return effect;
    }

    RootFolder root;
    std::wstring view, sub, other, otherSub;
    testsupport::MainFormSlot form;
    std::vector<Operation> operations;
    std::optional<ui::ScopedSeam<ui::FileOperationFn>> recorder;
    std::optional<testsupport::DialogWatchdog> unexpected;
};

} // namespace

TEST_F(MainWindowDrop, BothPanesAreRegisteredAndTheTreeReportsDrags)
{
    ASSERT_TRUE(form->drops.FolderTarget());
    ASSERT_TRUE(form->drops.FileTarget());
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, RegisterDragDrop(form->FolderView.Handle(), form->drops.FolderTarget()));
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, RegisterDragDrop(form->FileView.Handle(), form->drops.FileTarget()));
    EXPECT_EQ(0, GetWindowLongPtrW(form->FolderView.Handle(), GWL_STYLE) & TVS_DISABLEDRAGDROP);
    // The views' own drag links stay empty: drags start from the notifications.
    EXPECT_FALSE(form->FolderView.DropSource);
    EXPECT_FALSE(form->FileView.DropSource);
}

TEST_F(MainWindowDrop, TheTreeHighlightsOneRealFolderAtATime)
{
    IDropTarget* target = form->drops.FolderTarget();
    // Wine does not drop-highlight the selected node (the folder in view), so
    // the highlight moves between two others here.
    ui::TreeNode viewNode = Node(other);
    ui::TreeNode subNode = Node(sub);
    ASSERT_TRUE(viewNode && subNode);
    const POINT atView = NodePoint(viewNode), atSub = NodePoint(subNode);
    const POINT atRoot = NodePoint(form->FolderView.Root());
    // Text moves the highlight just as files do, with no drop possible.
    for (bool text : {false, true}) {
        SCOPED_TRACE(text ? "text" : "files");
        auto data = text ? DropData::Text(L"x") : DropData::ForFiles({root.File(L"view\\a.txt", "a")});
        const DWORD dropEffect = text ? DROPEFFECT_NONE : DROPEFFECT_MOVE;
        DWORD effect = 0;
        target->DragEnter(data.get(), MK_LBUTTON, POINTL{atView.x, atView.y}, &effect);
        EXPECT_EQ(dropEffect, OverAt(target, atView));
        EXPECT_EQ(viewNode, form->FolderView.DropHighlighted());
        EXPECT_EQ(dropEffect, OverAt(target, atSub));
        EXPECT_EQ(subNode, form->FolderView.DropHighlighted());
        // Over the same node it is not highlighted again.
        form->FolderView.SetDropHighlighted(nullptr);
        OverAt(target, atSub);
        EXPECT_EQ(nullptr, form->FolderView.DropHighlighted());
        // Ctrl+Shift shows a copy while dragging.
        EXPECT_EQ(text ? DWORD(DROPEFFECT_NONE) : DWORD(DROPEFFECT_COPY),
                  OverAt(target, atView, MK_LBUTTON | MK_CONTROL | MK_SHIFT));
        // The root is no target.
        EXPECT_EQ(DWORD(DROPEFFECT_NONE), OverAt(target, atRoot));
        EXPECT_EQ(nullptr, form->FolderView.DropHighlighted());
        EXPECT_EQ(nullptr, form->drops.HighlightedNode());
        OverAt(target, atSub);
        target->DragLeave();
        EXPECT_EQ(nullptr, form->FolderView.DropHighlighted());
        // Entering again over the same node highlights it again.
        target->DragEnter(data.get(), MK_LBUTTON, POINTL{atSub.x, atSub.y}, &effect);
        OverAt(target, atSub);
        EXPECT_EQ(subNode, form->FolderView.DropHighlighted());
        effect = DROPEFFECT_MOVE;
        target->Drop(data.get(), 0, POINTL{atSub.x, atSub.y}, &effect);
        if (text) {
            EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
            // The system's drag loop leaves a pane instead where the effect was none.
            target->DragLeave();
        }
        EXPECT_EQ(nullptr, form->FolderView.DropHighlighted());
    }
    EXPECT_EQ(1u, operations.size()); // the files, moved into sub
    // A virtual folder (the desktop's My Computer) is no target either.
    idlist::AbsoluteIDList drives;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put());
    ui::TreeNode computer = form->FolderView.FindNode(drives.get());
    ASSERT_TRUE(computer);
    TreeView_EnsureVisible(form->FolderView.Handle(), computer);
    auto data = DropData::ForFiles({root.File(L"other\\b.txt", "b")});
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), DropAt(target, data.get(), NodePoint(computer), 0));
    EXPECT_TRUE(FileExists(root / L"other\\b.txt"));
}

TEST_F(MainWindowDrop, DropsOnTheTreeMoveCopyOrDoNothingByTheKeys)
{
    struct Row {
        const char* name;
        DWORD keys;
        bool onRoot;
        bool arrives, staysBehind;
        DWORD toSource;
        long long logical;
    };
    const Row rows[] = {
        {"no key moves", 0, false, true, false, DROPEFFECT_NONE, DROPEFFECT_MOVE},
        {"shift moves", MK_SHIFT, false, true, false, DROPEFFECT_NONE, DROPEFFECT_MOVE},
        {"ctrl copies", MK_CONTROL, false, true, true, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {"ctrl+shift does nothing", MK_CONTROL | MK_SHIFT, false, false, true, DROPEFFECT_NONE, -1},
        {"the root takes nothing", 0, true, false, true, DROPEFFECT_NONE, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        operations.clear();
        form->refresh.RefreshViews(); // what an earlier row left pending
        ASSERT_FALSE(form->refresh.ListPending());
        const std::wstring file = root.File(L"other\\t.txt", "t");
        DeleteFileW((sub + L"\\t.txt").c_str());
        auto data = DropData::ForFiles({file});
        ASSERT_TRUE(data);
        ui::TreeNode node = row.onRoot ? form->FolderView.Root() : Node(sub);
        TreeView_EnsureVisible(form->FolderView.Handle(), node);
        EXPECT_EQ(row.toSource, DropAt(form->drops.FolderTarget(), data.get(), NodePoint(node), row.keys));
        EXPECT_EQ(row.arrives, FileExists(sub + L"\\t.txt"));
        EXPECT_EQ(row.staysBehind, FileExists(file));
        EXPECT_EQ(row.logical, data->Reported(CFSTR_LOGICALPERFORMEDDROPEFFECT));
        EXPECT_EQ(row.arrives ? 1u : 0u, operations.size());
        if (!operations.empty()) {
            EXPECT_EQ(sub, operations[0].to);
            EXPECT_EQ(FILEOP_FLAGS(FOF_ALLOWUNDO), operations[0].flags); // the shell asks before replacing
            EXPECT_EQ(1, operations[0].busy);
            EXPECT_EQ(form->Handle(), operations[0].owner); // the shell's questions are the window's
        }
        EXPECT_EQ(row.arrives && !row.staysBehind, form->refresh.ListPending());
    }
    EXPECT_EQ(0, form->FBusy.Count());
}

TEST_F(MainWindowDrop, ListDropsGoIntoTheFolderItemOrTheFolderInView)
{
    enum class Where { SubItem, FileItem, Empty };
    struct Row {
        const char* name;
        bool fromView; // the file lies in the folder in view
        Where where;
        DWORD keys;
        const wchar_t* arrivesIn; // nullptr: nothing happens
        bool staysBehind;
        DWORD toSource;
    };
    const Row rows[] = {
        {"moved into a folder item", false, Where::SubItem, 0, L"view\\sub", false, DROPEFFECT_NONE},
        {"copied into a folder item", false, Where::SubItem, MK_CONTROL, L"view\\sub", true, DROPEFFECT_COPY},
        {"a file item means the folder in view", false, Where::FileItem, 0, L"view", false, DROPEFFECT_NONE},
        {"empty space means the folder in view", false, Where::Empty, MK_CONTROL, L"view", true, DROPEFFECT_COPY},
        {"ctrl+shift does nothing", false, Where::SubItem, MK_CONTROL | MK_SHIFT, nullptr, true, DROPEFFECT_NONE},
        {"back into its own folder: nothing", true, Where::FileItem, 0, nullptr, true, DROPEFFECT_NONE},
        {"back onto empty space of its folder: nothing", true, Where::Empty, MK_CONTROL, nullptr, true,
         DROPEFFECT_NONE},
        {"into its own subfolder works", true, Where::SubItem, 0, L"view\\sub", false, DROPEFFECT_NONE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        operations.clear();
        DeleteFileW((sub + L"\\u.txt").c_str());
        DeleteFileW((view + L"\\u.txt").c_str());
        DeleteFileW((other + L"\\u.txt").c_str());
        const std::wstring file = root.File(row.fromView ? L"view\\u.txt" : L"other\\u.txt", "u");
        Refill();
        ASSERT_FALSE(form->ListPreviews.FPreviewPaths.empty());
        auto data = DropData::ForFiles({file});
        ASSERT_TRUE(data);
        POINT at = row.where == Where::SubItem    ? ItemPoint(Item(L"sub"))
                   : row.where == Where::FileItem ? ItemPoint(Item(L"f.txt"))
                                                  : EmptyListPoint();
        EXPECT_EQ(row.toSource, DropAt(form->drops.FileTarget(), data.get(), at, row.keys));
        EXPECT_EQ(-1, form->drops.HighlightedItem());
        for (int i = 0; i < form->FileView.Count(); ++i)
            EXPECT_FALSE(form->FileView.IsDropHighlighted(i));
        if (row.arrivesIn) {
            EXPECT_TRUE(FileExists(root / row.arrivesIn + L"\\u.txt"));
            ASSERT_EQ(1u, operations.size());
            EXPECT_EQ(root / row.arrivesIn, operations[0].to);
            // The previews keep running through the shell's questions, for a
            // move and a copy alike: the refill that follows restarts them.
            EXPECT_FALSE(operations[0].previewsStopped);
            EXPECT_EQ(UINT(row.keys == 0 ? FO_MOVE : FO_COPY), operations[0].function);
        } else {
            EXPECT_TRUE(operations.empty());
            EXPECT_FALSE(form->ListPreviews.FPreviewPaths.empty());
        }
        EXPECT_EQ(row.staysBehind, FileExists(file));
    }
    // A folder dropped onto itself stays where it is.
    operations.clear();
    auto self = DropData::ForFiles({sub});
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), DropAt(form->drops.FileTarget(), self.get(), ItemPoint(Item(L"sub")), 0));
    EXPECT_TRUE(operations.empty());
    EXPECT_TRUE(FolderExists(sub));
}

TEST_F(MainWindowDrop, TheListHighlightsFolderItemsOnly)
{
    IDropTarget* target = form->drops.FileTarget();
    root.Folder(L"view\\sub3");
    Refill();
    const int subItem = Item(L"sub"), sub3Item = Item(L"sub3"), fileItem = Item(L"f.txt");
    ASSERT_TRUE(subItem >= 0 && sub3Item >= 0 && fileItem >= 0);
    for (int i = 0; i < form->FileView.Count(); ++i)
        form->FileView.SetSelected(i, false);
    // Whether the item's caption shows in the highlight colour (Wine's list
    // does not draw the state on its own).
    auto shown = [&](int item) {
        HWND list = form->FileView.Handle();
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT label{LVIR_LABEL};
        SendMessageW(list, LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(&label));
        HDC dc = GetDC(list);
        bool lit = false;
        for (int y = label.top; y < label.bottom && !lit; ++y)
            for (int x = label.left; x < label.right && !lit; ++x)
                lit = GetPixel(dc, x, y) == GetSysColor(COLOR_HIGHLIGHT);
        ReleaseDC(list, dc);
        return lit;
    };
    EXPECT_FALSE(shown(subItem));
    auto data = DropData::ForFiles({root.File(L"other\\h.txt", "h")});
    DWORD effect = 0;
    const POINT atSub = ItemPoint(subItem);
    target->DragEnter(data.get(), MK_LBUTTON, POINTL{atSub.x, atSub.y}, &effect);
    EXPECT_EQ(DWORD(DROPEFFECT_MOVE), OverAt(target, atSub));
    EXPECT_TRUE(form->FileView.IsDropHighlighted(subItem));
    EXPECT_TRUE(shown(subItem));
    OverAt(target, ItemPoint(sub3Item));
    EXPECT_FALSE(form->FileView.IsDropHighlighted(subItem));
    EXPECT_TRUE(form->FileView.IsDropHighlighted(sub3Item));
    // A file item drops into the folder in view: no highlight, the effect stays.
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), OverAt(target, ItemPoint(fileItem), MK_LBUTTON | MK_CONTROL | MK_SHIFT));
    EXPECT_FALSE(form->FileView.IsDropHighlighted(sub3Item));
    EXPECT_FALSE(form->FileView.IsDropHighlighted(fileItem));
    OverAt(target, atSub);
    target->DragLeave();
    EXPECT_FALSE(form->FileView.IsDropHighlighted(subItem));
    EXPECT_FALSE(shown(subItem));
    EXPECT_EQ(-1, form->drops.HighlightedItem());
}

TEST_F(MainWindowDrop, AListRefilledDuringADragIsHighlightedAfresh)
{
    // A drag from another program leaves this program's loop running: a
    // refresh may refill the list under it, and the highlighted item goes.
    IDropTarget* target = form->drops.FileTarget();
    Refill();
    auto data = DropData::ForFiles({root.File(L"other\\r.txt", "r")});
    const POINT atSub = ItemPoint(Item(L"sub"));
    DWORD effect = 0;
    target->DragEnter(data.get(), MK_LBUTTON, POINTL{atSub.x, atSub.y}, &effect);
    EXPECT_EQ(DWORD(DROPEFFECT_MOVE), OverAt(target, atSub));
    ASSERT_TRUE(form->FileView.IsDropHighlighted(Item(L"sub")));
    Refill();
    ASSERT_FALSE(form->FileView.IsDropHighlighted(Item(L"sub")));
    // Over the same place the new item is highlighted, not taken for the old one.
    EXPECT_EQ(DWORD(DROPEFFECT_MOVE), OverAt(target, atSub));
    EXPECT_TRUE(form->FileView.IsDropHighlighted(Item(L"sub")));
    EXPECT_EQ(Item(L"sub"), form->drops.HighlightedItem());
    Refill();
    target->DragLeave();
    EXPECT_EQ(-1, form->drops.HighlightedItem());
    for (int i = 0; i < form->FileView.Count(); ++i)
        EXPECT_FALSE(form->FileView.IsDropHighlighted(i)) << i;
}

TEST_F(MainWindowDrop, WithTheDesktopInViewOnlyFolderItemsTakeDrops)
{
    form->FolderView.Select(form->FolderView.Root());
    testsupport::PumpUntilIdle();
    ASSERT_TRUE(form->FolderView.SelectedIsVirtual());
    IDropTarget* target = form->drops.FileTarget();
    auto data = DropData::ForFiles({root.File(L"other\\d.txt", "d")});
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), DropAt(target, data.get(), EmptyListPoint(), 0));
    EXPECT_TRUE(operations.empty());
    EXPECT_TRUE(FileExists(root / L"other\\d.txt"));
}

TEST_F(MainWindowDrop, ACopyOverASameNamedFileAnsweredNoLeavesBoth)
{
    // Wine asks before a copy replaces a file; a move it lets replace
    // silently, so only the copy can be answered here.
    root.File(L"view\\sub\\same.txt", "old");
    const std::wstring file = root.File(L"other\\same.txt", "new");
    Refill();
    auto data = DropData::ForFiles({file});
    DWORD effect;
    std::vector<std::wstring> asked;
    unexpected.reset();
    {
        testsupport::DialogWatchdog no(IDNO);
        effect = DropAt(form->drops.FileTarget(), data.get(), ItemPoint(Item(L"sub")), MK_CONTROL);
        asked = no.Texts();
        EXPECT_GE(no.Pressed(), 1);
    }
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_EQ("old", ReadBytes(sub + L"\\same.txt"));
    EXPECT_EQ("new", ReadBytes(file));
    EXPECT_EQ(-1, data->Reported(CFSTR_LOGICALPERFORMEDDROPEFFECT));
    EXPECT_EQ(0, form->FBusy.Count());
}

TEST_F(MainWindowDrop, ALongPathAndAHangulNameAreMovedWhole)
{
    std::wstring deep = other;
    while (deep.size() < 300)
        deep = root.Folder(deep.substr(root.operator/(L"").size()) + L"\\a-rather-long-folder-name-here");
    const std::wstring longFile = root.File(deep.substr(root.operator/(L"").size()) + L"\\long.txt", "L");
    ASSERT_GT(longFile.size(), 300u);
    ASSERT_TRUE(FileExists(longFile));
    const std::wstring hangul = root.File(L"other\\한글.cur", "H");
    Refill();
    for (const auto& file : {longFile, hangul}) {
        SCOPED_TRACE(testing::Message() << file.size());
        auto data = DropData::HDrop({file});
        EXPECT_EQ(DWORD(DROPEFFECT_NONE), DropAt(form->drops.FileTarget(), data.get(), ItemPoint(Item(L"sub")), 0));
        EXPECT_EQ(DWORD(DROPEFFECT_MOVE), DWORD(data->Reported(CFSTR_LOGICALPERFORMEDDROPEFFECT)));
        const std::wstring name = file.substr(file.rfind(L'\\') + 1);
        EXPECT_TRUE(FileExists(sub + L"\\" + name));
        EXPECT_FALSE(FileExists(file));
    }
}

TEST_F(MainWindowDrop, DragsStartFromBothPanesWithEitherButton)
{
    const std::wstring a = root.File(L"view\\a.txt", "a"), b = root.File(L"view\\b.txt", "b");
    Refill();
    std::vector<std::vector<std::wstring>> dragged;
    ui::ScopedSeam<ui::DoDragDropFn> seam(
        ui::CurrentSeams().doDragDrop, [&](IDataObject* data, IDropSource*, DWORD, DWORD* effect) {
            dragged.push_back(TFileDropTarget::DroppedFiles(data));
            *effect = DROPEFFECT_NONE;
            return DRAGDROP_S_CANCEL;
        });
    // Three selected items in list order: sub, a.txt, f.txt (folders first).
    for (int i = 0; i < form->FileView.Count(); ++i)
        form->FileView.SetSelected(i, false);
    const int picks[] = {Item(L"sub"), Item(L"a.txt"), Item(L"f.txt")};
    for (int i : picks)
        form->FileView.SetSelected(i, true);
    ASSERT_EQ(3, form->FileView.SelectedCount());
    ui::TreeNode subNode = Node(sub);
    struct Row {
        bool tree;
        UINT code;
        std::vector<std::wstring> files;
    };
    const Row rows[] = {
        {true, UINT(TVN_BEGINDRAGW), {sub}},
        {true, UINT(TVN_BEGINRDRAGW), {sub}},
        {false, UINT(LVN_BEGINDRAG), {view + L"\\f.txt", a, sub}},
        {false, UINT(LVN_BEGINRDRAG), {view + L"\\f.txt", a, sub}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        dragged.clear();
        NMTREEVIEWW tv{};
        NMLISTVIEW lv{};
        NMHDR* header = row.tree ? &tv.hdr : &lv.hdr;
        header->hwndFrom = row.tree ? form->FolderView.Handle() : form->FileView.Handle();
        header->idFrom = UINT_PTR(GetDlgCtrlID(header->hwndFrom));
        header->code = row.code;
        tv.itemNew.hItem = subNode;
        lv.iItem = picks[0];
        SendMessageW(form->Handle(), WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
        ASSERT_EQ(1u, dragged.size());
        EXPECT_EQ(row.files, dragged[0]);
    }
    // Other notifications start nothing.
    dragged.clear();
    NMHDR focus{form->FileView.Handle(), 0, UINT(NM_SETFOCUS)};
    SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&focus));
    EXPECT_TRUE(dragged.empty());
}

TEST_F(MainWindowDrop, NoDragStartsFromTheRootADriveOrAVirtualFolder)
{
    int drags = 0;
    ui::ScopedSeam<ui::DoDragDropFn> seam(ui::CurrentSeams().doDragDrop,
                                          [&](IDataObject*, IDropSource*, DWORD, DWORD*) {
                                              ++drags;
                                              return DRAGDROP_S_CANCEL;
                                          });
    idlist::AbsoluteIDList computer;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put());
    // The root, drive C:, My Computer, and a folder.
    const std::pair<ui::TreeNode, int> rows[] = {
        {form->FolderView.Root(), 0}, {Node(L"C:\\"), 0}, {form->FolderView.FindNode(computer.get()), 0}, {Node(sub), 1}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const auto& [node, expected] = rows[i];
        ASSERT_TRUE(node);
        drags = 0;
        NMTREEVIEWW tv{{form->FolderView.Handle(), 0, UINT(TVN_BEGINDRAGW)}};
        tv.itemNew.hItem = node;
        SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tv));
        EXPECT_EQ(expected, drags);
    }
}

namespace {

// Presses, moves and releases the left button the way a hand does.
void MouseTo(POINT p, DWORD flags = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &in, sizeof(in));
}

} // namespace

TEST_F(MainWindowDrop, ARealMouseDragMovesAListItemOntoATreeFolder)
{
    const std::wstring file = root.File(L"view\\m.txt", "m");
    Refill();
    SetForegroundWindow(form->Handle());
    testsupport::PumpUntilIdle();
    const POINT from = ItemPoint(Item(L"m.txt"));
    const POINT to = NodePoint(Node(other));
    std::atomic<bool> done{false};
    std::thread hand([&] {
        MouseTo(from);
        Sleep(200);
        MouseTo(from, MOUSEEVENTF_LEFTDOWN);
        Sleep(200);
        for (int i = 1; i <= 12; ++i) {
            MouseTo({from.x + (to.x - from.x) * i / 12, from.y + (to.y - from.y) * i / 12});
            Sleep(60);
        }
        Sleep(300);
        MouseTo(to, MOUSEEVENTF_LEFTUP);
        Sleep(500);
        done = true;
    });
    for (int i = 0; i < 200 && !done; ++i)
        testsupport::PumpFor(50);
    hand.join();
    testsupport::PumpUntilIdle();
    EXPECT_TRUE(FileExists(other + L"\\m.txt"));
    EXPECT_FALSE(FileExists(file));
    ASSERT_EQ(1u, operations.size());
    EXPECT_EQ(UINT(FO_MOVE), operations[0].function);
    EXPECT_EQ(other, operations[0].to);
}
