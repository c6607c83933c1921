// A cursor pack's setup file read as a plan for installing it for this
// user: the scheme its install section writes under
// HKCU\Control Panel\Cursors\Schemes, the file each role gets, and those
// files found among the files the section copies. Window-free: the files
// themselves are looked at by whoever carries the plan out.
//
// Which file a role gets: the pack's own line for the role's value under
// HKCU\Control Panel\Cursors decides where it has one (the last one, as
// the registry keeps it); otherwise the scheme list's entry at the role's
// position. Authors often write the list out of the system's order, with
// more entries than roles or role lines for some roles only; the scheme the
// program stores is written in the system's order from this decision, so
// applying it later gives exactly what the install gave.
#pragma once
#include "scheme/inf_reader.h"
#include "scheme/mouse_registry.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace scheme {

// What keeps a pack from being installed; `detail` of the plan names it.
enum class PackProblem {
    None,
    NoScheme,       // the install section writes no cursor scheme
    Malformed,      // a line the format does not allow: detail is its number
    MissingSection, // a section the install or the scheme needs is not there: detail is its name
    ClimbsOut,      // a file name that is absolute or leaves the pack's folder: detail is the name
    BadFileName,    // a name no file may have (a device's, a wild card): detail is the name
    NotShipped,     // a scheme entry that names no file the pack copies: detail is the entry
    NameClash,      // two different files the scheme names go by one name: detail is the name
    BadSchemeName,  // the scheme's name gives no folder name: detail is the name
    // Found while the plan is carried out.
    Unreadable,  // the setup file cannot be read
    TooLarge,    // the setup file is larger than any pack's: detail is the limit in KB
    MissingFile, // a file to copy is not in the pack: detail is its name
    Unloadable,  // a cursor file of the pack that cannot be used: detail is its name
    FolderTaken, // another scheme's files lie in the pack's folder: detail is its name
    NotCopied,   // the files could not be put in place: detail is the file or folder
    NotStored,   // the scheme could not be written
    NotApplied,  // installed and stored, but the scheme could not be applied
    Kept,        // the user kept a scheme of that name the pack did not install
};

// What decided a role's file.
enum class RoleOrigin {
    None,       // neither a role line nor the scheme list: the system's pointer
    RoleLine,   // the pack's line for the role's value
    SchemeList, // the scheme list's entry at the role's position
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
    // The files the roles get, each once, in role order.
    std::vector<PackFile> files;
    // Every role's file in role order (kMouseRoleCount of them): a name of
    // `files`, or "" for the system's pointer.
    std::vector<std::wstring> entries;
    std::array<RoleOrigin, kMouseRoleCount> origins{};
};

// One role's file as the plan decided it: where it lies in the pack, its
// name once installed ("" for the system's pointer) and what decided it.
struct PackRole {
    std::wstring source;
    std::wstring name;
    RoleOrigin origin = RoleOrigin::None;
};

// The role -> file decision of a plan, in role order (e.g. to show the set
// before it is installed); every role the system's pointer for a refused plan.
std::array<PackRole, kMouseRoleCount> PackRoles(const PackPlan& plan);

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
// a device name gets a leading '_'; "" when nothing is left.
std::wstring PackFolderName(std::wstring_view schemeName);

// Whether the system takes a file name (one part of a path) for a device:
// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9 and LPT1-9 (also with the
// superscript digits 1-3), in any case, whatever follows a '.' and with
// blanks before it.
bool IsDeviceName(std::wstring_view name) noexcept;

} // namespace scheme
