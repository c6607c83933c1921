// Filling the file list from its folder.
#include "shview/fileview/FileView.h"

#include "res/texts.h"
#include "shview/fileview/FileViewItem.h"
#include "shview/fileview/list_marks.h"
#include "shview/file_texts.h"
#include "shview/fileview/path_limits.h"
#include "idlist/file_path.h"
#include "ui/handles.h"
#include "ui/scoped_value.h"
#include "ui/seams.h"
#include "ui/screen_cursor.h"
#include "ui/text.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <unordered_map>
#include <utility>

namespace {

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

void TFileView::FillList() { Fill(false); }

void TFileView::ReadAgain(bool everything)
{
    // In place only over the items of the folder in view, once they are all in.
    bool inPlace = !filling_ && (!fill_ || fill_->merge) && itemsFolder_ && itemsFolder_.get() == shellFolder_.get();
    Fill(inPlace, everything);
}

void TFileView::Fill(bool merge, bool everything)
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
    do {
        refillPending_ = false;
        if (!StartFill(merge, everything))
            FillFailed();
        else if (fill_)
            RunSlice();
        merge = false; // what was asked meanwhile is a fill
    } while (refillPending_ && Handle());
    // Nothing to wait for (no folder, or it could not be read).
    if (!fill_)
        FinishFill();
}

bool TFileView::ReadHere(FillContext& fill)
{
    ui::ComPtr<IEnumIDList> items;
    failure_ = shview::itemEnumerator.load()(fill.folder, Handle(), items.put());
    if (FAILED(failure_) || !Handle() || fill_.get() != &fill)
        return false;
    fill.feed.reset();
    fill.items = std::move(items);
    return true;
}

namespace {
// The system's own words for a failure, without the line break it ends with.
std::wstring SystemMessage(HRESULT hr)
{
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, DWORD(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", text ? length : 0);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty()) {
        wchar_t code[16];
        swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
        message = code;
    }
    return message;
}
} // namespace

void TFileView::FillFailed()
{
    HRESULT failure = std::exchange(failure_, S_OK);
    if (!ReportUnreadable(false) && Handle() && FAILED(failure) && failure != HRESULT_FROM_WIN32(ERROR_CANCELLED))
        ReportFailure(failure);
    if (!Handle())
        return;
    // With a tree, a folder that cannot be read sends the tree back to the
    // folder it showed before, which points this list there again; only
    // once, so two unreadable folders cannot send each other back for ever.
    // Without one the items of the folder shown before stay, still
    // answering for that folder.
    if (FolderView && !wentBack_) {
        wentBack_ = true;
        FolderView->GoBack();
    } else {
        wentBack_ = false;
    }
}

bool TFileView::ReportUnreadable(bool refusedOnly)
{
    std::wstring path;
    if (!Handle() || !folderIDList_ || !idlist::IDListFileSystemPath(folderIDList_.get(), path) ||
        !shview::TooLongToRead(path))
        return false;
    if (refusedOnly) {
        WIN32_FIND_DATAW data{};
        HANDLE found = FindFirstFileW((path + L"\\*").c_str(), &data);
        DWORD error = GetLastError();
        ui::UniqueFind find(found);
        if (find || error != ERROR_FILENAME_EXCED_RANGE)
            return false;
    }
    if (auto& box = ui::CurrentSeams().messageBox)
        box(Handle(), shview::TooLongToReadText(path).c_str(), texts::ErrorCaption, MB_OK | MB_ICONERROR);
    return true;
}

