// Counts the messages sent to one window of this thread (a hook on every
// window procedure call), e.g. LVM_DELETEALLITEMS to tell a list's refills.
#pragma once
#include <windows.h>

#include <map>

namespace testsupport {

class MessageCounter {
public:
    explicit MessageCounter(HWND window) : window_(window)
    {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~MessageCounter()
    {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    bool Hooked() const noexcept { return hook_ != nullptr; }
    int Count(UINT message) const
    {
        auto it = counts_.find(message);
        return it == counts_.end() ? 0 : it->second;
    }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp)
    {
        if (code == HC_ACTION && current_) {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
            if (call->hwnd == current_->window_)
                ++current_->counts_[call->message];
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline MessageCounter* current_ = nullptr;
    HWND window_;
    HHOOK hook_ = nullptr;
    std::map<UINT, int> counts_;
};

} // namespace testsupport
