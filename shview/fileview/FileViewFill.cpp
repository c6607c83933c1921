// Filling the file list from its folder.
#include "shview/fileview/FileView.h"

#include "res/texts.h"
#include "shview/fileview/FileViewItem.h"
#include "shview/file_texts.h"
#include "idlist/file_path.h"
#include "ui/scoped_value.h"
#include "ui/screen_cursor.h"
#include "ui/text.h"

#include <commctrl.h>

#include <memory>

namespace {

constexpr SHCONTF kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback)
{
    wchar_t buffer[8] = L"";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 8) <= 0)
        return fallback;
    return buffer;
}

std::uint64_t Join(DWORD high, DWORD low) noexcept { return (std::uint64_t(high) << 32) | low; }

// The last write time shown in local time. Empty if it cannot be converted.
std::wstring DateText(const FILETIME& written, const std::wstring& dateSep, const std::wstring& timeSep)
{
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t))
        return {};
    return shview::FileDateText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, dateSep, timeSep);
}

} // namespace

namespace {
// The next slice of a fill: posted when nothing waits, else a timer, whose
// message comes after the user's input and the painting.
constexpr UINT kFillSliceMessage = WM_APP + 0x5446;
constexpr UINT_PTR kFillSliceTimer = 0x5446;

double Seconds() noexcept
{
    static const double perSecond = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / perSecond;
}
} // namespace

void TFileView::FillList()
{
    // A fill asked for while a slice runs (from a message the shell
    // dispatched, or from the tree going back) starts after it, with the
    // folder then set.
    if (filling_) {
        refillPending_ = true;
        return;
    }
    ui::ScopedValue filling(filling_, true);
    ui::BusyScope busy(OnBusy, this);
    // With a tree, a folder that cannot be read sends the tree back to the
    // folder it showed before, which points this list there again; only
    // once, so two unreadable folders cannot send each other back for ever.
    // Without one the items of the folder shown before stay, still
    // answering for that folder.
    bool wentBack = false;
    do {
        refillPending_ = false;
        if (!StartFill()) {
            if (FolderView && !wentBack) {
                wentBack = true;
                FolderView->GoBack();
            }
        } else if (fill_) {
            RunSlice();
        }
    } while (refillPending_ && Handle());
    // Nothing to wait for (no folder, or it could not be read).
    if (!fill_)
        FinishFill();
}

void TFileView::AfterFill(std::function<void()> then)
{
    if (!then)
        return;
    if (fill_ || filling_)
        afterFill_.push_back(std::move(then));
    else
        then();
}

bool TFileView::StartFill()
{
    if (!Handle() || !folderIDList_)
        return true;
    ui::ComPtr<IShellFolder> folder = shellFolder_;
    ui::ComPtr<IEnumIDList> items;
    HRESULT hr = folder ? folder->EnumObjects(Handle(), kEnumFlags, items.put()) : E_FAIL;
    if (FAILED(hr) || !Handle())
        return false;

    auto fill = std::make_unique<FillContext>();
    fill->hadSelection = fill_ ? fill_->hadSelection : SelectedCount() > 0;
    DropFill();
    fill->items = std::move(items);
    fill->iconsRef = folder.As<IShellIcon>(IID_IShellIcon);
    fill->icons = fill->iconsRef.get();
    fill->folder = folder.get();
    fill->folderRef = folder;
    fill->list = Handle();
    fill->control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(Handle(), GCLP_WNDPROC));
    fill->dateSeparator = LocaleText(LOCALE_SDATE, L"/");
    fill->timeSeparator = LocaleText(LOCALE_STIME, L":");

    OnItemsReplacing(this);
    shview::ResetSortDirections(SortDirections);
    sortKey_ = shview::SortKey::Name;
    {
        ui::RedrawOff redraw(*this);
        DeleteAllItems();
    }
    itemsFolder_ = folder;
    itemsFolderIDList_ = idlist::IDListCombine(folderIDList_.get(), nullptr);
    std::wstring directory;
    if (idlist::IDListFileSystemPath(itemsFolderIDList_.get(), directory))
        fill->sizes.Start(directory);
    fill_ = std::move(fill);
    ++fillNumber_;
    return true;
}

