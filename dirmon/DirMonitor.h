// A directory change monitor: watches one folder (and, if asked, everything
// below it) for the kinds of change in its Filter and raises OnChange when the
// system reports one. It has no thread: the system's change notifications do
// the watching, and one find timer shared by every monitor of the process
// tests them on the user-interface thread. The monitor does not say what
// changed; the receiver looks again.
#pragma once
#include "dirmon/filter.h"
#include "dirmon/watch_list.h"
#include "ui/component.h"
#include "ui/handles.h"

#include <string>

class TDirMonitor : public ui::Component, private dirmon::Watcher {
public:
    TDirMonitor();
    // Switches the monitor off first.
    ~TDirMonitor() override;

    // Switching on arms the monitor; one that arms is listed (polled by the
    // find timer, the first one listed starting it). One that cannot be armed
    // stays on but unlisted and reports nothing until it is switched off and
    // on again. Switching off closes the notification and takes the monitor
    // off the list; the last one off stops the find timer.
    bool Active() const noexcept { return active_; }
    void SetActive(bool value);

    // The folder watched; empty means the current directory at the time of
    // arming. When arming fails it holds the system's error code in decimal
    // instead (so assigning the path again is a change and re-arms).
    const std::wstring& Directory() const noexcept { return directory_; }
    // Compared exactly (letter case counts); a change re-arms an active monitor.
    void SetDirectory(const std::wstring& value);

    TDirMonitorFilter Filter() const noexcept { return filter_; }
    void SetFilter(TDirMonitorFilter value);

    // Watch the whole subtree.
    bool IncludeSubDir() const noexcept { return includeSubDir_; }
    void SetIncludeSubDir(bool value);

    // The find timer's period in milliseconds: one value for every monitor of
    // the process (2000 at start). While a monitor is listed a new value takes
    // effect at once; 0 stops all polling until another value is set.
    static int Interval() noexcept;
    static void SetInterval(int ms);

    // Raised on the user-interface thread from the find timer's tick, with
    // this monitor. The handler may switch monitors on or off, change their
    // properties or destroy them, this one included.
    ui::Event<TDirMonitor*> OnChange;

    // The notification handle; INVALID_HANDLE_VALUE while not armed.
    HANDLE NotifyHandle() const noexcept { return handle_.get(); }
    // Polled by the find timer.
    bool Listed() const noexcept;

    // The process-wide state, for tests and measurements.
    static size_t ListedCount() noexcept;
    static bool FindTimerRunning() noexcept;
    // The find timer's current period; 0 while it is stopped.
    static unsigned FindTimerInterval() noexcept;
    // Runs one tick of the find timer now; returns the number of events raised.
    static size_t Poll();

private:
    // Closes the current notification and opens a new one for the current
    // properties; on failure Directory becomes the error code. The list is
    // not touched.
    void Arm();

    dirmon::Handle WaitHandle() const noexcept override;
    void Rearm() noexcept override;
    void Changed() override;

    bool active_ = false;
    std::wstring directory_;
    TDirMonitorFilter filter_ = kDefaultDirMonitorFilter;
    bool includeSubDir_ = false;
    ui::UniqueChangeNotify handle_;
};
