// What the file list shows of each item of a folder, as the folder gives it,
// and a reader that gathers it on a thread of its own. A file-system
// folder is read there in full before its first item comes out of the
// shell, and each item's name costs a round of registry look-ups: neither
// holds up the window.
#pragma once
#include "idlist/idlist.h"

#include <windows.h>
#include <shlobj.h>

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
};

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
    static std::shared_ptr<FillFeed> Start(PCIDLIST_ABSOLUTE folder, std::vector<std::wstring> mask);
    ~FillFeed();
    FillFeed(const FillFeed&) = delete;
    FillFeed& operator=(const FillFeed&) = delete;

    // Waits at most `milliseconds` while nothing is there to take and the
    // folder is still being read; answers the state then.
    State Wait(DWORD milliseconds);
    // Moves the entries read so far to the end of `into`.
    void Take(std::deque<FillEntry>& into);
    // The reading ends at its next item; nothing more is kept.
    void Cancel() noexcept;

private:
    FillFeed(idlist::AbsoluteIDList folder, std::vector<std::wstring> mask);
    static void Read(std::shared_ptr<FillFeed> feed) noexcept;
    void ReadFolder();
    bool Cancelled();
    void Put(FillEntry entry);
    void End(State state) noexcept;

    idlist::AbsoluteIDList folder_;
    const std::vector<std::wstring> mask_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<FillEntry> entries_;
    State state_ = State::Opening;
    bool cancelled_ = false;
};

} // namespace shview