void TFileView::ReportFailure(HRESULT failure)
{
    std::wstring name;
    if (folderIDList_ && !idlist::IDListFileSystemPath(folderIDList_.get(), name))
        name = idlist::IDListDisplayName(folderIDList_.get(), SHGDN_NORMAL);
    std::wstring text = name + L"\n" + texts::kFolderUnreadable + L"\n\n" + SystemMessage(failure);
    if (auto& box = ui::CurrentSeams().messageBox)
        box(Handle(), text.c_str(), texts::ErrorCaption, MB_OK | MB_ICONERROR);
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

namespace {
// A folder of the shell's own file system: read on a thread of its own.
bool ReadsOnItsOwnThread(const ui::ComPtr<IShellFolder>& folder, PCIDLIST_ABSOLUTE id)
{
    auto persist = folder.As<IPersist>(IID_IPersist);
    CLSID kind{};
    std::wstring path;
    // The folder object itself, not one that passes some calls on to it.
    auto self = folder.As<IUnknown>(IID_IUnknown);
    auto persistSelf = persist ? persist.As<IUnknown>(IID_IUnknown) : ui::ComPtr<IUnknown>();
    return persist && self.get() == persistSelf.get() && SUCCEEDED(persist->GetClassID(&kind)) &&
           IsEqualCLSID(kind, CLSID_ShellFSFolder) && idlist::IDListFileSystemPath(id, path);
}

// What is left of a slice ending at `until`, in whole milliseconds.
DWORD LeftOf(double until) noexcept
{
    double left = (until - Seconds()) * 1000;
    return left > 0 ? DWORD(left) + 1 : 0;
}

// How long a slice counted in items waits for the reader's next one.
constexpr DWORD kItemWaitMs = 10000;
} // namespace

bool TFileView::StartFill(bool merge, bool everything)
{
    if (!Handle() || !folderIDList_)
        return true;
    ui::ComPtr<IShellFolder> folder = shellFolder_;
    ui::ComPtr<IEnumIDList> items;
    std::shared_ptr<shview::FillFeed> feed;
    if (folder && ReadsOnItsOwnThread(folder, folderIDList_.get()))
        feed = shview::FillFeed::Start(folderIDList_.get(), Mask,
                                       merge ? SIZE_MAX : std::size_t(std::max(sortedInsertLimit, 0)));
    if (!feed) {
        failure_ = folder ? shview::itemEnumerator.load()(folder.get(), Handle(), items.put()) : E_FAIL;
        if (FAILED(failure_) || !Handle())
            return false;
    }

    auto fill = std::make_unique<FillContext>();
    fill->hadSelection = fill_ ? fill_->hadSelection : SelectedCount() > 0;
    fill->merge = merge;
    fill->everything = everything || (fill_ && fill_->merge && fill_->everything);
    DropFill();
    fill->items = std::move(items);
    fill->feed = std::move(feed);
    fill->iconsRef = folder.As<IShellIcon>(IID_IShellIcon);
    fill->icons = fill->iconsRef.get();
    fill->folder = folder.get();
    fill->folderRef = folder;
    fill->folderIDList = idlist::IDListCombine(folderIDList_.get(), nullptr);
    fill->list = Handle();
    fill->control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(Handle(), GCLP_WNDPROC));
    fill->dateSeparator = LocaleText(LOCALE_SDATE, L"/");
    fill->timeSeparator = LocaleText(LOCALE_STIME, L":");
    // The reader's folder may yet fail: the old items stay until it opened.
    if (!fill->feed)
        ReplaceItems(*fill);
    fill_ = std::move(fill);
    ++fillNumber_;
    return true;
}

void TFileView::ReplaceItems(FillContext& fill)
{
    fill.replaced = true;
    if (fill.merge) {
        // The items stay, and so does the folder they came from.
        fill.cleared = true;
        std::wstring directory;
        if (!fill.feed && idlist::IDListFileSystemPath(itemsFolderIDList_.get(), directory))
            fill.sizes.Start(directory);
        return;
    }
    wentBack_ = false;
    OnItemsReplacing(this);
    shview::ResetSortDirections(SortDirections);
    sortKey_ = shview::SortKey::Name;
    // The list shows its old items until the first new ones are in.
    if (!fill.redrawHeld) {
        BeginUpdate();
        fill.redrawHeld = true;
    }
}

bool TFileView::ClearOldItems(FillContext& fill, double until)
{
    // One at a time from the last, within the slice: the control takes
    // longer for each the more there are (all of 10,000 at once held the
    // window for longer than an input may wait), and the last is the
    // cheapest to take out. Until the last has gone the items still answer
    // for the folder they came from.
    {
        QuietFill quiet(*this);
        int budget = fillSliceItems;
        for (int count = int(fill.Send(LVM_GETITEMCOUNT, 0, nullptr)); count > 0; --count) {
            const Item* item = fill.At(count - 1);
            fill.Send(LVM_DELETEITEM, WPARAM(count - 1), nullptr);
            FreeItem(reinterpret_cast<LPARAM>(item));
            if (count > 1 && (fillSliceItems > 0 ? --budget <= 0 : Seconds() >= until))
                return false;
        }
    }
    // The list is the new folder's.
    fill.cleared = true;
    itemsFolder_ = fill.folderRef;
    itemsFolderIDList_ = std::move(fill.folderIDList);
    std::wstring directory; // a reader reads the sizes itself
    if (!fill.feed && idlist::IDListFileSystemPath(itemsFolderIDList_.get(), directory))
        fill.sizes.Start(directory);
    return true;
}

