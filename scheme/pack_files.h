// The files of cursor packs on disk, for their install: a pack's file opened
// only where it lies inside the pack's folder, copies and comparisons of
// opened files, and the folders an install works in.
#pragma once
#include "ui/handles.h"

#include <windows.h>

#include <string>

namespace scheme {

// The folder of a pack as the system resolves it (links followed), to
// open the pack's files in; empty when it cannot be opened.
class PackFolder {
public:
    explicit PackFolder(const std::wstring& path);
    bool IsOpen() const noexcept { return !final_.empty(); }

    // Opens the pack's file at `path` (below the folder) for reading. Refused
    // (an empty handle) when what it opens is no file on a disk, or lies
    // outside the folder once every link on the way is followed: a link in
    // a pack must not bring in a file from elsewhere.
    ui::UniqueFile Open(const std::wstring& path, bool& outside) const;

private:
    std::wstring final_; // the folder's final path, with a '\' at its end
};

// The final path of an open file or folder (every link followed); "" when
// the system cannot tell.
std::wstring FinalPath(HANDLE file);

// Copies the rest of `from` into a new file `to`; false (and no file) when
// that fails.
bool CopyOpenFile(HANDLE from, const std::wstring& to);

// Whether two open files hold the same bytes from where they stand.
bool SameContent(HANDLE a, HANDLE b);

// Deletes a folder of files, as the install makes them (no sub-folders).
void RemoveFiles(const std::wstring& folder);

// A new empty folder of its own below `parent`, named
// "<kind>-<process>-<tick>-<n>", then "-<suffix>" when one is given; "" when
// none can be made.
std::wstring NewFolder(const std::wstring& parent, const wchar_t* kind, const std::wstring& suffix = {});

// Clears what an install killed on its way left in `staging`: the folders
// of processes that are no longer running. A new pack's files go; an
// installed pack's files set aside ("old-...-<folder>") go back to their
// folder below `root` when nothing took its place, else they go too.
void SweepStaging(const std::wstring& staging, const std::wstring& root);

} // namespace scheme
