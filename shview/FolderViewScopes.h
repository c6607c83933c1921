// Scopes the folder tree's operations use: a flag set for a while, and
// redrawing suspended for a while; both undone also on an exception.
#pragma once
#include "ui/control.h"

#include <utility>

namespace shview {

// Sets a flag for a scope and puts the old value back, also on an exception.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), old_(std::exchange(flag, value)) {}
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

// Suspends a control's redrawing for a scope.
class RedrawOff {
public:
    explicit RedrawOff(ui::Control& control) : control_(control) { control_.BeginUpdate(); }
    ~RedrawOff() { control_.EndUpdate(); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    ui::Control& control_;
};

} // namespace shview
