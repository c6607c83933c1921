#!/usr/bin/env bash
# Puts the pictures of the last end-to-end run in docs/ as the README's:
#   docs/main-window.png      the main window on a folder of cursors
#   docs/role-menu.png        the same window with the role menu open
#   docs/scheme-menu.png      the same window with the スキーム menu open
#   docs/main-window-144.png  the window on the same folder at 144 DPI (150 %)
# The end-to-end tests RoleMenuByHand and ProgramAt144Dpi take them while
# they check what they show; scripts/test.sh leaves them in $TARIMOKU_BUILD/artifacts with the
# hash of the tarimoku.exe they show. docs/pictures.txt keeps that hash and
# the hash of the menus and dialogs they were made from (--menus-hash);
# scripts/test.sh says when the program it tested is another one, and fails
# when the menus or dialogs changed since.
# Usage: scripts/test.sh --kinds windows -- -R 'RoleMenuByHand|ProgramAt144Dpi'
#        scripts/readme-pictures.sh
#        scripts/readme-pictures.sh --menus-hash   print the menus' hash only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The menus and dialogs the pictures show: the MENU and DIALOG parts of the
# resource script, and the texts of res/texts.h the program's own menus take
# (the roles of the role menu, the スキーム menu's items).
menus_hash() {
  { sed 's/\r$//' "$root/res/tarimoku.rc" |
      awk '/^[A-Za-z_0-9]+[ \t]+(MENU|MENUEX|DIALOG|DIALOGEX)([ \t]|$)/ { on = 1 } on { print } on && /^END/ { on = 0 }'
    grep -E '^inline constexpr wchar_t k?(Role[A-Za-z]*|Scheme[A-Za-z]*(Menu|Suffix))\[\]' "$root/res/texts.h"
  } | sha256sum | cut -d' ' -f1
}
if [ "${1:-}" = --menus-hash ]; then
  menus_hash
  exit 0
fi

build=${TARIMOKU_BUILD:-$root/build}
artifacts="$build/artifacts"
exe="$build/windows/app/tarimoku.exe"

fail() { echo "readme-pictures: $*" >&2; exit 1; }
command -v convert >/dev/null || fail "ImageMagick's convert is missing (scripts/deps.sh installs it)"
pictures=(main-window role-menu scheme-menu main-window-144)
for name in "${pictures[@]}"; do
  [ -f "$artifacts/$name.png" ] ||
    fail "no $artifacts/$name.png: run scripts/test.sh --kinds windows -- -R 'RoleMenuByHand|ProgramAt144Dpi' first"
done
[ -f "$artifacts/program.sha256" ] || fail "$artifacts/program.sha256 is missing: run the tests again"
shown=$(cat "$artifacts/program.sha256")
built=$(sha256sum "$exe" | cut -d' ' -f1)
[ "$shown" = "$built" ] || fail "the pictures show another build than $exe: run the tests again"

for name in "${pictures[@]}"; do
  # The screen less its empty border; no dates in the file, so the same
  # pixels make the same bytes.
  convert "$artifacts/$name.png" -trim +repage -strip -define png:exclude-chunks=date,time \
          "$root/docs/$name.png"
  echo "docs/$name.png  $(identify -format '%wx%h' "$root/docs/$name.png")"
done
menus=$(menus_hash)
cat >"$root/docs/pictures.txt" <<EOT
# The README's pictures, docs/main-window.png, docs/role-menu.png,
# docs/scheme-menu.png and docs/main-window-144.png, are the screen as the
# end-to-end tests RoleMenuByHand and ProgramAt144Dpi saw it while they
# checked the window, put here by scripts/readme-pictures.sh. They show the
# tarimoku.exe of the SHA-256 "program" (scripts/test.sh says when it tests
# another) and the menus and dialogs of the SHA-256 "menus"
# (scripts/readme-pictures.sh --menus-hash; scripts/test.sh fails when they
# changed and the pictures were not made again).
program $shown
menus $menus
EOT
echo "docs/pictures.txt  program $shown, menus $menus"
