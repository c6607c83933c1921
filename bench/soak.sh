#!/usr/bin/env bash
# Soak: several minutes of random user actions by real input in the program
# (navigate, expand and collapse, select, start and cancel a rename, open and
# close the role menu, F5) while another process changes files and folders in
# the folder in view; the program's GDI and USER object counts at the start
# and the end. Not part of the test suite.
# Usage: bench/soak.sh [seconds]   (default 300)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
"$root/scripts/deps.sh"
build=${TARIMOKU_BUILD:-$root/build}
export TK_WORK; TK_WORK=$(mktemp -d /tmp/tarimoku-soak.XXXXXX)
. "$root/scripts/wine-env.sh"
trap 'tk_env_down; rm -rf "$TK_WORK"' EXIT
tk_build_and_start tarimoku soak_driver soak_probe tk_hold
# The folder in view: a few cursor files (for the role menu and the
# previews), a few folders to open.
folder="$WINEPREFIX/drive_c/soak"
mkdir -p "$folder/one/two" "$folder/three"
# (Read whole, not through head: a find cut short ends with SIGPIPE, which
# pipefail would make the script's status.)
for kind in cur ani; do
  mapfile -t files < <(find "$root/tests/data/cursors" -name "*.$kind" | sort)
  cp "${files[@]:0:4}" "$folder/"
done
wine "$build/windows/bench/soak_driver.exe" "$(winepath -w "$build/windows/app/tarimoku.exe")" 'C:\soak' "$seconds"
