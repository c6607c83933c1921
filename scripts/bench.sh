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
# The file list's bench wants a folder of 100,000 files: made here in a
# second, where Wine takes minutes (the names it would give them, empty).
many=$TK_WORK/many
mkdir -p "$many"
(cd "$many" && seq 0 99999 | awk '{ e[0]=".txt"; e[1]=".dat"; e[2]=".log"; e[3]=".ini"; e[4]=".bin";
  e[5]=".cfg"; e[6]=".csv"; e[7]=".xml"; e[8]=".md";
  if ($1 % 10 == 0) printf "cursor%06d.cur\n", $1; else printf "file%06d%s\n", $1, e[$1 % 9] }' | xargs touch)
export TARIMOKU_BENCH_MANY="Z:${many//\//\\}"
for n in "${names[@]}"; do
  echo "== $n"
  wine "$build/windows/bench/$n.exe"
done
