// Named cursor schemes, where the system's mouse settings keep them: the
// user's under HKEY_CURRENT_USER\Control Panel\Cursors\Schemes, the system's
// under HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Control
// Panel\Cursors\Schemes; one expandable text per scheme (scheme_text.h).
// The scheme in use is named by the unnamed value of the per-user scheme's
// key, and "Scheme Source" says where it came from.
#pragma once
#include "scheme/cursor_scheme.h"
#include "scheme/scheme_text.h"

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace scheme {

// Where a scheme lives; the numbers are the stored "Scheme Source".
enum class SchemeSource : DWORD {
    None = 0,   // no named scheme: the roles were set one by one
    User = 1,   // the user's own
    System = 2, // the system's
};

inline constexpr wchar_t kUserSchemesKey[] = L"Control Panel\\Cursors\\Schemes";
inline constexpr wchar_t kSystemSchemesKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\Schemes";
inline constexpr wchar_t kSchemeSourceValue[] = L"Scheme Source";

// The names of one source's schemes, in the system's order of names
// (letter case ignored). None for SchemeSource::None.
std::vector<std::wstring> SchemeNames(SchemeSource source);

// A scheme's roles as stored (environment strings unexpanded); nothing when
// the source holds no scheme of that name.
std::optional<SchemePaths> ReadNamedScheme(const std::wstring& name, SchemeSource source);

// The scheme in use as the registry names it; {"", None} when none is.
struct CurrentScheme {
    std::wstring name;
    SchemeSource source = SchemeSource::None;
};
CurrentScheme ReadCurrentScheme();

// Stores `paths` as the user's scheme `name`, replacing one of that name, and
// names it the scheme in use (the roles are what it holds). Answers the paths
// that a scheme text cannot hold (a comma, a quote...): then nothing is
// written. Throws ERegistryError when the scheme cannot be written.
std::vector<std::wstring> SaveScheme(const std::wstring& name, const SchemePaths& paths);

// Names no scheme as the one in use (the name empty, "Scheme Source" 0), as
// the system's mouse settings do once a role is changed by hand: the roles
// are then the user's own. False when that could not be written.
bool ForgetCurrentScheme() noexcept;

// Deletes the user's scheme `name`; when it was the scheme in use, no scheme
// is named any more (the roles stay). False when there was none to delete.
bool DeleteScheme(const std::wstring& name);

enum class SchemeApply {
    Applied,             // written and reloaded: in effect now
    StoredForNextSignIn, // written, but the system did not reload its cursors
    NotFound,            // no such scheme: nothing written
    Unloadable,          // a file cannot be loaded: nothing written
};
struct SchemeApplyResult {
    SchemeApply outcome = SchemeApply::NotFound;
    // With Unloadable: every file that cannot be loaded, as expanded, once.
    std::vector<std::wstring> unloadable;
};

// Makes the scheme `name` of `source` the user's cursors, all or nothing.
// Every file it names is checked first: it must exist, `readable` must admit
// it (the main window passes anicur::IsWholeCursorFile; no check refuses
// every file) and, on the NT family, the system must load it (the cursor
// seams of ui/seams.h). If any fails, nothing is written and the result
// names them. Otherwise every role is written (an empty entry empties it;
// REG_EXPAND_SZ where it holds an environment string), then the scheme's name
// and source, and the system reloads its cursors once (SPI_SETCURSORS through
// the seams). Throws ERegistryError when the scheme cannot be written; the
// roles written so far are put back first.
SchemeApplyResult ApplyScheme(const std::wstring& name, SchemeSource source, const CursorFileCheck& readable);

} // namespace scheme
