// A cursor pack's setup file read as a plan for installing it for this
// user: the scheme its install section writes under
// HKCU\Control Panel\Cursors\Schemes, and the files the scheme's entries
// name, found among the files the section copies. Window-free: the files
// themselves are looked at by whoever carries the plan out.
#pragma once
#include "scheme/inf_reader.h"
#include "scheme/mouse_registry.h"

#include <cstddef>
#include <string>
#include <vector>

namespace scheme {

// What keeps a pack from being installed; `detail` of the plan names it.
enum class PackProblem {
    None,
    NoScheme,       // the install section writes no cursor scheme
    Malformed,      // a line the format does not allow: detail is its number
    MissingSection, // a section the install names is not there: detail is its name
    ClimbsOut,      // a file name that is absolute or leaves the pack's folder: detail is the name
    NotShipped,     // a scheme entry that names no file the pack copies: detail is the entry
    NameClash,      // two different files the scheme names go by one name: detail is the name
    BadSchemeName,  // the scheme's name gives no folder name: detail is the name
    // Found while the plan is carried out.
    Unreadable,  // the setup file cannot be read
    MissingFile, // a file to copy is not in the pack: detail is its name
    Unloadable,  // a cursor file of the pack that cannot be used: detail is its name
    FolderTaken, // another scheme's files lie in the pack's folder: detail is its name
    NotCopied,   // the files could not be put in place: detail is the file or folder
    NotStored,   // the scheme could not be written
    NotApplied,  // installed and stored, but the scheme could not be applied
    Kept,        // the user kept a scheme of that name the pack did not install
};

struct PackFile {
    std::wstring source; // relative to the folder of the setup file
    std::wstring name;   // the file's name once installed
};

struct PackPlan {
    PackProblem problem = PackProblem::None;
    std::wstring detail;
    std::wstring schemeName;
    std::wstring folderName; // the scheme's own folder among the installed packs
    // The files the scheme names, each once, in the order of its entries.
    std::vector<PackFile> files;
    // The scheme's entries in role order (at most kMouseRoleCount; the
    // system reads no further): a name of `files`, or "".
    std::vector<std::wstring> entries;
};

// The install section ([DefaultInstall], or its .NTamd64 or .NT form) of a
// setup file; null when it has none.
const InfSection* FindInstallSection(const InfFile& inf) noexcept;

// Whether the install section writes a cursor scheme (however well): the
// program offers to install such a file.
bool WritesCursorScheme(const InfFile& inf);

// The plan for installing a pack, or the first problem found.
PackPlan MakePackPlan(const InfFile& inf);

// A folder name for a scheme name: characters no file name may hold (and
// the scheme text's ',') become '_', blanks and dots go from the ends, and
// a device name (CON, NUL, COM1, ...) gets a leading '_'; "" when nothing is
// left.
std::wstring PackFolderName(std::wstring_view schemeName);

} // namespace scheme
