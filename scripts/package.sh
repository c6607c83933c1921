#!/usr/bin/env bash
# Makes the release files from a clean build of the current sources:
#   <out>/tarimoku-<version>-setup.exe     per-user installer
#   <out>/tarimoku-<version>-portable.zip  the program and a read-me
# The version is the one in res/version.h. The build goes to
# $TARIMOKU_BUILD/package (default ./build/package, made afresh each time);
# <out> is $TARIMOKU_BUILD/dist unless given as the first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARIMOKU_BUILD:-$root/build}
out=${1:-$build/dist}

# Installs what is missing, NSIS (makensis) among it.
"$root/scripts/deps.sh"

tree="$build/package"
rm -rf "$tree"
cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$tree" --target tarimoku_package

mkdir -p "$out"
for f in "$tree"/dist/tarimoku-*-setup.exe "$tree"/dist/tarimoku-*-portable.zip; do
  cp "$f" "$out/"
  echo "$out/$(basename "$f")  $(sha256sum "$f" | cut -d' ' -f1)"
done
