#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine in a throwaway prefix.
# Usage: scripts/bench.sh [bench_name ...]   (default: every bench_* program)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build=${TARIMOKU_BUILD:-$root/build}
export TK_WORK; TK_WORK=$(mktemp -d /tmp/tarimoku-bench.XXXXXX)
. "$root/scripts/wine-env.sh"
trap 'tk_env_down; rm -rf "$TK_WORK"' EXIT
tk_build_and_start
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for b in "$build"/windows/bench/bench_*.exe; do names+=("$(basename "$b" .exe)"); done
fi
for n in "${names[@]}"; do
  echo "== $n"
  wine "$build/windows/bench/$n.exe"
done
