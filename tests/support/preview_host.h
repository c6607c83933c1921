// A file list in a shown host window with previews that follow its items,
// wired as the main window wires them, for tests that drive the previews
// through the list they see rather than through the main window.
#pragma once
#include "app/previews/preview_list.h"
#include "app/previews/previews.h"
#include "shview/fileview/FileView.h"
#include "idlist/idlist.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"

#include <string>

namespace testsupport {

class PreviewHost {
public:
    // The list as large as the main window's at its first size.
    static constexpr int kListWidth = 310, kListHeight = 330;

    PreviewHost()
    {
        window = CreateHostWindow(L"previews");
        FollowItems(view, previews);
        view.Create(window);
        view.SetBounds(0, 0, kListWidth, kListHeight);
        // Somewhere for the focus to go when it leaves the list.
        elsewhere = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, kListWidth + 10, 0, 100, 24,
                                    window, nullptr, GetModuleHandleW(nullptr), nullptr);
        PumpUntilIdle();
    }
    ~PreviewHost()
    {
        previews.Stop();
        DestroyWindow(window);
        PumpUntilIdle();
    }
    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;

    // Points the list at a folder by its path, as the tree does.
    bool Show(const std::wstring& path)
    {
        idlist::AbsoluteIDList folder = idlist::IDListFromPath(path);
        if (!folder)
            return false;
        view.SetFolder(folder.get());
        return true;
    }
    // Runs the idle loader until it has nothing more to do.
    void LoadAll()
    {
        for (int i = 0; i < 10000; ++i) {
            bool done = true;
            previews.PreviewIdle(done);
            if (done)
                break;
        }
    }

    HWND window = nullptr;
    HWND elsewhere = nullptr;
    int busy = 0; // the owner's busy count, as the main window's FBusy
    TFileView view;
    FileViewPreviewList list{view, [this] { return busy > 0; }};
    Previews previews{list};
};

} // namespace testsupport
