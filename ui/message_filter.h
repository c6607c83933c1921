// A filter that sees a window's messages before the window does, for as long
// as the object lives. Used while a modal loop that the window does not run
// (a tracked menu, say) sends it messages that belong to someone else.
#pragma once
#include <windows.h>

#include <functional>

namespace ui {

// Answers true when it has handled the message, with `result` as the
// window's answer; false lets the window see it as usual. It must not throw:
// an exception is shown by the top-level handler and the window gets the
// message.
using MessageFilter = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;

class ScopedMessageFilter {
public:
    // Nothing is installed when `window` or `filter` is empty.
    ScopedMessageFilter(HWND window, MessageFilter filter);
    ~ScopedMessageFilter();
    ScopedMessageFilter(const ScopedMessageFilter&) = delete;
    ScopedMessageFilter& operator=(const ScopedMessageFilter&) = delete;

    bool Installed() const noexcept { return window_ != nullptr; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND window_ = nullptr;
    MessageFilter filter_;
};

} // namespace ui