void TFileView::RunSlice()
{
    ++slicesRun_;
    const double until = Seconds() + kFillSliceMs / 1000.0;
    // The directory's own sizes first: the items' sizes are taken from them.
    if (!fill_->sizes.Continue([&] { return fillSliceItems <= 0 && Seconds() >= until; })) {
        ScheduleSlice();
        return;
    }
    bool done = false;
    {
        ui::ScopedScreenCursor cursor(IDC_WAIT);
        if (!fill_->redrawHeld) {
            BeginUpdate();
            fill_->redrawHeld = true;
        }
        // The inserts' notifications are of no use here, and each costs the
        // parent's subclass chain; none of them is needed (see FillContext).
        struct Quiet {
            TFileView& view;
            explicit Quiet(TFileView& v) : view(v) { view.PauseReflection(); }
            ~Quiet() { view.ResumeReflection(); }
            Quiet(const Quiet&) = delete;
            Quiet& operator=(const Quiet&) = delete;
        } quiet(*this);
        for (int n = 1;; ++n) {
            FillContext& fill = *fill_;
            idlist::ChildIDList id;
            ULONG fetched = 0;
            // S_FALSE may come without an enumerator: no items.
            if (!fill.items || fill.items->Next(1, id.put(), &fetched) != S_OK || !Handle()) {
                done = true;
                break;
            }
            if (id)
                AddItemFrom(fill, std::move(id));
            if (refillPending_ || !fill_ || !Handle())
                return;
            if (fillSliceItems > 0 ? n >= fillSliceItems : Seconds() >= until)
                break;
        }
    }
    if (done) {
        FinishFill();
        return;
    }
    // Showing the items costs the control a walk over all of them (its
    // arrangement, its scroll range, its painting): they are shown after
    // the first slice and then each time their number has doubled, which
    // keeps the whole fill linear.
    if (int count = Count(); count >= 2 * fill_->shown) {
        fill_->shown = count;
        fill_->redrawHeld = false;
        ShowFilled();
    }
    ScheduleSlice();
}

void TFileView::ScheduleSlice()
{
    if (!Handle() || !fill_)
        return;
    // The user's input, and the painting of what has been read so far, go
    // first.
    if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT)) != 0)
        SetTimer(Handle(), kFillSliceTimer, USER_TIMER_MINIMUM, nullptr);
    else
        PostMessageW(Handle(), kFillSliceMessage, WPARAM(fillNumber_), 0);
}

bool TFileView::FillMessage(UINT msg, WPARAM wp)
{
    if (msg == WM_TIMER && wp == kFillSliceTimer) {
        KillTimer(Handle(), kFillSliceTimer);
        ContinueFill();
        return true;
    }
    if (msg == kFillSliceMessage) {
        if (wp == WPARAM(fillNumber_))
            ContinueFill();
        return true;
    }
    return false;
}

void TFileView::ContinueFill()
{
    if (!fill_ || !Handle())
        return;
    // Not under a slice (a shell call pumping messages) nor under an
    // in-place rename, whose item must stay where it is: a little later.
    if (filling_ || ListView_GetEditControl(Handle())) {
        SetTimer(Handle(), kFillSliceTimer, USER_TIMER_MINIMUM * 10, nullptr);
        return;
    }
    {
        ui::ScopedValue filling(filling_, true);
        ui::BusyScope busy(OnBusy, this);
        RunSlice();
    }
    if (refillPending_)
        FillList();
}

void TFileView::FinishFill()
{
    std::unique_ptr<FillContext> fill = std::move(fill_);
    if (Handle())
        KillTimer(Handle(), kFillSliceTimer);
    if (fill && fill->redrawHeld)
        ShowFilled();
    if (fill && Handle()) {
        OnItemsReplaced(this);
        // The selection went with the items, whether or not the control said so.
        if (fill->hadSelection && Handle() && SelectedCount() == 0)
            OnChange(this, -1);
    }
    std::vector<std::function<void()>> then;
    then.swap(afterFill_);
    for (auto& run : then)
        if (Handle())
            run();
}

void TFileView::ShowFilled() noexcept
{
    EndUpdate();
    // Auto-arranged icons need no horizontal scroll bar unless not even one
    // column fits: with one, they were laid out for the width the list had
    // before its vertical bar came, and the scroll ranges with them. Lay
    // them out again for the width it has now; turning the drawing off and
    // on does it, ranges included (an arrangement alone left the vertical
    // range short of the last rows).
    DWORD style = DWORD(GetWindowLongPtrW(Handle(), GWL_STYLE));
    DWORD view = style & LVS_TYPEMASK;
    if ((style & WS_HSCROLL) && (style & LVS_AUTOARRANGE) && (view == LVS_ICON || view == LVS_SMALLICON)) {
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    }
}