bool TFileView::NextEntry(FillContext& fill, double until, shview::FillEntry& entry, bool& done)
{
    if (!fill.feed) {
        for (;;) {
            idlist::ChildIDList id;
            ULONG fetched = 0;
            // S_FALSE may come without an enumerator: no items.
            if (!fill.items || fill.items->Next(1, id.put(), &fetched) != S_OK || !Handle()) {
                done = true;
                return false;
            }
            if (id && shview::ReadFillEntry(fill.folder, std::move(id), Mask, entry))
                return true;
            if (!Handle())
                return false;
        }
    }
    if (fill.pending.empty()) {
        fill.feed->Take(fill.pending);
        if (fill.pending.empty()) {
            auto state = fill.feed->Wait(fillSliceItems > 0 ? kItemWaitMs : LeftOf(until));
            fill.feed->Take(fill.pending);
            if (fill.pending.empty()) {
                done = state == shview::FillFeed::State::Done;
                return false;
            }
        }
    }
    entry = std::move(fill.pending.front());
    fill.pending.pop_front();
    return true;
}

void TFileView::RunSlice()
{
    // Showing the items costs the control a walk over all of them (its
    // arrangement, its scroll range, its painting), and under Wine a wait
    // for its server: in a message of its own, not after a slice. They are
    // shown after the first slice and then each time their number has
    // doubled, which keeps the whole fill linear. So does the sort of the
    // items added at the end, out of order.
    if (fill_->showDue) {
        fill_->showDue = false;
        fill_->redrawHeld = false;
        SortAdded(false);
        ShowFilled();
        ScheduleSlice();
        return;
    }
    ++slicesRun_;
    const double until = Seconds() + kFillSliceMs / 1000.0;
    if (!fill_->replaced) {
        auto state = fill_->feed->Wait(fillSliceItems > 0 ? kItemWaitMs : LeftOf(until));
        if (state == shview::FillFeed::State::Opening) {
            ScheduleSlice();
            return;
        }
        if (state == shview::FillFeed::State::Failed && !ReadHere(*fill_)) {
            DropFill();
            FillFailed();
            return;
        }
        ReplaceItems(*fill_);
    }
    if (!fill_->cleared && !ClearOldItems(*fill_, until)) {
        ScheduleSlice();
        return;
    }
    // The directory's own sizes first: the items' sizes are taken from them.
    if (!fill_->sizes.Continue([&] { return fillSliceItems <= 0 && Seconds() >= until; })) {
        ScheduleSlice();
        return;
    }
    bool done = false;
    {
        ui::ScopedScreenCursor cursor(IDC_WAIT);
        if (!fill_->redrawHeld && !fill_->merge) {
            BeginUpdate();
            fill_->redrawHeld = true;
        }
        QuietFill quiet(*this);
        for (int n = 1;; ++n) {
            shview::FillEntry entry;
            if (!NextEntry(*fill_, until, entry, done))
                break;
            if (fill_->merge)
                fill_->gathered.push_back(std::move(entry));
            else
                AddEntry(*fill_, std::move(entry));
            if (refillPending_ || !fill_ || !Handle())
                return;
            if (fillSliceItems > 0 ? n >= fillSliceItems : Seconds() >= until)
                break;
        }
        if (refillPending_ || !fill_ || !Handle())
            return;
    }
    if (done) {
        if (fill_->merge)
            ApplyGathered(*fill_);
        if (fill_)
            FinishFill();
        return;
    }
    if (int count = Count(); !fill_->merge && count >= 2 * fill_->shown) {
        fill_->shown = count;
        fill_->showDue = true;
    }
    ScheduleSlice();
}

