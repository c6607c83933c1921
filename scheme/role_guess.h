// The role a cursor file's name suggests: packs name their files after the
// roles ("Normal Select.cur", "size_nwse.cur", "aero_busy.ani", "ヘルプ.cur"),
// so a folder of cursors can be turned into a set without asking the user
// for each role. Window-free.
#pragma once
#include "scheme/mouse_registry.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scheme {

// The role (a row of MouseRegistry) that the name of the file at `path`
// suggests (only the last part of the path counts, its extension left
// out), or nothing when the name suggests none.
std::optional<std::size_t> GuessRole(std::wstring_view path);

// One role of a set made from a folder.
struct RoleGuess {
    std::wstring file;    // as given to GuessSet; "" when no file suggests the role
    bool guessed = false; // the file was chosen for its name
};
using GuessedSet = std::array<RoleGuess, kMouseRoleCount>;

// A set from a folder's file names (or paths): every cursor file (.cur,
// .ani) whose name suggests a role, at most one file per role and one role
// per file. Where several names suggest the same role, the one that says
// least besides it wins ("arrow.cur" before "arrow_large.cur"), then the
// first by name.
GuessedSet GuessSet(const std::vector<std::wstring>& paths);

} // namespace scheme
