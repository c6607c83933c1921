#!/usr/bin/env bash
# Builds everything and runs every test:
#   - the Windows build's tests under Wine (fresh prefix and HOME, Xvfb, ctest -j2)
#   - the window-free code's tests natively under ASan/UBSan
#   - a 30 s run of every fuzz target
# Options: --kinds windows,native,fuzz   which trees to build and test (default all)
#          --fuzz-seconds N              per fuzz target (default 30)
#          -- ARGS                       passed to both ctest runs (e.g. -R Scheme)
# TARIMOKU_BUILD sets the build folder (default ./build). The whole run sits
# under a time-out (TARIMOKU_TEST_TIMEOUT seconds, default 3000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${TK_UNDER_TIMEOUT:-}" ]; then
  export TK_UNDER_TIMEOUT=1
  exec timeout --kill-after=20 "${TARIMOKU_TEST_TIMEOUT:-3000}" "$0" "$@"
fi

kinds="windows,native,fuzz"; fuzz_seconds=30; ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --kinds) kinds=$2; shift 2;;
    --fuzz-seconds) fuzz_seconds=$2; shift 2;;
    --) shift; ctest_args=("$@"); break;;
    *) echo "test.sh: unknown option $1" >&2; exit 2;;
  esac
done
has() { [[ ",$kinds," == *",$1,"* ]]; }

# Includes must point down the layers; checked first, it takes a second.
"$root/scripts/check-layers.sh"
# The tests written since the batch began against the program lines written
# meanwhile, by the rule's own script beside the project (CI has it too).
if [ -f "$root/../shared/test-share.sh" ]; then
  (cd "$root" && bash "$root/../shared/test-share.sh")
fi
"$root/scripts/deps.sh"
# The layout .clang-format describes, in every program file and every line
# changed since the base (see the script).
"$root/scripts/check-format.sh"
# Every name in backticks in docs/ARCHITECTURE.md still names something.
"$root/scripts/check-doc-names.sh"
# Names on the changed lines follow the naming rule (with clang-tidy once the
# windows build's compile database is there: below, when it is configured).
has windows || "$root/scripts/check-names.sh"
# Compile through ccache when it is installed (takes effect when a build folder
# is first configured).
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
build=${TARIMOKU_BUILD:-$root/build}
mkdir -p "$build"
export TK_WORK; TK_WORK=$(mktemp -d /tmp/tarimoku-test.XXXXXX)
# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
cleanup() { local rc=$?; tk_env_down; rm -rf "$TK_WORK"; exit "$rc"; }
trap cleanup EXIT

status=0
if has windows; then
  tk_env_up
  tk_prefix_init & TK_PREFIX_PID=$!
  cmake -S "$root" -B "$build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
  TARIMOKU_BUILD=$build "$root/scripts/check-names.sh"
  cmake --build "$build/windows"
fi
if has native; then
  cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DTARIMOKU_KIND=native >/dev/null
  cmake --build "$build/native"
fi
if has fuzz; then
  CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build/fuzz" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DTARIMOKU_KIND=fuzz >/dev/null
  cmake --build "$build/fuzz"
fi

if has windows; then
  wait "$TK_PREFIX_PID"; TK_PREFIX_PID=""
  tk_server_up "$build/windows/tests/tk_hold.exe"
  # The end-to-end tests save screenshots here (a Windows path for Wine).
  mkdir -p "$TK_WORK/artifacts"
  export TK_ARTIFACTS="Z:${TK_WORK//\//\\}\\artifacts"
  echo "== Windows tests under Wine"
  (cd "$build/windows" && ctest -j2 --output-on-failure "${ctest_args[@]}") || status=1
  # The end-to-end tests leave their screenshots here, with the hash of the
  # program they show (no pictures of an earlier run stay beside them).
  rm -rf "$build/artifacts"
  if compgen -G "$TK_WORK/artifacts/*" >/dev/null; then
    mkdir -p "$build/artifacts"
    for f in "$TK_WORK"/artifacts/*; do
      case "$f" in
        *.bmp) convert "$f" "$build/artifacts/$(basename "${f%.bmp}").png" ;;
        *) cp "$f" "$build/artifacts/" ;;
      esac
    done
    shown=$(sha256sum "$build/windows/app/tarimoku.exe" | cut -d' ' -f1)
    echo "$shown" >"$build/artifacts/program.sha256"
    echo "Screenshots of the end-to-end tests: $build/artifacts"
    # The README's pictures come from this test (scripts/readme-pictures.sh).
    if [ -f "$build/artifacts/role-menu.png" ] &&
       [ "$(tail -n 1 "$root/docs/pictures.txt" 2>/dev/null)" != "$shown" ]; then
      echo "The README's pictures show another build of the program than this one;"
      echo "scripts/readme-pictures.sh puts these in docs/ (look at them first)."
    fi
  fi
fi
if has native; then
  echo "== Native tests (ASan/UBSan)"
  (cd "$build/native" && ctest -j2 --output-on-failure "${ctest_args[@]}") || status=1
fi
if has fuzz; then
  for target in "$build"/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="$TK_WORK/fuzz-$name"; mkdir -p "$corpus"
    # Every target starts from the real cursor files and its own seeds, if any.
    seeds=("$root/tests/data/cursors")
    [ -d "$root/tests/fuzz/seeds/${name#fuzz_}" ] && seeds+=("$root/tests/fuzz/seeds/${name#fuzz_}")
    echo "== Fuzzing $name for ${fuzz_seconds}s"
    if ! "$target" -max_total_time="$fuzz_seconds" -max_len=65536 -print_final_stats=0 \
         -artifact_prefix="$build/" "$corpus" "${seeds[@]}" \
         >"$TK_WORK/$name.log" 2>&1; then
      tail -n 40 "$TK_WORK/$name.log"; status=1
    else
      grep -E '^#[0-9]+.*DONE|^Done' "$TK_WORK/$name.log" | tail -n 1 || true
    fi
  done
fi
exit $status
