#include "ui/message_filter.h"

#include "ui/exception.h"

#include <commctrl.h>

#include <utility>

namespace ui {

// Each filter is its own subclass (the object's address is the id), so that
// filters nest: the one installed last sees a message first.
ScopedMessageFilter::ScopedMessageFilter(HWND window, MessageFilter filter) : filter_(std::move(filter))
{
    if (window && filter_ &&
        SetWindowSubclass(window, &ScopedMessageFilter::Proc, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this)))
        window_ = window;
}

ScopedMessageFilter::~ScopedMessageFilter()
{
    if (window_ && IsWindow(window_))
        RemoveWindowSubclass(window_, &ScopedMessageFilter::Proc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK ScopedMessageFilter::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<ScopedMessageFilter*>(ref);
    if (msg == WM_NCDESTROY) {
        // The window goes before the filter: nothing is left to remove.
        RemoveWindowSubclass(hwnd, &ScopedMessageFilter::Proc, id);
        self->window_ = nullptr;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->filter_(msg, wp, lp, result);
    } catch (...) {
        ShowCurrentException(GetAncestor(hwnd, GA_ROOT));
        handled = false;
    }
    return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace ui
