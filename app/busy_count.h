// The main window's busy counter (FBusy) raised for a scope and lowered when
// the scope ends, also on an exception.
#pragma once

class TBusyCount {
public:
    explicit TBusyCount(int& busy) noexcept : busy_(busy) { ++busy_; }
    ~TBusyCount() { --busy_; }
    TBusyCount(const TBusyCount&) = delete;
    TBusyCount& operator=(const TBusyCount&) = delete;

private:
    int& busy_;
};
