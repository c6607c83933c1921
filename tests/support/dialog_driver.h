// Drives a modal dialog of this thread from inside its own message loop: a
// thread timer looks for the dialog by caption and runs an action on it once
// per opening (type a text, press a key, read the controls).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {

class DialogDriver {
public:
    DialogDriver(std::wstring caption, std::function<void(HWND dialog)> action)
        : caption_(std::move(caption)), action_(std::move(action))
    {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 30, &DialogDriver::OnTimer);
    }
    ~DialogDriver()
    {
        if (timer_)
            KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Openings seen so far.
    int Handled() const { return handled_; }

    // A key as the keyboard gives it, to a control of a dialog: the dialog's
    // own loop then does with it what the dialog manager does (Enter, Esc).
    static void PostKey(HWND control, UINT vk)
    {
        PostMessageW(control, WM_KEYDOWN, vk, 1);
        PostMessageW(control, WM_KEYUP, vk, LPARAM(0xC0000001));
    }
    static std::wstring TextOf(HWND w)
    {
        std::wstring text(std::size_t(GetWindowTextLengthW(w)) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(w, text.data(), int(text.size()))));
        return text;
    }

private:
    static DialogDriver*& Current()
    {
        static DialogDriver* current = nullptr;
        return current;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        DialogDriver* self = Current();
        if (!self || id != self->timer_)
            return;
        struct Probe {
            const std::wstring* caption;
            HWND found;
        } probe{&self->caption_, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM lp) -> BOOL {
                auto* p = reinterpret_cast<Probe*>(lp);
                wchar_t cls[16] = {};
                GetClassNameW(w, cls, 16);
                if (IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0 && TextOf(w) == *p->caption) {
                    p->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&probe));
        // The same window until it goes: one action per opening.
        if (probe.found == self->current_)
            return;
        self->current_ = probe.found;
        if (!probe.found)
            return;
        ++self->handled_;
        if (self->action_)
            self->action_(probe.found);
    }

    std::wstring caption_;
    std::function<void(HWND)> action_;
    HWND current_ = nullptr;
    int handled_ = 0;
    UINT_PTR timer_ = 0;
};

} // namespace testsupport
