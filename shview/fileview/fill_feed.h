// What the file list shows of each item of a folder, as the folder gives it,
// and a reader that gathers it on a thread of its own. A file-system
// folder is read there in full before its first item comes out of the
// shell, and each item's name costs a round of registry look-ups: neither
// holds up the window.
#pragma once
#include "idlist/idlist.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace shview {

// One item as read from its folder.
struct FillEntry {
    idlist::ChildIDList id;
    SFGAOF attributes = 0;
    std::wstring caption;
    // The file's own data, when the folder gives it.
    bool found = false;
    std::wstring fileName;
    std::uint64_t size = 0;
    FILETIME written{};
    // The place the reader gave it: 0 for the first entry, and so on.
    std::uint32_t number = 0;
};

// Enumerates a folder's items for the list (folders, files, hidden ones),
// `owner` the window the shell may ask the user from: a share's password, a
// mapped drive to connect again, a disc to insert. A reader's thread has
// none, so such a folder fails there and is read again on the window's.
using EnumerateItems = HRESULT (*)(IShellFolder* folder, HWND owner, IEnumIDList** items);
HRESULT EnumerateWithShell(IShellFolder* folder, HWND owner, IEnumIDList** items);
// The enumeration every list and reader uses: the shell's, or a test's.
inline std::atomic<EnumerateItems> itemEnumerator{EnumerateWithShell};

// Reads item `id` of `folder`: false (and `entry` unset) when `mask` (the
// extensions to show; empty shows everything) hides it.
bool ReadFillEntry(IShellFolder* folder, idlist::ChildIDList id, const std::vector<std::wstring>& mask,
                   FillEntry& entry);

// A file-system folder's items, read on a thread of its own and taken by the
// list in batches. The thread binds its own folder object from the folder's
// identifier (a folder object serves the thread that made it).
class FillFeed {
public:
    enum class State { Opening,
                       Reading,
                       Failed,
                       Done };

    // Starts reading `folder` (copied); null if no thread could be started.
    // A folder of `rankFrom` entries or more is also put in the folder's own
    // order by the reader, once read (see Ranks).
    static std::shared_ptr<FillFeed> Start(PCIDLIST_ABSOLUTE folder, std::vector<std::wstring> mask,
                                           std::size_t rankFrom);
    ~FillFeed();
    FillFeed(const FillFeed&) = delete;
    FillFeed& operator=(const FillFeed&) = delete;

    // Waits at most `milliseconds` while fewer than kBatch entries are there
    // to take and the folder is still being read; answers the state then.
    State Wait(DWORD milliseconds);
    // Entries the reader gathers before it wakes a waiting list: waking it
    // for each slowed the reading by up to half (a switch of threads each).
    static constexpr std::size_t kBatch = 64;
    // Moves the entries read so far to the end of `into`.
    void Take(std::deque<FillEntry>& into);
    // The reading ends at its next item; nothing more is kept.
    void Cancel() noexcept;
    // Once Done: each entry's place in the folder's own order (ascending),
    // by its number; empty if the reader did not order them.
    std::vector<std::uint32_t> Ranks();
    // Waits at most `milliseconds` for every reader's thread to end (a
    // cancelled one ends at its next item); true when none runs. The
    // program waits before it ends, so that no reader is cut off inside the
    // system's own locks.
    static bool WaitForReaders(DWORD milliseconds);

private:
    FillFeed(idlist::AbsoluteIDList folder, std::vector<std::wstring> mask, std::size_t rankFrom);
    static void Read(std::shared_ptr<FillFeed> feed) noexcept;
    void ReadFolder();
    bool Cancelled();
    void Put(FillEntry entry);
    void End(State state) noexcept;
    void Rank(IShellFolder* folder, const std::vector<idlist::ChildIDList>& ids);

    idlist::AbsoluteIDList folder_;
    const std::vector<std::wstring> mask_;
    const std::size_t rankFrom_;
    std::vector<std::uint32_t> ranks_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<FillEntry> entries_;
    State state_ = State::Opening;
    bool cancelled_ = false;
};

} // namespace shview
