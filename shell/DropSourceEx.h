// Starts OLE drags of shell items: one path, a list of paths, or items of one folder.
#pragma once
#include "ui/component.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

class TDropSourceEx : public ui::Component {
public:
    TDropSourceEx() = default;
    ~TDropSourceEx() override = default;

    // Replaces DSFileName with the one path and drags it.
    void DragFile(HWND window, const std::wstring& path);
    // Drags the items named by DSFileName (the first path's folder is the drag's).
    void DragFileNames(HWND window);
    // Drags `count` items of `folder` given as a packed item list, with the
    // shell's own data object for them. Virtual so that a test can record
    // what a view asks for.
    virtual void DragItems(HWND window, IShellFolder* folder, int count, PCUIDLIST_RELATIVE items);

    std::vector<std::wstring> DSFileName;
};