void TFileView::DropFill() noexcept
{
    std::unique_ptr<FillContext> fill = std::move(fill_);
    if (fill && fill->redrawHeld)
        EndUpdate();
    if (Handle())
        KillTimer(Handle(), kFillSliceTimer);
}

int TFileView::InsertionPoint(FillContext& fill, const Item& item) const
{
    int count = int(fill.Send(LVM_GETITEMCOUNT, 0, nullptr));
    // The folder mostly gives its items in order: try the end first.
    auto after = [&](int index) {
        const Item* other = fill.At(index);
        return !other || CompareItems(item, *other) >= 0;
    };
    if (count == 0 || after(count - 1))
        return count;
    int low = 0, high = count - 1; // the first item that comes after `item`
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (after(middle))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void TFileView::SetOrder(const shview::ListOrder& order)
{
    SortDirections = order.directions;
    sortKey_ = order.key;
    SortBy(sortKey_);
}

void TFileView::AddItemFrom(FillContext& fill, idlist::ChildIDList id)
{
    IShellFolder* folder = fill.folder;
    PCUITEMID_CHILD one[] = {id.get()};
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_LINK | SFGAO_FILESYSTEM;
    if (FAILED(folder->GetAttributesOf(1, one, &attributes)))
        attributes = 0;
    // The parsing name only serves the mask: not asked for when there is none.
    if (!Mask.empty() &&
        !shview::MaskShows(Mask, idlist::IDListDisplayName(folder, id.get(), SHGDN_FORPARSING),
                           (attributes & SFGAO_FOLDER) != 0))
        return; // the identifier goes with `id`

    auto item = std::make_unique<Item>();
    std::wstring caption = idlist::IDListDisplayName(folder, id.get(), SHGDN_INFOLDER);
    idlist::AbsoluteIDList absolute = idlist::IDListCombine(itemsFolderIDList_.get(), id.get());

    std::wstring sizeText, dateText;
    WIN32_FIND_DATAW data{};
    bool found = SUCCEEDED(SHGetDataFromIDListW(folder, id.get(), SHGDFIL_FINDDATA, &data, sizeof data));
    if (found) {
        item->facts.hasData = true;
        item->facts.size = fill.sizes.Whole(data.cFileName, Join(data.nFileSizeHigh, data.nFileSizeLow));
        item->facts.writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        sizeText = shview::FileSizeText(item->facts.size, texts::SizeUnit);
        dateText = DateText(data.ftLastWriteTime, fill.dateSeparator, fill.timeSeparator);
    }
    // A file's type, and mostly its icon, follow its extension; folders,
    // links and virtual items are asked one by one.
    std::wstring extension;
    bool plainFile = found && data.cFileName[0] && (attributes & SFGAO_FILESYSTEM) && !(attributes & SFGAO_FOLDER);
    if (plainFile)
        extension = ui::FileExtension(data.cFileName);

    int image = -1;
    if (fill.icons && fill.icons->GetIconOf(id.get(), GIL_FORSHELL, &image) != S_OK)
        image = -1; // only an S_OK answer carries an index
    if (image == -1)
        image = fill.shellInfo.IconIndex(folder, id.get(), absolute.get(),
                                         plainFile && !(attributes & SFGAO_LINK) ? &extension : nullptr);

    item->typeText = fill.shellInfo.TypeName(absolute.get(), plainFile ? &extension : nullptr);

    item->id = std::move(id);
    Item* record = item.get();
    records_.try_emplace(record, std::move(item));
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = InsertionPoint(fill, *record);
    row.pszText = caption.data();
    row.iImage = image;
    row.lParam = reinterpret_cast<LPARAM>(record);
    if (attributes & SFGAO_LINK) {
        row.mask |= LVIF_STATE;
        row.state = INDEXTOOVERLAYMASK(2); // the system image list's shortcut overlay
        row.stateMask = LVIS_OVERLAYMASK;
    }
    int index = int(fill.Send(LVM_INSERTITEMW, 0, &row));
    if (index < 0) {
        FreeItem(reinterpret_cast<LPARAM>(record));
        return;
    }
    std::wstring* texts[] = {&sizeText, &record->typeText, &dateText};
    for (int column = 1; column <= 3; ++column) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = texts[column - 1]->data();
        fill.Send(LVM_SETITEMTEXTW, WPARAM(index), &cell);
    }
}
