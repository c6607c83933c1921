// A file list in a shown host window, pointed at folders the tests make.
#pragma once
#include "tests/support/seam_recorders.h"
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shview/fileview/FileView.h"
#include "tests/support/wine_ui.h"
#include "ui/seams.h"

namespace fvtest {

// A list that records what it would ask of the system where Wine shows
// nothing: the items it runs and its beeps.
class RecordingFileView : public TFileView {
public:
    std::vector<std::wstring> executed; // parsing names of the items run
    std::function<void()> onExecute;    // runs as each item is run
    int beeps = 0;
    using TFileView::DblClick;

private:
    void Execute(PCIDLIST_ABSOLUTE absolute);
    ui::ScopedSeam<ui::ExecuteItemFn> execute_{ui::CurrentSeams().executeItem,
                                               [this](HWND, PCIDLIST_ABSOLUTE item) { Execute(item); }};
    ui::ScopedSeam<ui::MessageBeepFn> beep_{ui::CurrentSeams().messageBeep, [this](UINT) { ++beeps; }};
};

class FileViewTest : public testing::Test {
protected:
    // A folder that cannot be read says so in a box: recorded, not shown.
    testsupport::BoxRecorder unreadable;
    void SetUp() override;
    void TearDown() override;

    // The test folder's path, and the path of a name in it.
    std::wstring Dir() const { return dir.Path(); }
    std::wstring In(std::wstring_view name) const { return dir / name; }
    // Points the list at a folder by its path.
    void Show(const std::wstring& path);
    // Points the list at `id` through a desktop that binds it to `folder`.
    void ShowThrough(PCIDLIST_ABSOLUTE id, IShellFolder* folder, HRESULT bindResult = S_OK);
    // The shell's own folder object of the test folder.
    ui::ComPtr<IShellFolder> Real()
    {
        ui::ComPtr<IShellFolder> real;
        idlist::AbsoluteIDList id = idlist::IDListFromPath(Dir());
        idlist::DesktopFolder()->BindToObject(id.get(), nullptr, IID_IShellFolder, real.put_void());
        return real;
    }
    // Types a new caption into the in-place editor and confirms it.
    void Rename(const std::wstring& caption, const std::wstring& typed);
    int Find(const std::wstring& caption) const;
    std::vector<std::wstring> Captions() const;
    std::wstring SizeText(const std::wstring& caption) const { return view.ItemText(Find(caption), 1); }
    std::wstring DateText(const std::wstring& caption) const { return view.ItemText(Find(caption), 3); }
    void SelectOnly(const std::vector<std::wstring>& captions);
    // Centre of an item's icon, in the list's client coordinates.
    POINT IconCentre(int index) const;
    // A click as the user makes it: the press, then the release the list
    // waits for while it watches for a drag.
    void Click(UINT down, UINT up, int index);

    idlist::ShellModule module;
    testsupport::TempDir dir;
    HWND host = nullptr;
    RecordingFileView view;
};

// A file of `size` bytes that takes no room (sparse).
void MakeSizedFile(const std::wstring& path, ULONGLONG size);
// Sets a file's (or folder's) last write time from a UTC date.
void SetWriteTime(const std::wstring& path, WORD year, WORD month, WORD day);

} // namespace fvtest
