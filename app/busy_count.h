// The main window's busy counter (FBusy) raised for a scope and lowered when
// the scope ends, also on an exception.
#pragma once

class BusyCount {
public:
    explicit BusyCount(int& busy) noexcept : busy_(busy) { ++busy_; }
    ~BusyCount() { --busy_; }
    BusyCount(const BusyCount&) = delete;
    BusyCount& operator=(const BusyCount&) = delete;

private:
    int& busy_;
};
