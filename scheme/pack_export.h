// A pointer set written as a cursor pack another user can install: a folder
// holding the set's files and an install.inf in the layout packs use
// (version, install section, destination, copy list, the scheme's line and
// the role lines for the current user, strings). The system's own Install
// on the file's menu accepts it, and so does InstallCursorPack, which gives
// the same scheme back.
#pragma once
#include "scheme/cursor_pack.h"
#include "scheme/mouse_registry.h"

#include <array>
#include <string>
#include <vector>

namespace scheme {

// A set by role, in MouseRegistry's order: a cursor file's path (as stored:
// environment strings are expanded), or "" for the system's pointer.
using PointerSet = std::array<std::wstring, kMouseRoleCount>;

// The names the set's files get in the pack, one per role ("" where the role
// has no file): each distinct file once, by its own name made fit for a
// setup file (no ',', '%', quote or device name), a clash with another
// file's name made unique as "name (2).cur".
PointerSet PackFileNames(const PointerSet& set);

// The install.inf text of a pack of `schemeName` whose files are `names`
// (PackFileNames), installed into `folderName` below the system's cursors.
std::wstring PackSetupText(const std::wstring& schemeName, const std::wstring& folderName, const PointerSet& names);

struct PackExportResult {
    PackProblem problem = PackProblem::None; // BadSchemeName, MissingFile, NotCopied
    std::wstring detail;
    std::wstring infPath; // the pack's install.inf when written
};

// Writes the set as the pack of `schemeName` into a new folder below
// `parent` named after the scheme (PackFolderName). A name no folder or
// setup file can take, a file of the set that is gone, or a folder of that
// name that holds anything already stops it; a failure leaves nothing behind.
PackExportResult ExportCursorPack(const std::wstring& parent, const std::wstring& schemeName, const PointerSet& set);

} // namespace scheme