void TFileView::SortAdded(bool last)
{
    if (!fill_ || !fill_->unsorted || (fill_->feed && !last))
        return;
    fill_->unsorted = false;
    std::vector<std::uint32_t> ranks;
    if (fill_->feed && sortKey_ == shview::SortKey::Name)
        ranks = fill_->feed->Ranks();
    for (auto& [key, item] : records_) {
        if (item->rank >= ranks.size()) {
            ranks.clear();
            break;
        }
    }
    if (ranks.empty()) {
        SortBy(sortKey_);
        return;
    }
    // The reader's order is the folder's own: the items need only their places.
    for (auto& [key, item] : records_)
        item->rank = ranks[item->rank];
    int direction = SortDirections[0];
    SortItems([direction](LPARAM a, LPARAM b) {
        std::uint32_t x = reinterpret_cast<const Item*>(a)->rank, y = reinterpret_cast<const Item*>(b)->rank;
        return shview::Directed(x < y ? -1 : x > y ? 1
                                                   : 0,
                                direction);
    });
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
    else if (!fill_)
        FinishFill(); // ended here, or its reader could not open the folder
}

void TFileView::FinishFill()
{
    if (Handle())
        SortAdded(true);
    std::unique_ptr<FillContext> fill = std::move(fill_);
    if (Handle())
        KillTimer(Handle(), kFillSliceTimer);
    if (fill && fill->redrawHeld)
        ShowFilled();
    // Where the system takes no long paths, a deep folder reads as empty.
    if (fill && fill->replaced && !fill->merge && Handle() && Count() == 0)
        ReportUnreadable(true);
    if (fill && fill->replaced && !fill->merge && Handle()) {
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
    std::unique_ptr<FillContext> fill = std::move(fill_); // stops its reader
    if (fill && fill->redrawHeld)
        EndUpdate();
    if (Handle())
        KillTimer(Handle(), kFillSliceTimer);
}

int TFileView::InsertionPoint(FillContext& fill, const Item& item) const
{
    int count = int(fill.Send(LVM_GETITEMCOUNT, 0, nullptr));
    // Each insert moves the items after it: past some thousands they are
    // added at the end and sorted when the list is next shown.
    if (count >= sortedInsertLimit && !fill.merge) {
        fill.unsorted = true;
        return count;
    }
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

TFileView::Row TFileView::ReadRow(FillContext& fill, shview::FillEntry entry)
{
    IShellFolder* folder = fill.folder;
    const SFGAOF attributes = entry.attributes;
    Row row;
    row.item = std::make_unique<Item>();
    Item& item = *row.item;
    idlist::ChildIDList id = std::move(entry.id);
    idlist::AbsoluteIDList absolute = idlist::IDListCombine(itemsFolderIDList_.get(), id.get());

    const bool found = entry.found;
    if (found) {
        item.facts.hasData = true;
        item.facts.size = fill.sizes.Whole(entry.fileName.c_str(), entry.size);
        item.facts.writeTime = Join(entry.written.dwHighDateTime, entry.written.dwLowDateTime);
        row.sizeText = shview::FileSizeText(item.facts.size, texts::SizeUnit);
        row.dateText = DateText(entry.written, fill.dateSeparator, fill.timeSeparator);
    }
    // A file's type, and mostly its icon, follow its extension; folders,
    // links and virtual items are asked one by one.
    std::wstring extension;
    bool plainFile =
        found && !entry.fileName.empty() && (attributes & SFGAO_FILESYSTEM) && !(attributes & SFGAO_FOLDER);
    if (plainFile)
        extension = ui::FileExtension(entry.fileName.c_str());

    if (fill.icons && fill.icons->GetIconOf(id.get(), GIL_FORSHELL, &row.image) != S_OK)
        row.image = -1; // only an S_OK answer carries an index
    if (row.image == -1)
        row.image = fill.shellInfo.IconIndex(folder, id.get(), absolute.get(),
                                             plainFile && !(attributes & SFGAO_LINK) ? &extension : nullptr);

    item.typeText = fill.shellInfo.TypeName(absolute.get(), plainFile ? &extension : nullptr);
    item.id = std::move(id);
    item.rank = entry.number;
    item.name = found && !entry.fileName.empty() ? std::move(entry.fileName) : entry.caption;
    item.attributes = attributes;
    item.readSize = entry.size;
    row.caption = std::move(entry.caption);
    return row;
}

namespace {
// A link's row shows the system image list's shortcut overlay.
void SetOverlay(LVITEMW& row, SFGAOF attributes) noexcept
{
    row.mask |= LVIF_STATE;
    row.state = attributes & SFGAO_LINK ? INDEXTOOVERLAYMASK(2) : 0;
    row.stateMask = LVIS_OVERLAYMASK;
}
} // namespace

void TFileView::SetColumnTexts(FillContext& fill, int index, Row& read, Item& record)
{
    std::wstring* texts[] = {&read.sizeText, &record.typeText, &read.dateText};
    for (int column = 1; column <= 3; ++column) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = texts[column - 1]->data();
        fill.Send(LVM_SETITEMTEXTW, WPARAM(index), &cell);
    }
}

int TFileView::AddEntry(FillContext& fill, shview::FillEntry entry)
{
    Row read = ReadRow(fill, std::move(entry));
    Item* record = read.item.get();
    records_.try_emplace(record, std::move(read.item));
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = InsertionPoint(fill, *record);
    row.pszText = read.caption.data();
    row.iImage = read.image;
    row.lParam = reinterpret_cast<LPARAM>(record);
    if (record->attributes & SFGAO_LINK)
        SetOverlay(row, record->attributes);
    int index = int(fill.Send(LVM_INSERTITEMW, 0, &row));
    if (index < 0) {
        FreeItem(reinterpret_cast<LPARAM>(record));
        return -1;
    }
    SetColumnTexts(fill, index, read, *record);
    return index;
}

void TFileView::UpdateEntry(FillContext& fill, int index, shview::FillEntry entry)
{
    auto* record = const_cast<Item*>(fill.At(index));
    if (!record || !records_.count(record))
        return;
    Row read = ReadRow(fill, std::move(entry));
    read.item->rank = record->rank;
    *record = std::move(*read.item); // the same record: whoever keys on it keeps it
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = index;
    row.pszText = read.caption.data();
    row.iImage = read.image;
    SetOverlay(row, record->attributes);
    fill.Send(LVM_SETITEMW, 0, &row);
    SetColumnTexts(fill, index, read, *record);
}

void TFileView::ApplyGathered(FillContext& fill)
{
    std::vector<shview::FillEntry> gathered = std::move(fill.gathered);
    std::unordered_map<std::wstring, std::size_t> byName;
    for (std::size_t i = 0; i < gathered.size(); ++i) {
        const shview::FillEntry& e = gathered[i];
        byName.emplace(e.found && !e.fileName.empty() ? e.fileName : e.caption, i);
    }
    std::vector<char> kept(gathered.size());
    bool selectionLost = false;
    // Taking a selected item out may scroll the control to its focused item:
    // the view goes back to where it was.
    const shview::ListMarks marks = shview::TakeListMarks(*this);
    {
        QuietFill quiet(*this);
        // From the last: an item taken out moves none of those still to look at.
        for (int index = int(fill.Send(LVM_GETITEMCOUNT, 0, nullptr)) - 1; index >= 0 && Handle(); --index) {
            const Item* item = fill.At(index);
            auto found = item ? byName.find(item->name) : byName.end();
            if (found == byName.end() || kept[found->second]) {
                OnItemDeleting(this, index);
                selectionLost = selectionLost || IsSelected(index);
                fill.Send(LVM_DELETEITEM, WPARAM(index), nullptr);
                FreeItem(reinterpret_cast<LPARAM>(item));
                continue;
            }
            kept[found->second] = 1;
            shview::FillEntry& entry = gathered[found->second];
            bool changed = fill.everything || item->attributes != entry.attributes || item->readSize != entry.size ||
                           item->facts.writeTime != Join(entry.written.dwHighDateTime, entry.written.dwLowDateTime);
            if (changed) {
                UpdateEntry(fill, index, std::move(entry));
                OnItemUpdated(this, index);
            }
        }
        for (std::size_t i = 0; i < gathered.size() && Handle(); ++i) {
            if (kept[i])
                continue;
            if (int index = AddEntry(fill, std::move(gathered[i])); index >= 0)
                OnItemInserted(this, index);
        }
    }
    if (selectionLost && Handle())
        shview::RestoreListMarks(*this, marks);
    // A selected item taken out changed the selection; the control said nothing.
    if (selectionLost && Handle())
        OnChange(this, -1);
}
