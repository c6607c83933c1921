#!/usr/bin/env bash
# Soak: several minutes of random user actions by real input in the program
# (navigate, expand and collapse, select, start and cancel a rename, open and
# close the role menu, F5) while another process changes files in the folder
# in view. Not part of the test suite.
# Usage: bench/soak.sh [seconds]   (default 300)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
"$root/scripts/deps.sh"
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
build=${TARIMOKU_BUILD:-$root/build}
export TK_WORK; TK_WORK=$(mktemp -d /tmp/tarimoku-soak.XXXXXX)
. "$root/scripts/wine-env.sh"
trap 'tk_env_down; rm -rf "$TK_WORK"' EXIT
tk_env_up
tk_prefix_init & TK_PREFIX_PID=$!
cmake -S "$root" -B "$build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/windows" --target tarimoku soak_driver tk_hold
wait "$TK_PREFIX_PID"; TK_PREFIX_PID=""
tk_server_up "$build/windows/tests/tk_hold.exe"
# The folder in view: a few cursor files (for the role menu and the
# previews), a few folders to open.
folder="$WINEPREFIX/drive_c/soak"
mkdir -p "$folder/one/two" "$folder/three"
find "$root/tests/data/cursors" -name '*.cur' | head -n 4 | while read -r f; do cp "$f" "$folder/"; done
find "$root/tests/data/cursors" -name '*.ani' | head -n 4 | while read -r f; do cp "$f" "$folder/"; done
wine "$build/windows/bench/soak_driver.exe" "$(winepath -w "$build/windows/app/tarimoku.exe")" 'C:\soak' "$seconds"
