#include "dirmon/DirMonitor.h"

#include "dirmon/find_schedule.h"
#include "dirmon/find_timer.h"

#include <optional>

static_assert(TDirMonitorFilter::kNotifyFileName == FILE_NOTIFY_CHANGE_FILE_NAME);
static_assert(TDirMonitorFilter::kNotifyDirName == FILE_NOTIFY_CHANGE_DIR_NAME);
static_assert(TDirMonitorFilter::kNotifyAttributes == FILE_NOTIFY_CHANGE_ATTRIBUTES);
static_assert(TDirMonitorFilter::kNotifySize == FILE_NOTIFY_CHANGE_SIZE);
static_assert(TDirMonitorFilter::kNotifyLastWrite == FILE_NOTIFY_CHANGE_LAST_WRITE);
static_assert(TDirMonitorFilter::kNotifySecurity == FILE_NOTIFY_CHANGE_SECURITY);
static_assert(dirmon::kMaxWaitHandles == MAXIMUM_WAIT_OBJECTS);

namespace {

// Tests one run of objects without waiting.
std::optional<size_t> WaitAny(const dirmon::Handle* handles, size_t count)
{
    const DWORD r = WaitForMultipleObjects(static_cast<DWORD>(count), handles, FALSE, 0);
    if (r >= WAIT_OBJECT_0 && r - WAIT_OBJECT_0 < count)
        return r - WAIT_OBJECT_0;
    return std::nullopt;
}

// The monitors' shared state: the interval, the list and the find timer.
struct Shared {
    dirmon::FindSchedule schedule{[this](unsigned ms) { timer.SetInterval(ms); }};
    TFindTimer timer{[this] { schedule.Poll(&WaitAny); }};
};

// Built by the first monitor's constructor, so it is torn down only after the
// last monitor (also one with static storage) has gone.
Shared& State()
{
    static Shared shared;
    return shared;
}

// The process's current directory; none when it cannot be read (the error
// is left for GetLastError).
std::optional<std::wstring> CurrentDirectory()
{
    std::wstring path;
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    while (size != 0) {
        path.resize(size);
        const DWORD n = GetCurrentDirectoryW(size, path.data());
        if (n == 0)
            break;
        if (n < size) {
            path.resize(n);
            return path;
        }
        size = n; // it grew in between
    }
    return std::nullopt;
}

} // namespace

TDirMonitor::TDirMonitor()
{
    State();
}

TDirMonitor::~TDirMonitor()
{
    SetActive(false);
}

void TDirMonitor::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (value) {
        Arm();
        if (handle_)
            State().schedule.List(this);
    } else {
        handle_.reset();
        State().schedule.Unlist(this);
    }
}

void TDirMonitor::SetDirectory(const std::wstring& value)
{
    if (value == directory_)
        return;
    directory_ = value;
    if (active_)
        Arm();
}

void TDirMonitor::SetFilter(TDirMonitorFilter value)
{
    if (value == filter_)
        return;
    filter_ = value;
    if (active_)
        Arm();
}

void TDirMonitor::SetIncludeSubDir(bool value)
{
    if (value == includeSubDir_)
        return;
    includeSubDir_ = value;
    if (active_)
        Arm();
}

int TDirMonitor::Interval() noexcept
{
    return State().schedule.Interval();
}

void TDirMonitor::SetInterval(int ms)
{
    State().schedule.SetInterval(ms);
}

bool TDirMonitor::Listed() const noexcept
{
    return State().schedule.Listed().Contains(this);
}

size_t TDirMonitor::ListedCount() noexcept
{
    return State().schedule.Listed().Size();
}

bool TDirMonitor::FindTimerRunning() noexcept
{
    return State().timer.Running();
}

unsigned TDirMonitor::FindTimerInterval() noexcept
{
    return State().timer.Interval();
}

size_t TDirMonitor::Poll()
{
    return State().schedule.Poll(&WaitAny);
}

void TDirMonitor::Arm()
{
    handle_.reset();
    std::optional<std::wstring> path = directory_;
    if (directory_.empty())
        path = CurrentDirectory();
    HANDLE h = INVALID_HANDLE_VALUE;
    if (path)
        h = FindFirstChangeNotificationW(path->c_str(), includeSubDir_, filter_.NotifyFilter());
    if (h == INVALID_HANDLE_VALUE) {
        directory_ = std::to_wstring(static_cast<unsigned long>(GetLastError()));
        return;
    }
    handle_.reset(h);
}

dirmon::Handle TDirMonitor::WaitHandle() const noexcept
{
    return handle_ ? handle_.get() : nullptr;
}

void TDirMonitor::Rearm() noexcept
{
    if (handle_)
        FindNextChangeNotification(handle_.get());
}

void TDirMonitor::Changed()
{
    // The handler may destroy this monitor, and its event with it: call a copy.
    const ui::Event<TDirMonitor*> handler = OnChange;
    handler(this);
}
