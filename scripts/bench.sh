#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine in a throwaway prefix.
# Usage: scripts/bench.sh [bench_name ...]   (default: every bench_* program)
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
export TK_WORK; TK_WORK=$(mktemp -d /tmp/tarimoku-bench.XXXXXX)
. "$root/scripts/wine-env.sh"
trap 'tk_env_down; rm -rf "$TK_WORK"' EXIT
tk_env_up
tk_prefix_init & TK_PREFIX_PID=$!
cmake -S "$root" -B "$build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/windows"
wait "$TK_PREFIX_PID"; TK_PREFIX_PID=""
tk_server_up "$build/windows/tests/tk_hold.exe"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for b in "$build"/windows/bench/bench_*.exe; do names+=("$(basename "$b" .exe)"); done
fi
for n in "${names[@]}"; do
  echo "== $n"
  wine "$build/windows/bench/$n.exe"
done
