#!/usr/bin/env bash
# Builds tarimoku.exe and starts it under Wine, in a prefix of its own kept in
# the build folder (created on first use). On the user's display when there is
# one; otherwise on a virtual display, where a screenshot is saved to
# build/screenshot.png after a few seconds and the program is closed again.
# Arguments are passed to the program (for example a folder to open).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build=${TARIMOKU_BUILD:-$root/build}
cmake -S "$root" -B "$build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/windows" --target tarimoku

export TK_WORK="$build/run"
mkdir -p "$TK_WORK"
. "$root/scripts/wine-env.sh"
headless=""
if [ -n "${DISPLAY:-}" ]; then TK_DISPLAY_KEEP=1; else headless=1; fi
trap 'tk_env_down' EXIT
tk_env_up
[ -f "$WINEPREFIX/system.reg" ] || { echo "Creating the Wine prefix (once)"; tk_prefix_init; }
exe="$build/windows/app/tarimoku.exe"
if [ -z "$headless" ]; then
  wine "$exe" "$@"
else
  wine "$exe" "$@" & pid=$!
  sleep "${TARIMOKU_SHOT_DELAY:-6}"
  import -window root "$build/screenshot.png" && echo "Screenshot: $build/screenshot.png"
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
fi
