#!/usr/bin/env bash
# Builds tarimoku.exe and starts it under Wine, in a prefix of its own kept in
# the build folder (created on first use). On the user's display when there is
# one; otherwise on a virtual display, where a screenshot is saved to
# build/screenshot.png after a few seconds and the program is closed again.
# Arguments are passed to the program (for example a folder to open).
# The prefix holds a folder of sample cursors, C:\Cursors (from tests/data);
# on a virtual display without arguments the program opens it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
# Compile through ccache when it is installed (takes effect when a build folder
# is first configured).
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
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
# Sample cursors, animated and static, from the test data.
samples="$WINEPREFIX/drive_c/Cursors"
if [ ! -d "$samples" ]; then
  mkdir -p "$samples"
  corpus="$root/tests/data/cursors"
  cp "$corpus"/capitaine/master/* "$corpus"/catppuccin/catppuccin-mocha-dark-cursors/*.ani \
     "$corpus"/jfhbrook-icons/Link.ani "$corpus"/webamp/fixtures/piano.ani "$samples/"
  cp "$corpus"/reconstruct/wait.ani "$samples/hourglass.ani"
fi
args=("$@")
if [ -n "$headless" ] && [ ${#args[@]} -eq 0 ]; then args=('C:\Cursors'); fi
exe="$build/windows/app/tarimoku.exe"
if [ -z "$headless" ]; then
  wine "$exe" "${args[@]}"
else
  wine "$exe" "${args[@]}" & pid=$!
  sleep "${TARIMOKU_SHOT_DELAY:-6}"
  import -window root "$build/screenshot.png" && echo "Screenshot: $build/screenshot.png"
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
fi
