#!/usr/bin/env bash
# Fails when the code's layout drifts from .clang-format:
#   1. a program file (every .h/.cpp outside tests/ and bench/) that
#      clang-format would change, except the few listed below;
#   2. a line changed since the base (tests/ and bench/ included) that
#      clang-format would change, or that is wider than 120 columns.
# The base is $TARIMOKU_FORMAT_BASE when set; otherwise the merge-base with
# origin/main (or main) when the branch has commits of its own; otherwise
# HEAD~ (CI's fresh clone of main: the last commit). Uncommitted changes and
# new files count as changed.
# Fix what it finds with `git clang-format <base>` (changed lines) or
# `clang-format -i <file>`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cf=${CLANG_FORMAT:-clang-format-14}
command -v "$cf" >/dev/null || cf=clang-format
cf_diff=clang-format-diff-14
command -v "$cf_diff" >/dev/null || cf_diff=clang-format-diff
for tool in "$cf" "$cf_diff" python3; do
  command -v "$tool" >/dev/null || { echo "format: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
columns=120

# Files whose hand layout no option describes (trailing comments aligned in
# groups of their own, nested conditionals and short enums on one line, which
# clang-format breaks when it keeps the lines' own breaks, macros with their
# own backslash column, a requires clause, a blank last line). Their changed
# lines are checked all the same. A file that formats clean must leave the
# list, so that it only shrinks.
irregular=(
  anicur/dib_layout.cpp anicur/dib_layout.h anicur/frame_cell.h anicur/icon_dir.h
  app/previews/preview_steps.cpp
  res/version.h scheme/center_math.cpp
  shview/comboview/ComboView.cpp shview/comboview/ComboViewDraw.cpp shview/folderview/FolderView.cpp
  shview/fileview/file_order.cpp shview/fileview/file_order.h idlist/idlist.h shview/fileview/list_marks.h
  ui/control.cpp ui/control.h ui/handles.h
)

bad=0
is_irregular() {
  local f
  for f in "${irregular[@]}"; do [ "$f" = "$1" ] && return 0; done
  return 1
}

# 1. Whole program files.
whole=()
while IFS= read -r file; do
  is_irregular "$file" || whole+=("$file")
done < <(git ls-files -- '*.h' '*.cpp' | grep -v -E '^(tests|bench)/')
if ! "$cf" --dry-run --Werror "${whole[@]}" 2>"${TMPDIR:-/tmp}/tk-format.$$"; then
  grep -E 'error:' "${TMPDIR:-/tmp}/tk-format.$$" | sed 's/^/format: /' | head -n 40
  echo "format: program files differ from .clang-format (clang-format -i <file>)" >&2
  bad=1
fi
rm -f "${TMPDIR:-/tmp}/tk-format.$$"
for file in "${irregular[@]}"; do
  if [ ! -f "$file" ]; then
    echo "format: $file is gone: take it off the list in scripts/check-format.sh"; bad=1
  elif "$cf" --dry-run --Werror "$file" 2>/dev/null; then
    echo "format: $file now formats clean: take it off the list in scripts/check-format.sh"; bad=1
  fi
done

# 2. Lines changed since the base.
# shellcheck source=change-base.sh
. "$root/scripts/change-base.sh"
base=$(tk_change_base)
if [ -z "$base" ]; then
  echo "format: no base to compare with (a single commit): changed lines not checked"
else
  patch=$(git diff -U0 --no-color --no-ext-diff --diff-filter=AMR "$base" -- '*.h' '*.cpp')
  # New files not yet added count whole.
  while IFS= read -r file; do
    [ -n "$file" ] || continue
    patch+=$'\n'$(git diff -U0 --no-color --no-index /dev/null "$file" | sed "s|^+++ b/.*|+++ b/$file|" || true)
  done < <(git ls-files --others --exclude-standard -- '*.h' '*.cpp')
  fixes=$(printf '%s\n' "$patch" | "$cf_diff" -p1 -binary "$cf")
  if [ -n "$fixes" ]; then
    printf '%s\n' "$fixes" | head -n 80
    echo "format: lines changed since ${base:0:12} differ from .clang-format (git clang-format ${base:0:12})" >&2
    bad=1
  fi
  # Display columns, East Asian wide characters counting two.
  wide=$(printf '%s\n' "$patch" | python3 -c '
import re, sys, unicodedata
limit = int(sys.argv[1]); name = None; line = 0
for text in sys.stdin.read().split("\n"):
    if text.startswith("+++ "):
        name = text[6:] if text.startswith("+++ b/") else None
    elif text.startswith("@@"):
        line = int(re.match(r"@@ -\S+ \+(\d+)", text).group(1))
    elif text.startswith("+") and name:
        width = sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text[1:].expandtabs(4))
        if width > limit:
            print("format: %s:%d is %d columns wide (at most %d)" % (name, line, width, limit))
        line += 1
' "$columns")
  if [ -n "$wide" ]; then
    printf '%s\n' "$wide"; bad=1
  fi
fi

if [ "$bad" -ne 0 ]; then
  echo "The layout must be the one .clang-format describes (see its head)." >&2
  exit 1
fi
echo "format: program files and lines changed since ${base:0:12} are as .clang-format lays them out"
