// Installing a cursor pack for this user only, in place of the system's
// install (which writes into the Windows folder and needs an administrator):
// the files the pack's scheme names are copied into a folder of the
// program's below the user's local application data, the scheme is written
// under HKCU\Control Panel\Cursors\Schemes with paths into that folder, and
// applied.
#pragma once
#include "scheme/cursor_pack.h"
#include "scheme/cursor_scheme.h"
#include "scheme/named_schemes.h"

#include <functional>
#include <string>

namespace scheme {

// The folder the installed packs live in, one folder each (PackFolderName of
// the scheme's name), as the stored schemes name it: expandable text, so
// that the scheme still holds when the user's profile moves.
inline constexpr wchar_t kPackRoot[] = L"%LOCALAPPDATA%\\Tarimoku\\Cursors";
// Where a pack's files are gathered before they go into place, and where
// the files of a pack installed again wait until the new ones are in.
inline constexpr wchar_t kPackStaging[] = L"%LOCALAPPDATA%\\Tarimoku\\Staging";

// Applies the scheme of that name, whose stored text is `text`; answers
// whether it was applied.
using SchemeApplier = std::function<bool(const std::wstring& name, const std::wstring& text)>;

// Asked before a pack replaces the user's scheme `name` that installing it
// would not make again (another pack's, the user's own, or the pack's with
// other files); answers whether it may.
using ReplaceQuestion = std::function<bool(const std::wstring& name)>;

struct PackInstallResult {
    PackProblem problem = PackProblem::None;
    std::wstring detail;
    std::wstring schemeName;
};

// The plan for installing the pack whose setup file is `infPath`
// (Unreadable when it cannot be read): PackRoles of it is what an install
// gives each role, the sources below the setup file's folder.
PackPlan ReadPackPlan(const std::wstring& infPath);

// Whether the file at `path` is an .inf whose install section writes a
// cursor scheme, told from its first few KB (one read, even on a slow
// share): one too large to install is offered all the same, and its install
// says why it cannot be.
bool IsCursorPackFile(const std::wstring& path);

// Installs the pack whose setup file is `infPath`, every file checked by
// `readable` first; a file reached through a link that leads out of the
// pack's folder is refused (ClimbsOut). A pack refused for any reason up to
// the scheme's writing leaves nothing behind: no folder, no scheme, and a
// pack installed before under the same name stays as it was. The same pack
// installed again replaces its files and its scheme in place; any other
// scheme of the pack's name (whoever made it) is replaced only when
// `mayReplace` agrees (Kept otherwise, nothing written). What a killed
// install left in kPackStaging is cleared first. Then `apply` is asked to
// apply the scheme (NotApplied when it cannot; the scheme stays installed).
PackInstallResult InstallCursorPack(const std::wstring& infPath, const CursorFileCheck& readable,
                                    const ReplaceQuestion& mayReplace, const SchemeApplier& apply);

// The installed pack's folder (its name below kPackRoot) that the user's
// scheme `name` alone uses: every file the scheme names lies there and no
// other scheme of the user's names a file there; "" for any other scheme.
std::wstring OwnPackFolder(const std::wstring& name);

// Removes the installed pack's folder `folderName` and its files; the roles
// in use that name one of them go back to the system's pointers first.
// False when something stays, or nothing is removed because one of the
// user's schemes names a file there. Throws ERegistryError when a role cannot be
// written.
bool RemovePackFolder(const std::wstring& folderName);

// The scheme text stored for a plan: every role's entry in role order, each
// a path below kPackRoot or empty, separated by commas; "" when a name
// cannot stand in a scheme text.
std::wstring PackSchemeText(const PackPlan& plan);

} // namespace scheme
