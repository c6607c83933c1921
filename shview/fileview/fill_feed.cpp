#include "shview/fileview/fill_feed.h"

#include "idlist/file_path.h"

#include "shview/file_texts.h"
#include "shview/fileview/whole_sizes.h"
#include "ui/handles.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace shview {

namespace {

// The readers' threads still running. Never freed: a thread may end after
// the program's own objects have gone.
struct Readers {
    std::mutex lock;
    std::condition_variable ended;
    int running = 0;
};

Readers& RunningReaders()
{
    static Readers* readers = new Readers;
    return *readers;
}

} // namespace

bool FillFeed::WaitForReaders(DWORD milliseconds)
{
    Readers& readers = RunningReaders();
    std::unique_lock<std::mutex> hold(readers.lock);
    return readers.ended.wait_for(hold, std::chrono::milliseconds(milliseconds),
                                  [&] { return readers.running == 0; });
}

HRESULT EnumerateWithShell(IShellFolder* folder, HWND owner, IEnumIDList** items)
{
    return folder->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, items);
}

bool ReadFillEntry(IShellFolder* folder, idlist::ChildIDList id, const std::vector<std::wstring>& mask,
                   FillEntry& entry)
{
    PCUITEMID_CHILD one[] = {id.get()};
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_LINK | SFGAO_FILESYSTEM;
    if (FAILED(folder->GetAttributesOf(1, one, &attributes)))
        attributes = 0;
    // The parsing name only serves the mask: not asked for when there is none.
    if (!mask.empty() && !MaskShows(mask, idlist::IDListDisplayName(folder, id.get(), SHGDN_FORPARSING),
                                    (attributes & SFGAO_FOLDER) != 0))
        return false; // the identifier goes with `id`
    entry.attributes = attributes;
    entry.caption = idlist::IDListDisplayName(folder, id.get(), SHGDN_INFOLDER);
    WIN32_FIND_DATAW data{};
    entry.found = SUCCEEDED(SHGetDataFromIDListW(folder, id.get(), SHGDFIL_FINDDATA, &data, sizeof data));
    if (entry.found) {
        entry.fileName = data.cFileName;
        entry.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entry.written = data.ftLastWriteTime;
    }
    entry.id = std::move(id);
    return true;
}

std::shared_ptr<FillFeed> FillFeed::Start(PCIDLIST_ABSOLUTE folder, std::vector<std::wstring> mask,
                                          std::size_t rankFrom)
{
    idlist::AbsoluteIDList copy = idlist::IDListCombine(folder, nullptr);
    if (!copy)
        return nullptr;
    std::shared_ptr<FillFeed> feed(new FillFeed(std::move(copy), std::move(mask), rankFrom));
    Readers& readers = RunningReaders();
    {
        std::lock_guard<std::mutex> hold(readers.lock);
        ++readers.running;
    }
    try {
        std::thread(Read, feed).detach();
    } catch (const std::exception&) {
        std::lock_guard<std::mutex> hold(readers.lock);
        --readers.running;
        return nullptr;
    }
    return feed;
}

FillFeed::FillFeed(idlist::AbsoluteIDList folder, std::vector<std::wstring> mask, std::size_t rankFrom)
    : folder_(std::move(folder)), mask_(std::move(mask)), rankFrom_(rankFrom)
{
}

FillFeed::~FillFeed() = default;

FillFeed::State FillFeed::Wait(DWORD milliseconds)
{
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, std::chrono::milliseconds(milliseconds), [&] {
        return entries_.size() >= kBatch || state_ == State::Failed || state_ == State::Done;
    });
    return state_;
}

void FillFeed::Take(std::deque<FillEntry>& into)
{
    std::deque<FillEntry> taken;
    {
        std::lock_guard<std::mutex> hold(lock_);
        taken.swap(entries_);
    }
    if (into.empty())
        into.swap(taken);
    else
        std::move(taken.begin(), taken.end(), std::back_inserter(into));
}

