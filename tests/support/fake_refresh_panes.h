// The automatic refresh over stand-in panes: a hidden window that forwards
// the refresh's messages to it, and panes that count what they are asked.
#pragma once
#include "app/refresh/auto_refresh.h"
#include "app/messages.h"
#include "app/pane_paths.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

namespace testsupport {

class FakeRefreshPanes : public RefreshPanes {
public:
    std::wstring selected;
    ::Busy busy; // the window's busy count
    int rebuilds = 0, syncs = 0, refills = 0;
    int busyWhileWorking = 0; // the busy count seen inside the last piece of work
    std::wstring selectAfterSync; // the selection a sync moves to, when set
    // Runs once, the next time the refresh looks whether a folder is there.
    mutable std::function<void()> onLook;

    std::wstring SelectedPath() const override { return selected; }
    bool Busy() const override { return busy.Raised(); }
    bool RebuildTree() override
    {
        ++rebuilds;
        busyWhileWorking = busy.Count();
        return true;
    }
    int SyncTree() override
    {
        ++syncs;
        busyWhileWorking = busy.Count();
        if (!selectAfterSync.empty())
            selected = selectAfterSync;
        return 0;
    }
    void RefillList(bool) override
    {
        ++refills;
        busyWhileWorking = busy.Count();
    }
    bool FolderExists(const std::wstring& path) const override
    {
        if (auto look = std::exchange(onLook, nullptr))
            look();
        return ::FolderExists(path);
    }
};

// A hidden top-level window whose private messages reach `refresh`.
class RefreshHost {
public:
    explicit RefreshHost(AutoRefresh& refresh)
    {
        static const wchar_t kClass[] = L"TarimokuRefreshHost";
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc); // a second registration fails harmlessly
        wnd_ = CreateWindowExW(0, kClass, L"refresh host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
        SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&refresh));
    }
    ~RefreshHost() { DestroyWindow(wnd_); }
    RefreshHost(const RefreshHost&) = delete;
    RefreshHost& operator=(const RefreshHost&) = delete;
    HWND Handle() const noexcept { return wnd_; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* refresh = reinterpret_cast<AutoRefresh*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (refresh) {
            switch (msg) {
            case WM_REFRESHVIEWS: refresh->RefreshViews(); return 0;
            case WM_WATCHFOLDERS: refresh->WatchFolders(); return 0;
            case WM_DEVICECHANGE: return refresh->DeviceChange(wp, lp);
            default: break;
            }
        }
        return DefWindowProcW(wnd, msg, wp, lp);
    }
    HWND wnd_ = nullptr;
};

} // namespace testsupport