void FillFeed::Cancel() noexcept
{
    std::deque<FillEntry> dropped; // freed outside the lock
    std::lock_guard<std::mutex> hold(lock_);
    cancelled_ = true;
    dropped.swap(entries_);
}

std::vector<std::uint32_t> FillFeed::Ranks()
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_ == State::Done ? std::move(ranks_) : std::vector<std::uint32_t>{};
}

bool FillFeed::Cancelled()
{
    std::lock_guard<std::mutex> hold(lock_);
    return cancelled_;
}

void FillFeed::Put(FillEntry entry)
{
    bool batch = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (cancelled_)
            return;
        entries_.push_back(std::move(entry));
        batch = entries_.size() == kBatch;
    }
    if (batch)
        changed_.notify_all();
}

void FillFeed::End(State state) noexcept
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        // Items already given stay given: the reading ended where it failed.
        state_ = state == State::Failed && state_ == State::Reading ? State::Done : state;
    }
    changed_.notify_all();
}

void FillFeed::Read(std::shared_ptr<FillFeed> feed) noexcept
{
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        feed->ReadFolder();
    } catch (...) {
        feed->End(State::Failed);
    }
    feed.reset();
    if (SUCCEEDED(com))
        CoUninitialize();
    Readers& readers = RunningReaders();
    {
        std::lock_guard<std::mutex> hold(readers.lock);
        --readers.running;
    }
    readers.ended.notify_all();
}

void FillFeed::ReadFolder()
{
    ui::ComPtr<IShellFolder> desktop, folder;
    ui::ComPtr<IEnumIDList> items;
    HRESULT hr = SHGetDesktopFolder(desktop.put());
    if (SUCCEEDED(hr))
        hr = desktop->BindToObject(folder_.get(), nullptr, IID_IShellFolder, folder.put_void());
    if (SUCCEEDED(hr) && folder)
        hr = itemEnumerator.load()(folder.get(), nullptr, items.put());
    if (FAILED(hr) || !folder) {
        End(State::Failed);
        return;
    }
    // Some shells keep only the low 32 bits of a size in their identifiers:
    // the directory itself knows the whole size. Read at once, like the
    // items, so not on the window's thread.
    WholeSizes sizes;
    std::wstring path;
    if (idlist::IDListFileSystemPath(folder_.get(), path))
        sizes.Load(path);
    {
        std::lock_guard<std::mutex> hold(lock_);
        state_ = State::Reading;
    }
    changed_.notify_all();
    std::vector<idlist::ChildIDList> ids; // copies, for the order
    // S_FALSE may come without an enumerator: no items.
    while (items && !Cancelled()) {
        idlist::ChildIDList id;
        ULONG fetched = 0;
        if (items->Next(1, id.put(), &fetched) != S_OK)
            break;
        FillEntry entry;
        if (!id || !ReadFillEntry(folder.get(), std::move(id), mask_, entry))
            continue;
        if (entry.found)
            entry.size = sizes.Whole(entry.fileName.c_str(), entry.size);
        entry.number = std::uint32_t(ids.size());
        ids.push_back(idlist::IDListFirst(entry.id.get()));
        Put(std::move(entry));
    }
    if (ids.size() >= rankFrom_ && !Cancelled())
        Rank(folder.get(), ids);
    End(State::Done);
}

void FillFeed::Rank(IShellFolder* folder, const std::vector<idlist::ChildIDList>& ids)
{
    std::vector<std::uint32_t> order(ids.size());
    for (std::uint32_t n = 0; n < order.size(); ++n)
        order[n] = n;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return idlist::IDListCompare(folder, ids[a].get(), ids[b].get()) < 0;
    });
    std::vector<std::uint32_t> ranks(ids.size());
    for (std::uint32_t place = 0; place < order.size(); ++place)
        ranks[order[place]] = place;
    std::lock_guard<std::mutex> hold(lock_);
    ranks_ = std::move(ranks);
}

} // namespace shview
